#include <windows.h>

#include "lastora/variant.h"
#include "platform/win32/win32_adapters.h"

namespace lastora {

double Win32Clock::Now() {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  return MakeDate(local.wYear, local.wMonth, local.wDay) +
         MakeTime(local.wHour, local.wMinute, local.wSecond);
}

}  // namespace lastora
