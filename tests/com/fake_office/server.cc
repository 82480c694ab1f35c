// The DLL's entry points: one class factory per program, registered under the programs' ProgIDs.
#include <olectl.h>

#include <string>

#include "dispatch_object.h"
#include "fake_office.h"

namespace fake_office {
namespace {

HMODULE module_handle = nullptr;

struct Program {
  const wchar_t* prog_id;
  const wchar_t* clsid;
  Object* (*make)();
};

const Program kPrograms[] = {{L"Word.Application", FAKE_OFFICE_WORD_CLSID, NewWord},
                             {L"Excel.Application", FAKE_OFFICE_EXCEL_CLSID, NewExcel}};

class Factory final : public Counted<IClassFactory> {
 public:
  explicit Factory(const Program& program) : Counted(IID_IClassFactory), program_(program) {}
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    Object* program = program_.make();
    const HRESULT outcome = program->QueryInterface(iid, out);
    program->Release();
    return outcome;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  const Program& program_;
};

LONG SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY opened = nullptr;
  LONG result = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                &opened, nullptr);
  if (result != ERROR_SUCCESS) return result;
  result = RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(opened);
  return result;
}

}  // namespace
}  // namespace fake_office

using fake_office::kPrograms;
using fake_office::SetValue;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) fake_office::module_handle = instance;
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  *out = nullptr;
  for (const auto& program : kPrograms) {
    CLSID id{};
    CLSIDFromString(program.clsid, &id);
    if (id != clsid) continue;
    auto* factory = new fake_office::Factory(program);
    const HRESULT outcome = factory->QueryInterface(iid, out);
    factory->Release();
    return outcome;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return fake_office::live_objects == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(fake_office::module_handle, path, MAX_PATH);
  for (const auto& program : kPrograms) {
    const std::wstring key = std::wstring(L"CLSID\\") + program.clsid;
    if (SetValue(key, nullptr, program.prog_id) != ERROR_SUCCESS ||
        SetValue(key + L"\\InprocServer32", nullptr, path) != ERROR_SUCCESS ||
        SetValue(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment") != ERROR_SUCCESS ||
        SetValue(key + L"\\ProgID", nullptr, program.prog_id) != ERROR_SUCCESS ||
        SetValue(std::wstring(program.prog_id) + L"\\CLSID", nullptr, program.clsid) !=
            ERROR_SUCCESS) {
      return SELFREG_E_CLASS;
    }
  }
  return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  for (const auto& program : kPrograms) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + program.clsid).c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, program.prog_id);
  }
  return S_OK;
}

extern "C" long __stdcall FakeOfficeLiveObjects() { return fake_office::live_objects; }
