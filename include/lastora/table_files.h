// The payment table on disk: the processed member table with its 29 columns, as .xlsx with the
// cell colours of the run or as .csv (UTF-8, ";", decimal comma) for other programs; and the text
// files around it.
#ifndef LASTORA_TABLE_FILES_H_
#define LASTORA_TABLE_FILES_H_

#include <string>
#include <string_view>
#include <vector>

#include "lastora/class1.h"
#include "lastora/export.h"
#include "lastora/table.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

inline constexpr int32_t kPaymentColumns = 29;

// A table of values with its colour table of the same shape.
struct ColouredTable {
  Table values;
  Table colours;
};

// The column headings of the payment table.
const std::vector<std::string>& PaymentHeader();

// Writes the table by the file's extension (.xlsx or .csv); the file is replaced atomically.
// WorkbookError for another extension or a file that cannot be written.
void WriteTableFile(const std::string& path, const ColouredTable& table,
                    const std::vector<std::string>& header);

// Reads a payment table written by WriteTableFile (or edited since) back; at least 29 columns,
// colours empty. A spreadsheet is read through the component.
ColouredTable ReadPaymentTable(const std::string& path, Class1& component);

// Reads a text file as UTF-8 or Windows-1252, as DecodeTextFile decides. WorkbookError when
// missing.
std::string ReadTextFile(const std::string& path, const std::string& what);

// Replaces the file atomically. WorkbookError "<what> nicht geschrieben: <path> (<reason>)".
void WriteWholeFile(const std::string& path, std::string_view bytes, const std::string& what);

bool HasExtension(const std::string& path, const std::string& extension);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_TABLE_FILES_H_
