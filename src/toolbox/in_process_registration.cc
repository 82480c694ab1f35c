#include "in_process_registration.h"

#include <memory>

namespace lastora::toolbox {
namespace {

using EntryPoint = HRESULT(STDAPICALLTYPE*)();

// One reference to a loaded library, given back when it goes out of scope.
class LibraryReference {
 public:
  explicit LibraryReference(HMODULE module) : module_(module) {}
  ~LibraryReference() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  LibraryReference(const LibraryReference&) = delete;
  LibraryReference& operator=(const LibraryReference&) = delete;
  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

class HandleCloser {
 public:
  explicit HandleCloser(HANDLE handle) : handle_(handle) {}
  ~HandleCloser() { CloseHandle(handle_); }
  HandleCloser(const HandleCloser&) = delete;
  HandleCloser& operator=(const HandleCloser&) = delete;

 private:
  HANDLE handle_;
};

// What the worker needs and leaves behind. The worker owns one reference to the library, so
// an abandoned worker never runs in an unloaded library.
struct Job {
  Job(EntryPoint entry, HMODULE pinned) : entry(entry), library(pinned) {}
  EntryPoint entry;
  LibraryReference library;
  HRESULT result = E_FAIL;
};

DWORD WINAPI RunJob(void* parameter) {
  const std::shared_ptr<Job> job(std::move(*static_cast<std::shared_ptr<Job>*>(parameter)));
  delete static_cast<std::shared_ptr<Job>*>(parameter);
  job->result = job->entry();
  return 0;
}

HMODULE PinModuleOf(EntryPoint entry) {
  HMODULE pinned = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(entry)), &pinned);
  return pinned;
}

}  // namespace

bool RegisterComponentInProcess(const std::wstring& path, bool register_it, DWORD limit_ms) {
  const LibraryReference library(LoadLibraryW(path.c_str()));
  if (library.get() == nullptr) return false;
  const auto entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(
      GetProcAddress(library.get(), register_it ? "DllRegisterServer" : "DllUnregisterServer")));
  if (entry == nullptr) return false;
  HMODULE pinned = PinModuleOf(entry);
  if (pinned == nullptr) return false;
  auto job = std::make_shared<Job>(entry, pinned);
  auto* handed_over = new std::shared_ptr<Job>(job);
  HANDLE thread = CreateThread(nullptr, 0, &RunJob, handed_over, 0, nullptr);
  if (thread == nullptr) {
    delete handed_over;
    return false;
  }
  const HandleCloser closer(thread);
  if (WaitForSingleObject(thread, limit_ms) != WAIT_OBJECT_0) return false;
  return SUCCEEDED(job->result);
}

const wchar_t* InProcessOutcomeText(bool succeeded) {
  return succeeded ? L"Der Vorgang war erfolgreich!" : L"Fehler! Der Vorgang wurde abgebrochen.";
}

}  // namespace lastora::toolbox
