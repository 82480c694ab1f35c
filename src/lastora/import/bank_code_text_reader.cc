// The Bundesbank's bank-code file in its fixed-width text form, read as the same 13 columns, with
// the same header row, as the Bundesbank's spreadsheet form: so both forms load alike.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"
#include "core/text.h"
#include "import/workbook_reader.h"

namespace lastora::detail {
namespace {

struct Field {
  size_t start;  // 1-based
  size_t width;
  std::string_view header;
};

constexpr size_t kLineWidth = 168;

constexpr std::array<Field, 13> kFields = {{
    {1, 8, "Bankleitzahl"},
    {9, 1, "Merkmal"},
    {10, 58, "Bezeichnung"},
    {68, 5, "PLZ"},
    {73, 35, "Ort"},
    {108, 27, "Kurzbezeichnung"},
    {135, 5, "PAN"},
    {140, 11, "BIC"},
    {151, 2, "Prüfzifferberechnungsmethode"},
    {153, 6, "Datensatznummer"},
    {159, 1, "Änderungskennzeichen"},
    {160, 1, "Bankleitzahllöschung"},
    {161, 8, "Nachfolge-Bankleitzahl"},
}};

class BankCodeTextReader : public WorkbookReader {
 public:
  explicit BankCodeTextReader(const std::string& path)
      : path_(path), bytes_(files::ReadWhole(path)) {}

  std::vector<std::string> SheetNames() override { return {SheetNameFromPath(path_)}; }
  std::optional<double> CreationDate() override { return std::nullopt; }

  SheetGrid ReadSheet(size_t) override {
    SheetGrid grid;
    for (size_t c = 0; c < kFields.size(); ++c) {
      grid.Set(1, static_cast<int32_t>(c) + 1, Variant(kFields[c].header));
    }
    const std::string_view all(bytes_);
    int32_t row = 1;
    size_t start = 0;
    while (start < all.size()) {
      size_t end = all.find('\n', start);
      if (end == std::string_view::npos) end = all.size();
      std::string_view line = all.substr(start, end - start);
      start = end + 1;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      ++row;
      // ISO-8859-1 and Windows-1252 have one byte per character, so the width is in bytes.
      if (line.size() != kLineWidth) {
        ThrowUnreadable(path_, "Zeile " + std::to_string(row - 1) +
                                   " hat nicht die Satzlänge der Bankleitzahlendatei");
      }
      for (size_t c = 0; c < kFields.size(); ++c) {
        const Field& field = kFields[c];
        std::string value =
            text::Trim(text::FromWindows1252(line.substr(field.start - 1, field.width)));
        if (!value.empty()) grid.Set(row, static_cast<int32_t>(c) + 1, Variant(std::move(value)));
      }
    }
    return grid;
  }

 private:
  std::string path_;
  std::string bytes_;
};

}  // namespace

std::unique_ptr<WorkbookReader> OpenBankCodeTextReader(const std::string& path) {
  return std::make_unique<BankCodeTextReader>(path);
}

}  // namespace lastora::detail
