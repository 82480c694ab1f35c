#include "program_home.h"

#include <cstdlib>
#include <system_error>

namespace lastora::cli {

std::string InstalledProgramHome(const std::filesystem::path& program, const char* xdg_data_home,
                                 const char* user_home) {
  if (program.parent_path().filename() != "bin") return "";
  // The XDG rules ignore a relative data folder, as if it were not set.
  if (xdg_data_home != nullptr && xdg_data_home[0] == '/') {
    return (std::filesystem::path(xdg_data_home) / "lastora").string();
  }
  if (user_home == nullptr || user_home[0] == '\0') return "";
  return (std::filesystem::path(user_home) / ".local" / "share" / "lastora").string();
}

std::string ProgramHome(const std::string& home_option) {
  if (!home_option.empty()) return home_option;
  const char* variable = std::getenv("LASTORA_HOME");
  if (variable != nullptr && variable[0] != '\0') return "";
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "";
  const std::string home =
      InstalledProgramHome(program, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  if (!home.empty()) std::filesystem::create_directories(home, error);
  return home;
}

}  // namespace lastora::cli
