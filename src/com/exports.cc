// The in-process server's entry points.
#include <olectl.h>
#include <windows.h>

#include <cwctype>
#include <string>

#include "class_factory.h"
#include "lastora_h.h"
#include "registration.h"
#include "server.h"

using lastora::com::Scope;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    lastora::com::SetThisModule(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_Class1)) return CLASS_E_CLASSNOTAVAILABLE;
  return lastora::com::TheClassFactory().QueryInterface(iid, object);
}

STDAPI DllCanUnloadNow() { return lastora::com::CanUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return lastora::com::Register(Scope::kMachine); }

STDAPI DllUnregisterServer() { return lastora::com::Unregister(Scope::kMachine); }

// regsvr32 /n /i:user registers for the current user only; any other command line for the machine.
STDAPI DllInstall(BOOL install, LPCWSTR command_line) {
  std::wstring scope = command_line != nullptr ? command_line : L"";
  for (wchar_t& c : scope) c = static_cast<wchar_t>(std::towlower(c));
  const Scope where = scope == L"user" ? Scope::kUser : Scope::kMachine;
  return install ? lastora::com::Register(where) : lastora::com::Unregister(where);
}
