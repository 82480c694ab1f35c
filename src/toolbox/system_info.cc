#include "system_info.h"

#include <wbemidl.h>
#include <windows.h>
#include <wrl/client.h>

#include <cwctype>
#include <vector>

namespace lastora::toolbox {
namespace {

using Microsoft::WRL::ComPtr;

std::wstring Lowered(std::wstring_view text) {
  std::wstring result(text);
  for (wchar_t& c : result) c = static_cast<wchar_t>(std::towlower(c));
  return result;
}

// Owns a BSTR so that early returns cannot leak it.
class Bstr {
 public:
  explicit Bstr(const wchar_t* text) : value_(SysAllocString(text)) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  operator BSTR() const { return value_; }

 private:
  BSTR value_;
};

// Reads "SystemType" of every object the query returns; an unreadable one is recorded as
// nullopt and ends the walk.
std::vector<std::optional<std::wstring>> QuerySystemTypes() {
  std::vector<std::optional<std::wstring>> types;
  ComPtr<IWbemLocator> locator;
  if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&locator)))) {
    return types;
  }
  ComPtr<IWbemServices> services;
  if (FAILED(locator->ConnectServer(Bstr(L"ROOT\\CIMV2"), nullptr, nullptr, nullptr, 0, nullptr,
                                    nullptr, &services))) {
    return types;
  }
  CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                    RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
  ComPtr<IEnumWbemClassObject> objects;
  if (FAILED(services->ExecQuery(Bstr(L"WQL"), Bstr(L"SELECT * FROM Win32_ComputerSystem"),
                                 WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                 &objects))) {
    return types;
  }
  for (;;) {
    ComPtr<IWbemClassObject> object;
    ULONG returned = 0;
    if (objects->Next(WBEM_INFINITE, 1, &object, &returned) != WBEM_S_NO_ERROR || returned == 0) {
      return types;
    }
    VARIANT value;
    VariantInit(&value);
    const bool readable = SUCCEEDED(object->Get(L"SystemType", 0, &value, nullptr, nullptr)) &&
                          value.vt == VT_BSTR && value.bstrVal != nullptr;
    types.push_back(readable ? std::optional<std::wstring>(value.bstrVal) : std::nullopt);
    VariantClear(&value);
    if (!readable) return types;
  }
}

}  // namespace

std::wstring WinSysDir() {
  // Ask for the length first: a fixed buffer would cut a long system folder short.
  for (UINT size = GetSystemDirectoryW(nullptr, 0); size > 0;) {
    std::wstring folder(size, L'\0');
    const UINT written = GetSystemDirectoryW(folder.data(), size);
    if (written < size) {  // Fits (or failed with 0, giving an empty text).
      folder.resize(written);
      return folder;
    }
    size = written;  // The folder grew between the two calls.
  }
  return {};
}

bool PathExists(std::wstring_view path) {
  if (path.empty()) return false;
  return GetFileAttributesW(std::wstring(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SystemTypeIs64Bit(std::wstring_view system_type) {
  const std::wstring lowered = Lowered(system_type);
  return lowered.find(L"64-bit") != std::wstring::npos ||
         lowered.find(L"x64") != std::wstring::npos;
}

bool Is64BitFromSystemTypes(std::span<const std::optional<std::wstring>> system_types) {
  bool result = false;
  for (const auto& type : system_types) {
    if (!type) break;
    result = SystemTypeIs64Bit(*type);
  }
  return result;
}

bool Is64BitWin() { return Is64BitFromSystemTypes(QuerySystemTypes()); }

}  // namespace lastora::toolbox
