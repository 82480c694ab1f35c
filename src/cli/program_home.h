// Where the program keeps its log folder and templates when the user names no folder.
#ifndef LASTORA_CLI_PROGRAM_HOME_H_
#define LASTORA_CLI_PROGRAM_HOME_H_

#include <filesystem>
#include <string>

namespace lastora::cli {

// An installed program lies in a "bin" folder that its user cannot write to, so it keeps its
// files in the user's data folder ($XDG_DATA_HOME/lastora, else ~/.local/share/lastora). Any
// other program (a build tree, an unpacked program folder) keeps them beside itself, as on
// Windows: the result is empty then, and so is it when no user folder is known.
std::string InstalledProgramHome(const std::filesystem::path& program, const char* xdg_data_home,
                                 const char* user_home);

// The folder for this process: --home, else LASTORA_HOME, else InstalledProgramHome of the
// running program. Empty: beside the program.
std::string ProgramHome(const std::string& home_option);

}  // namespace lastora::cli

#endif  // LASTORA_CLI_PROGRAM_HOME_H_
