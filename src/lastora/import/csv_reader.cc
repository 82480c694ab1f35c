// Separated-values text files, one sheet named after the file.
#include <string>
#include <vector>

#include "core/csv_fields.h"
#include "core/files.h"
#include "import/workbook_reader.h"
#include "lastora/csv.h"
#include "lastora/text_file.h"

namespace lastora::detail {
namespace {

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
