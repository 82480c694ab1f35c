// The settings file on arbitrary bytes: read, or refused with the program's error; and what would
// be saved reads back to the same text, so saving twice never drifts.
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli_error.h"
#include "settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const lastora::cli::SettingsFile file = lastora::cli::SettingsFile::Parse(bytes, "verein.ini");
    const std::string saved = file.Bytes();
    if (lastora::cli::SettingsFile::Parse(saved, "verein.ini").Bytes() != saved) std::abort();
  } catch (const lastora::cli::CliError&) {
  }
  return 0;
}
