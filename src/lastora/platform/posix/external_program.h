// Office programs outside the system (LibreOffice, the CUPS print command), started without a
// shell, and a private scratch folder for the files handed to them.
#ifndef LASTORA_PLATFORM_POSIX_EXTERNAL_PROGRAM_H_
#define LASTORA_PLATFORM_POSIX_EXTERNAL_PROGRAM_H_

#include <filesystem>
#include <string>
#include <vector>

namespace lastora {

// The program's full path from PATH, or "" when it is not installed.
std::string FindProgram(const std::string& name);
// Runs the program and waits; its exit status, or -1 when it could not be started or died.
int RunProgram(const std::string& path, const std::vector<std::string>& arguments);

// A fresh folder below the system's temporary folder, removed with its contents at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_POSIX_EXTERNAL_PROGRAM_H_
