// Paths and files. The system speaks Windows paths; here both separators are accepted and a path is
// made native only where the file system is touched.
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "component/helpers.h"
#include "component/write_log.h"
#include "core/files.h"
#include "core/text.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

constexpr std::string_view kSeparators = "\\/";

// The file that holds this code: the library, or the executable of a static build.
#ifdef _WIN32
std::string ComponentFile() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&GetAppPath), &module)) {
    throw VbError(76);
  }
  std::wstring wide(32768, L'\0');
  const DWORD length = GetModuleFileNameW(module, wide.data(), static_cast<DWORD>(wide.size()));
  if (length == 0 || length >= wide.size()) throw VbError(76);
  wide.resize(length);
  const std::u8string utf8 = std::filesystem::path(wide).u8string();
  return std::string(utf8.begin(), utf8.end());
}
#else
std::string ComponentFile() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&GetAppPath), &info) != 0 && info.dli_fname != nullptr &&
      info.dli_fname[0] == '/') {
    return info.dli_fname;
  }
  // An executable is named as it was started (maybe a bare name found on PATH); the kernel knows
  // where it really lies.
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return exe.string();
  if (info.dli_fname != nullptr) {
    std::filesystem::path absolute = std::filesystem::absolute(info.dli_fname, error);
    if (!error) return absolute.string();
  }
  throw VbError(76);
}
#endif

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && kSeparators.find(path.back()) != std::string_view::npos) {
    path.pop_back();
  }
  return path;
}

// Paths are UTF-8 texts; going through char8_t keeps them so on every platform.
std::filesystem::path FileSystemPath(const std::string& path) {
  const std::string native = files::NativePath(ResolveAppRelative(path));
  return std::filesystem::path(std::u8string(native.begin(), native.end()));
}

std::string_view ExtensionMarkUnlessGiven(const std::string& separator) {
  return separator.empty() ? std::string_view(".") : std::string_view(separator);
}

bool EndsInSeparator(const std::string& path) {
  return !path.empty() && kSeparators.find(path.back()) != std::string_view::npos;
}

}  // namespace

namespace detail {

std::string StripDllFolders(std::string component_folder) {
  return text::Replace(text::Replace(component_folder, "\\DLL", ""), "/DLL", "");
}

}  // namespace detail

std::string GetAppPath() {
  const char* home = std::getenv("LASTORA_HOME");
  if (home != nullptr && home[0] != '\0') return WithoutTrailingSeparators(home);
  const std::string file = ComponentFile();
  return detail::StripDllFolders(file.substr(0, file.find_last_of(kSeparators)));
}

std::string ResolveAppRelative(const std::string& path) {
  if (path.starts_with("..\\") || path.starts_with("../")) return GetAppPath() + path.substr(2);
  return path;
}

bool PathExists(const Variant& path) {
  try {
    const std::string name = CStr(path);
    if (name.empty()) return false;
    std::error_code error;
    return std::filesystem::exists(FileSystemPath(name), error) && !error;
  } catch (const VbError&) {
    return false;
  }
}

bool FileExists(const std::string& file_name) {
  // A search for an empty name or a folder would list the folder's first file; neither is a file.
  if (file_name.empty() || EndsInSeparator(file_name)) return false;
  std::error_code error;
  return std::filesystem::is_regular_file(FileSystemPath(file_name), error) && !error;
}

std::string FileNamePart(const std::string& path) {
  const size_t last = path.find_last_of(kSeparators);
  return last == std::string::npos ? path : path.substr(last + 1);
}

std::string FolderPart(const std::string& path) {
  const size_t last = path.find_last_of(kSeparators);
  return last == std::string::npos ? path : path.substr(0, last + 1);
}

std::string TextBeforeLast(const std::string& text, const std::string& separator) {
  const std::string_view mark = ExtensionMarkUnlessGiven(separator);
  const size_t last = text.rfind(mark);
  return last == std::string::npos ? text : text.substr(0, last);
}

std::string TextAfterLast(const std::string& text, const std::string& separator) {
  const std::string_view mark = ExtensionMarkUnlessGiven(separator);
  const size_t last = text.rfind(mark);
  return last == std::string::npos ? text : text.substr(last + mark.size());
}

bool CheckPathAndFile(const std::string& full_path, const std::string& switches,
                      const std::string& message) {
  const std::string path = ResolveAppRelative(full_path);
  const std::string folder = FolderPart(path);
  const std::string name = FileNamePart(path);
  // The directory search itself fails in a missing folder; that case falls through to the folder
  // test, which is the one that reports.
  const bool folder_exists = PathExists(Variant(folder));
  if (!name.empty() && folder_exists && !FileExists(folder + name)) return false;
  if (folder_exists) return true;
  if (!switches.empty()) {
    try {
      WriteLog(switches, 1, "", message, "Fehler", "", "");
    } catch (const VbError&) {
      // A log that cannot be written must not turn a plain "missing" answer into a failure.
    }
  }
  return false;
}

void ReadFileLines(VariantArray& lines, const std::string& path, int32_t max_lines) {
  const std::string file = ResolveAppRelative(path);
  std::error_code error;
  if (!std::filesystem::exists(FileSystemPath(file), error)) files::Append(file, "");
  VariantArray all = SplitToArray(text::FromWindows1252(files::ReadWhole(file)), "\n");
  if (all.Count() > max_lines) {
    if (max_lines < 1) throw VbError(9);
    VariantArray first(max_lines, 1);
    for (int32_t i = 1; i <= max_lines; ++i) first.At(i) = std::move(all.At(i));
    all = std::move(first);
  }
  lines = std::move(all);
}

}  // namespace lastora
