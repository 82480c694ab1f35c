#include "registration.h"

#include <oleauto.h>
#include <olectl.h>
#include <wrl/client.h>

#include <string>

#include "lastora_h.h"
#include "server.h"

// In the system's import library, but missing from MinGW's headers.
extern "C" {
HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* help_folder);
HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID library, WORD major, WORD minor, LCID locale,
                                        SYSKIND kind);
}

namespace lastora::com {
namespace {

constexpr wchar_t kProgId[] = L"Lastora.Class1";
constexpr wchar_t kVersionedProgId[] = L"Lastora.Class1.1";
constexpr wchar_t kDescription[] = L"Lastora.Class1";

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

// An open registry key that closes itself.
class Key {
 public:
  Key(HKEY parent, const std::wstring& path) {
    result_ = RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                              nullptr, &key_, nullptr);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (result_ == ERROR_SUCCESS) RegCloseKey(key_);
  }
  // An empty name sets the key's default value.
  LONG Set(const wchar_t* name, const std::wstring& value) {
    if (result_ != ERROR_SUCCESS) return result_;
    return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }

 private:
  HKEY key_ = nullptr;
  LONG result_ = ERROR_SUCCESS;
};

struct Entry {
  std::wstring path;
  const wchar_t* name;
  std::wstring value;
};

std::wstring ClassKey() { return L"CLSID\\" + GuidText(CLSID_Class1); }

HKEY ClassesRoot(Scope scope, HKEY* opened) {
  const HKEY base = scope == Scope::kUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  if (RegCreateKeyExW(base, L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, opened, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return *opened;
}

HRESULT FromRegistry(LONG result) {
  return result == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(result));
}

SYSKIND ThisSysKind() { return sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32; }

}  // namespace

HRESULT Register(Scope scope) {
  const std::wstring module_path = ThisModulePath();
  if (module_path.empty()) return SELFREG_E_CLASS;
  Microsoft::WRL::ComPtr<ITypeLib> library;
  if (FAILED(LoadTypeLibEx(module_path.c_str(), REGKIND_NONE, library.GetAddressOf()))) {
    return SELFREG_E_TYPELIB;
  }
  HKEY root = nullptr;
  if (ClassesRoot(scope, &root) == nullptr) return SELFREG_E_CLASS;
  const std::wstring clsid = GuidText(CLSID_Class1);
  const Entry entries[] = {
      {ClassKey(), L"", kDescription},
      {ClassKey() + L"\\InprocServer32", L"", module_path},
      {ClassKey() + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {ClassKey() + L"\\ProgID", L"", kVersionedProgId},
      {ClassKey() + L"\\VersionIndependentProgID", L"", kProgId},
      {ClassKey() + L"\\TypeLib", L"", GuidText(LIBID_Lastora)},
      {ClassKey() + L"\\Version", L"", L"1.0"},
      {kProgId, L"", kDescription},
      {std::wstring(kProgId) + L"\\CLSID", L"", clsid},
      {std::wstring(kProgId) + L"\\CurVer", L"", kVersionedProgId},
      {kVersionedProgId, L"", kDescription},
      {std::wstring(kVersionedProgId) + L"\\CLSID", L"", clsid},
  };
  LONG result = ERROR_SUCCESS;
  for (const Entry& entry : entries) {
    if (result == ERROR_SUCCESS) result = Key(root, entry.path).Set(entry.name, entry.value);
  }
  RegCloseKey(root);
  if (result != ERROR_SUCCESS) {
    Unregister(scope);
    return FromRegistry(result);
  }
  const HRESULT typelib =
      scope == Scope::kUser
          ? RegisterTypeLibForUser(library.Get(), const_cast<LPOLESTR>(module_path.c_str()),
                                   nullptr)
          : RegisterTypeLib(library.Get(), const_cast<LPOLESTR>(module_path.c_str()), nullptr);
  if (FAILED(typelib)) {
    Unregister(scope);
    return SELFREG_E_TYPELIB;
  }
  return S_OK;
}

HRESULT Unregister(Scope scope) {
  HKEY root = nullptr;
  if (ClassesRoot(scope, &root) == nullptr) return SELFREG_E_CLASS;
  LONG failed = ERROR_SUCCESS;
  for (const std::wstring& path :
       {ClassKey(), std::wstring(kProgId), std::wstring(kVersionedProgId)}) {
    const LONG result = RegDeleteTreeW(root, path.c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) failed = result;
    RegDeleteKeyW(root, path.c_str());
  }
  RegCloseKey(root);
  const HRESULT typelib =
      scope == Scope::kUser
          ? UnRegisterTypeLibForUser(LIBID_Lastora, 1, 0, LOCALE_NEUTRAL, ThisSysKind())
          : UnRegisterTypeLib(LIBID_Lastora, 1, 0, LOCALE_NEUTRAL, ThisSysKind());
  // A type library that was never registered is not a failure of the removal.
  if (FAILED(typelib) && typelib != TYPE_E_REGISTRYACCESS && typelib != TYPE_E_LIBNOTREGISTERED) {
    return SELFREG_E_TYPELIB;
  }
  return FromRegistry(failed);
}

}  // namespace lastora::com
