// Separated-values text files, one sheet named after the file.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/csv_fields.h"
#include "core/files.h"
#include "import/workbook_reader.h"
#include "lastora/csv.h"
#include "lastora/text_file.h"

namespace lastora::detail {
namespace {

// At least the sheet's rows: a field may hold a line end of its own.
int32_t LineCount(std::string_view text) {
  size_t lines = 1;
  const char* at = text.data();
  const char* const end = at + text.size();
  while (const void* found = std::memchr(at, '\n', static_cast<size_t>(end - at))) {
    ++lines;
    at = static_cast<const char*>(found) + 1;
  }
  return static_cast<int32_t>(std::min<size_t>(lines, INT32_MAX));
}

class CsvReader : public WorkbookReader {
 public:
  explicit CsvReader(const std::string& path) : path_(path) {}

  std::vector<std::string> SheetNames() override { return {SheetNameFromPath(path_)}; }
  std::optional<double> CreationDate() override { return std::nullopt; }

  // The text is read here and let go when the cells are made, so that a large file is not held
  // beside its cells.
  SheetGrid ReadSheet(size_t) override {
    const std::string text = DecodeTextFileInPlace(files::ReadWhole(path_)).text;
    SheetGrid grid;
    try {
      csv::FieldReader fields(text);
      std::string_view field;
      bool row_ends = false;
      int32_t row = 1, column = 1;
      while (fields.Next(&field, &row_ends)) {
        if (!field.empty()) grid.Set(row, column, Variant(field));
        ++column;
        if (row_ends) {
          // The first row gives the width; the line ends give about the length.
          if (row == 1) grid.ExpectRows(LineCount(text));
          ++row;
          column = 1;
        }
      }
    } catch (const CsvQuoteError& e) {
      ThrowUnreadable(path_, e.what());
    }
    return grid;
  }

 private:
  std::string path_;
};

}  // namespace

std::unique_ptr<WorkbookReader> OpenCsvReader(const std::string& path) {
  return std::make_unique<CsvReader>(path);
}

}  // namespace lastora::detail
