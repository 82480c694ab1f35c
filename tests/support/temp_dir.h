// A fresh folder for one test, removed with everything in it when the test ends.
#ifndef LASTORA_TESTS_SUPPORT_TEMP_DIR_H_
#define LASTORA_TESTS_SUPPORT_TEMP_DIR_H_

#include <filesystem>
#include <string>
#include <vector>

namespace lastora::testing {

class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder joined with a name, as a string.
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Reads a whole file as bytes; "" when it cannot be read.
std::string ReadBytes(const std::string& path);
// Writes bytes to a file, replacing it.
void WriteBytes(const std::string& path, const std::string& bytes);
// The names of what a folder holds, sorted: a failed write must leave no temporary file behind.
std::vector<std::string> FileNamesIn(const std::filesystem::path& folder);

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_TEMP_DIR_H_
