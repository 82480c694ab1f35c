// Separated-values text files, one sheet named after the file.
#include <string>
#include <vector>

#include "core/files.h"
#include "import/workbook_reader.h"
#include "lastora/csv.h"
#include "lastora/text_file.h"

namespace lastora::detail {
namespace {

class CsvReader : public WorkbookReader {
 public:
  explicit CsvReader(const std::string& path)
      : path_(path), text_(DecodeTextFile(files::ReadWhole(path)).text) {}

  std::vector<std::string> SheetNames() override { return {SheetNameFromPath(path_)}; }
  std::optional<double> CreationDate() override { return std::nullopt; }

  SheetGrid ReadSheet(size_t) override {
    CsvRows rows;
    try {
      rows = ParseCsv(text_);
    } catch (const CsvQuoteError& e) {
      ThrowUnreadable(path_, e.what());
    }
    SheetGrid grid;
    for (size_t r = 0; r < rows.size(); ++r) {
      for (size_t c = 0; c < rows[r].size(); ++c) {
        if (rows[r][c].empty()) continue;
        grid.Set(static_cast<int32_t>(r + 1), static_cast<int32_t>(c + 1),
                 Variant(std::move(rows[r][c])));
      }
    }
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
