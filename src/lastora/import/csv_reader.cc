// Comma- or semicolon-separated text files, one sheet named after the file.
#include <string>
#include <vector>

#include "core/files.h"
#include "core/text.h"
#include "import/workbook_reader.h"

namespace lastora::detail {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto lead = static_cast<unsigned char>(s[i]);
    size_t extra = 0;
    char32_t min = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3;
      min = 0x10000;
    } else {
      return false;
    }
    if (i + extra >= s.size()) return false;
    char32_t code = lead & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(s[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

// Files from a German spreadsheet program are Windows-1252 unless they say otherwise; a file
// that is valid UTF-8 is taken as such (plain ASCII reads the same either way).
std::string DecodeText(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) return std::string(bytes.substr(3));
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return text::FromWindows1252(bytes);
}

// The separator that occurs more often outside quotes in the first record; ";" on a tie, as a
// German spreadsheet program writes it.
char DetectSeparator(std::string_view text) {
  size_t semicolons = 0, commas = 0;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\n' || c == '\r') break;
    if (c == ';') ++semicolons;
    if (c == ',') ++commas;
  }
  return commas > semicolons ? ',' : ';';
}

class CsvReader : public WorkbookReader {
 public:
  explicit CsvReader(const std::string& path)
      : path_(path), text_(DecodeText(files::ReadWhole(path))) {}

  std::vector<std::string> SheetNames() override { return {SheetNameFromPath(path_)}; }
  std::optional<double> CreationDate() override { return std::nullopt; }

  SheetGrid ReadSheet(size_t) override {
    SheetGrid grid;
    const char separator = DetectSeparator(text_);
    int32_t row = 1, column = 1;
    std::string field;
    size_t i = 0;
    const size_t n = text_.size();
    while (i < n) {
      if (text_[i] == '"' && field.empty()) {
        const size_t start_row = static_cast<size_t>(row);
        for (++i;; ++i) {
          if (i >= n)
            ThrowUnreadable(path_, "Anführungszeichen ab Zeile " + std::to_string(start_row) +
                                       " nicht geschlossen");
          if (text_[i] != '"') {
            field += text_[i];
          } else if (i + 1 < n && text_[i + 1] == '"') {
            field += '"';
            ++i;
          } else {
            ++i;
            break;
          }
        }
        continue;
      }
      const char c = text_[i];
      if (c == separator || c == '\n' || c == '\r') {
        if (!field.empty()) grid.Set(row, column, Variant(std::move(field)));
        field.clear();
        if (c == separator) {
          ++column;
        } else {
          if (c == '\r' && i + 1 < n && text_[i + 1] == '\n') ++i;
          ++row;
          column = 1;
        }
      } else {
        field += c;
      }
      ++i;
    }
    if (!field.empty()) grid.Set(row, column, Variant(std::move(field)));
    return grid;
  }

 private:
  std::string path_;
  std::string text_;
};

}  // namespace

std::unique_ptr<WorkbookReader> OpenCsvReader(const std::string& path) {
  return std::make_unique<CsvReader>(path);
}

}  // namespace lastora::detail
