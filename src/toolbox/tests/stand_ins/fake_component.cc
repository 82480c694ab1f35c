// A component that registers and serves an object under the class identifier of the real
// Class1, so the toolbox's whole cycle can be checked without the real component.
#include <objbase.h>
#include <olectl.h>
#include <windows.h>

#include <string>

#include "counted.h"
#include "registration_check.h"

namespace {

HMODULE self = nullptr;
constexpr wchar_t kClassKey[] = L"CLSID\\{9931F5E8-19F7-4985-B588-C12146DD8061}";

// A class factory that is also its own product: the registration check asks the instance for
// nothing but its identity.
class Factory final : public fake_office::Counted<IClassFactory> {
 public:
  Factory() : Counted(IID_IClassFactory) {}
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    Factory* object = new Factory;
    const HRESULT result = object->QueryInterface(iid, out);
    object->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

LSTATUS SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
  HKEY server = nullptr;
  const std::wstring key = std::wstring(kClassKey) + L"\\InprocServer32";
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &server,
                      nullptr) != ERROR_SUCCESS) {
    return SELFREG_E_CLASS;
  }
  const bool written = SetText(server, nullptr, std::wstring(path, length)) == ERROR_SUCCESS &&
                       SetText(server, L"ThreadingModel", L"Apartment") == ERROR_SUCCESS;
  RegCloseKey(server);
  return written ? S_OK : SELFREG_E_CLASS;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() {
  const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID class_id, REFIID iid, void** out) {
  *out = nullptr;
  if (class_id != lastora::toolbox::kClass1Clsid) return CLASS_E_CLASSNOTAVAILABLE;
  Factory* factory = new Factory;
  const HRESULT result = factory->QueryInterface(iid, out);
  factory->Release();
  return result;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }
