// The print settings file: "key=value" lines, the first matching rule wins.
#include "mailmerge/print_settings.h"

#include "component/helpers.h"
#include "core/files.h"
#include "core/text.h"
#include "lastora/variant.h"

namespace lastora {
namespace {

constexpr double kDefaultLogoWidth = 51;
constexpr double kDefaultLogoHeight = 66;

void TakeNumber(const std::string& value, double* target) {
  if (IsNumeric(Variant(value))) *target = CDbl(Variant(value));
}

void ApplyLine(const std::string& line, PrintSettings& settings) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return;
  const std::string key = line.substr(0, equals);
  const std::string value = line.substr(equals + 1);
  const std::string user_text_mark = "Usertext_";
  if (const size_t mark = key.find(user_text_mark); mark != std::string::npos) {
    settings.user_texts.emplace_back(key.substr(mark + user_text_mark.size()), value);
  } else if (key == "LogoWidth") {
    TakeNumber(value, &settings.logo_width);
  } else if (key == "LogoHeight") {
    TakeNumber(value, &settings.logo_height);
  } else if (line.find("Kopien an Empfänger") != std::string::npos) {
    settings.copy_address = RemoveBlanks(value);
  } else if (line.find("Betreff") != std::string::npos) {
    settings.subject_prefix = value + " ";
  } else if (line.find("Body") != std::string::npos) {
    settings.body = value;
  } else if (key == "Drucker") {
    // Not one of the workbook's keys: on a machine without Word the printer has to be named
    // somewhere, and this file already travels with the templates.
    settings.printer = text::Trim(value);
  }
}

}  // namespace

PrintSettings ParsePrintSettings(const std::string& text) {
  PrintSettings settings;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line = std::string_view(text).substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    ApplyLine(text::Trim(line), settings);
    start = end + 1;
  }
  if (settings.logo_width == 0) settings.logo_width = kDefaultLogoWidth;
  if (settings.logo_height == 0) settings.logo_height = kDefaultLogoHeight;
  return settings;
}

PrintSettings ReadPrintSettings(const std::string& path) {
  if (!FileExists(path)) return PrintSettings{};
  return ParsePrintSettings(text::FromWindows1252(files::ReadWhole(path)));
}

}  // namespace lastora
