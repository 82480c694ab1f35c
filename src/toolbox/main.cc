#include <windows.h>

#include "com_apartment.h"
#include "dll_location.h"
#include "form1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  const lastora::toolbox::ComApartment apartment;
  auto form =
      lastora::toolbox::Form1::Create(instance, lastora::toolbox::GetAppPath(), show_command);
  if (form == nullptr) return 1;
  return lastora::toolbox::RunForm1(*form);
}
