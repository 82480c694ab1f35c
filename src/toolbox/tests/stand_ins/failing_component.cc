// A component whose registration fails at once and which cannot be unregistered at all.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() { return E_FAIL; }
