#include "server.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <atomic>
#include <mutex>

#include "lastora_h.h"

namespace lastora::com {
namespace {

std::atomic<long> objects{0};
std::atomic<long> locks{0};
HMODULE module_handle = nullptr;

}  // namespace

void SetThisModule(HMODULE module) { module_handle = module; }

void ObjectCreated() { ++objects; }
void ObjectDestroyed() { --objects; }
void LockServer(bool lock) { lock ? ++locks : --locks; }
bool CanUnload() { return objects == 0 && locks == 0; }

HMODULE ThisModule() { return module_handle; }

std::wstring ThisModulePath() {
  std::wstring path(32768, L'\0');
  const DWORD length =
      GetModuleFileNameW(module_handle, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length < path.size() ? length : 0);
  return path;
}

ITypeLib* TypeLibrary() {
  // Kept for the life of the process: the type information is read on every call.
  static Microsoft::WRL::ComPtr<ITypeLib> library;
  static std::once_flag loaded;
  std::call_once(loaded, [] {
    LoadTypeLibEx(ThisModulePath().c_str(), REGKIND_NONE, library.GetAddressOf());
  });
  return library.Get();
}

ITypeInfo* Class1TypeInfo() {
  static Microsoft::WRL::ComPtr<ITypeInfo> info;
  static std::once_flag loaded;
  std::call_once(loaded, [] {
    if (ITypeLib* library = TypeLibrary()) {
      library->GetTypeInfoOfGuid(IID__Class1, info.GetAddressOf());
    }
  });
  return info.Get();
}

}  // namespace lastora::com
