// A component whose registration takes far longer than the toolbox waits.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
  Sleep(10000);
  return S_OK;
}
