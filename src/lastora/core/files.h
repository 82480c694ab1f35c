// Whole-file reads and writes. Every write goes to a temporary name in the target folder and is
// renamed over the target, so a failure never leaves a truncated file where a good one was.
#ifndef LASTORA_CORE_FILES_H_
#define LASTORA_CORE_FILES_H_

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace lastora::files {

namespace detail {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace detail

// A path as the system speaks it ("\" or "/" separators) made usable on this platform.
std::string NativePath(std::string_view path);

// Reads the file's bytes; VbError 53 when it does not exist, 75 when it cannot be read.
std::string ReadWhole(const std::string& path);
// Replaces the file atomically with the bytes; VbError 76 when the folder does not exist,
// 75 (or 70) when it cannot be written.
void WriteWhole(const std::string& path, std::string_view bytes);

// WriteWhole for a file that is produced piece by piece, so that a 100 MB payment file never
// has to exist as one text in memory. The pieces go to a temporary file beside the target;
// Commit renames it over the target. A writer that is destroyed without Commit (a failed run)
// removes its temporary file and leaves the target as it was. Errors as WriteWhole's.
class FileWriter {
 public:
  explicit FileWriter(const std::string& path);
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;
  ~FileWriter();

  void Write(std::string_view bytes);
  void Commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::filesystem::file_status existing_;
  std::unique_ptr<std::FILE, detail::FileCloser> file_;
};
// Appends the bytes (creating the file); used by the run log.
void Append(const std::string& path, std::string_view bytes);

}  // namespace lastora::files

#endif  // LASTORA_CORE_FILES_H_
