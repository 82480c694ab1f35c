// The mail merge's print settings file: user texts, the logo box, and what e-mail jobs add.
#ifndef LASTORA_MAILMERGE_PRINT_SETTINGS_H_
#define LASTORA_MAILMERGE_PRINT_SETTINGS_H_

#include <string>
#include <utility>
#include <vector>

namespace lastora {

struct PrintSettings {
  std::vector<std::pair<std::string, std::string>> user_texts;  // name, text; in file order
  double logo_width = 51;
  double logo_height = 66;
  std::string copy_address;    // blanks removed
  std::string subject_prefix;  // "" or the value and one blank
  std::string body;            // "(BODY)" stands for the definition's body text
  std::string printer;         // "" means the system's default printer
};

// Reads the settings from the text; lines split at LF (a CR before it is dropped).
PrintSettings ParsePrintSettings(const std::string& text);
// The file read as Windows-1252 text; a missing file gives the defaults.
PrintSettings ReadPrintSettings(const std::string& path);

}  // namespace lastora

#endif  // LASTORA_MAILMERGE_PRINT_SETTINGS_H_
