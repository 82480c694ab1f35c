#include "core/files.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "core/large_pages.h"
#include "lastora/vb_error.h"

#ifdef _WIN32
#include <process.h>
#define LASTORA_GETPID _getpid
#else
#include <unistd.h>
#define LASTORA_GETPID getpid
#endif

namespace lastora::files {

namespace {

namespace fs = std::filesystem;

constexpr fs::perms kAnyWrite =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

using File = std::unique_ptr<std::FILE, detail::FileCloser>;

fs::path ToPath(const std::string& native) {
  // Paths are UTF-8; going through char8_t keeps them so on Windows as well.
  return fs::path(std::u8string(native.begin(), native.end()));
}

File Open(const fs::path& path, const char* mode) {
#ifdef _WIN32
  std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return File(_wfopen(path.c_str(), wide_mode.c_str()));
#else
  return File(std::fopen(path.c_str(), mode));
#endif
}

// The platform's error for a failed open or write, from the system's reason.
int32_t ErrorForWrite(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return 76;
    case EACCES:
    case EPERM:
    case EROFS:
      return 70;
    default:
      return 75;
  }
}

bool WriteAll(std::FILE* f, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

// The temporary file lives beside the target so that the final rename stays on one file system.
fs::path TemporaryName(const fs::path& target, int attempt) {
  static std::atomic<unsigned> counter{0};
  fs::path name = target;
  name += ".tmp" + std::to_string(LASTORA_GETPID()) + "_" + std::to_string(counter++) + "_" +
          std::to_string(attempt);
  return name;
}

// Creates a fresh temporary file; "x" refuses to reuse a name some other writer holds.
File CreateTemporary(const fs::path& target, fs::path* name) {
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    *name = TemporaryName(target, attempt);
    File f = Open(*name, "wbx");
    if (f) return f;
    if (errno != EEXIST) throw VbError(ErrorForWrite(errno));
  }
  throw VbError(75);
}

void RemoveQuietly(const fs::path& path) {
  std::error_code ignored;
  fs::remove(path, ignored);
}

// A link is followed, so that the file it names is replaced and the link itself stays.
fs::path ResolveLink(fs::path path) {
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
  fs::path real = fs::canonical(path, error);
  return error ? path : real;
}

}  // namespace

std::string NativePath(std::string_view path) {
  std::string native(path);
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

std::string ReadWhole(const std::string& path) {
  const fs::path native = ToPath(NativePath(path));
  File f = Open(native, "rb");
  if (!f) throw VbError(errno == ENOENT || errno == ENOTDIR ? 53 : 75);
  // Sized once from the file's length, so a 100 MB payment file is read without regrowing; the
  // loop still takes whatever the file really holds if it changes meanwhile.
  std::error_code size_error;
  const uintmax_t expected = fs::file_size(native, size_error);
  std::string bytes;
  if (!size_error) {
    bytes.reserve(static_cast<size_t>(expected));
    memory::PreferLargePages(bytes.data(), bytes.capacity());
  }
  char buffer[1 << 16];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) bytes.append(buffer, got);
  // A directory opens on POSIX but cannot be read.
  if (std::ferror(f.get())) throw VbError(75);
  return bytes;
}

void WriteWhole(const std::string& path, std::string_view bytes) {
  FileWriter writer(path);
  writer.Write(bytes);
  writer.Commit();
}

FileWriter::FileWriter(const std::string& path) : target_(ResolveLink(ToPath(NativePath(path)))) {
  const fs::path folder = target_.parent_path();
  std::error_code ignored;
  if (!folder.empty() && !fs::is_directory(folder, ignored)) throw VbError(76);

  // A file the user marked read-only is not replaced, as the platform refuses to open it for
  // writing; a writable one keeps its permissions.
  existing_ = fs::status(target_, ignored);
  if (fs::is_regular_file(existing_) && (existing_.permissions() & kAnyWrite) == fs::perms::none) {
    throw VbError(75);
  }
  file_ = CreateTemporary(target_, &temporary_);
}

FileWriter::~FileWriter() {
  if (!temporary_.empty()) {
    file_.reset();
    RemoveQuietly(temporary_);
  }
}

void FileWriter::Write(std::string_view bytes) {
  if (!file_ || !WriteAll(file_.get(), bytes)) throw VbError(75);
}

void FileWriter::Commit() {
  if (!file_) throw VbError(75);
  const bool closed = std::fclose(file_.release()) == 0;
  std::error_code error;
  if (closed && fs::is_regular_file(existing_)) {
    fs::permissions(temporary_, existing_.permissions(), error);
  }
  if (!closed || error) throw VbError(75);
  fs::rename(temporary_, target_, error);
  if (error) throw VbError(error == std::errc::permission_denied ? 70 : 75);
  temporary_.clear();
}

void Append(const std::string& path, std::string_view bytes) {
  File f = Open(ToPath(NativePath(path)), "ab");
  if (!f) throw VbError(ErrorForWrite(errno));
  const bool written = WriteAll(f.get(), bytes);
  if (std::fclose(f.release()) != 0 || !written) throw VbError(75);
}

}  // namespace lastora::files
