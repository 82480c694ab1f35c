// The settings file on arbitrary bytes: read, or refused with the program's error; and what would
// be saved reads back to the same text, so saving twice never drifts.
#include <cstdlib>
#include <string>
#include <string_view>

#include "lastora/settings_file.h"
#include "lastora/workbook_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const lastora::SettingsFile file = lastora::SettingsFile::Parse(bytes, "verein.ini");
    const std::string saved = file.Bytes();
    if (lastora::SettingsFile::Parse(saved, "verein.ini").Bytes() != saved) std::abort();
  } catch (const lastora::WorkbookError&) {
  }
  return 0;
}
