// One reader per workbook file format, behind one interface.
#ifndef LASTORA_IMPORT_WORKBOOK_READER_H_
#define LASTORA_IMPORT_WORKBOOK_READER_H_

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "import/sheet_grid.h"
#include "lastora/vb_error.h"

namespace lastora::detail {

class WorkbookReader {
 public:
  virtual ~WorkbookReader() = default;
  virtual std::vector<std::string> SheetNames() = 0;
  // The creation date the file records, as a date serial; nullopt when the format (or this
  // file) has none.
  virtual std::optional<double> CreationDate() = 0;
  // Reads sheet `index` (from 0, below the count of SheetNames()), once: the caller keeps the
  // grid.
  virtual SheetGrid ReadSheet(size_t index) = 0;
};

// Each throws VbError when the file is not a readable workbook of its kind.
std::unique_ptr<WorkbookReader> OpenXlsxReader(const std::string& path);
std::unique_ptr<WorkbookReader> OpenOdsReader(const std::string& path);
std::unique_ptr<WorkbookReader> OpenXlsReader(const std::string& path);
std::unique_ptr<WorkbookReader> OpenCsvReader(const std::string& path);
std::unique_ptr<WorkbookReader> OpenBankCodeTextReader(const std::string& path);

// The failure every reader reports for a file it cannot make sense of.
VbError UnreadableError(const std::string& path, const std::string& reason);
[[noreturn]] void ThrowUnreadable(const std::string& path, const std::string& reason);

// "2020-04-20", "2020-04-20T10:11:12", with optional fraction and zone (ignored) as a date
// serial; nullopt when the text is not such a date.
std::optional<double> ParseIsoDateTime(std::string_view text);

// The sheet name a single-sheet text file gets: its file name without folder and extension.
std::string SheetNameFromPath(const std::string& path);

}  // namespace lastora::detail

#endif  // LASTORA_IMPORT_WORKBOOK_READER_H_
