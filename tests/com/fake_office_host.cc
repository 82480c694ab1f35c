#include "com/fake_office_host.h"

#include <fstream>
#include <iterator>

namespace lastora::testing {

std::string Read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

FakeOfficeHost::FakeOfficeHost(const std::filesystem::path& folder)
    : module_(LoadLibraryW(LASTORA_FAKE_OFFICE_DLL)),
      log_path_(folder / "aufrufe.log"),
      log_variable_("FAKE_OFFICE_LOG", log_path_.string()) {
  registered_ = module_ != nullptr && Call("DllRegisterServer") == S_OK;
}

FakeOfficeHost::~FakeOfficeHost() {
  if (module_ == nullptr) return;
  Call("DllUnregisterServer");
  FreeLibrary(module_);
}

HRESULT FakeOfficeHost::Call(const char* name) const {
  auto* entry = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
      reinterpret_cast<void*>(GetProcAddress(module_, name)));
  return entry == nullptr ? E_FAIL : entry();
}

long FakeOfficeHost::LiveObjects() const {
  auto* count = reinterpret_cast<long(__stdcall*)()>(
      reinterpret_cast<void*>(GetProcAddress(module_, "FakeOfficeLiveObjects")));
  return count == nullptr ? -1 : count();
}

std::string FakeOfficeHost::CallLog() const { return Read(log_path_); }

std::string FakeOfficeHost::Printed() const { return Read(log_path_.string() + ".druck"); }

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

std::string MissingInOrder(const std::string& log, const std::vector<std::string>& parts) {
  size_t at = 0;
  for (const std::string& part : parts) {
    at = log.find(part, at);
    if (at == std::string::npos) return part;
    at += part.size();
  }
  return "";
}

}  // namespace lastora::testing
