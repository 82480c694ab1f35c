// Separated-values text files as spreadsheet programs write them: one reader for the member
// lists, the payment tables and the sheets the component imports.
#ifndef LASTORA_CSV_H_
#define LASTORA_CSV_H_

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "lastora/export.h"
#include "lastora/table.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

using CsvRows = std::vector<std::vector<std::string>>;

// A quote that opens a field and never closes: the rest of the file would vanish into one cell.
class CsvQuoteError : public std::runtime_error {
 public:
  explicit CsvQuoteError(int line);
  // The 1-based line on which the open field begins.
  int line() const { return line_; }

 private:
  int line_;
};

// The separator of a file: ";" when its first record holds one outside quotes (a German
// spreadsheet program writes ";" and leaves the commas of names and amounts unquoted), else a
// tab, else ",", and ";" for a file of one column.
char CsvSeparator(std::string_view text);

// Splits UTF-8 text into rows of fields at CsvSeparator. A field that begins with a quote runs to
// the closing quote ("" inside stands for a quote) and may hold separators and line breaks; any
// line end (CR LF, LF, CR) ends a row. CsvQuoteError when a quoted field does not close.
CsvRows ParseCsv(std::string_view text);

// The rows from first_row (1-based) on as a table of texts, as wide as the widest row; blank
// fields become Empty cells. Blank rows at the end are dropped, as a worksheet's used range ends
// at its last filled row. No rows: an unallocated table.
Table CsvToTable(const CsvRows& rows, int32_t first_row);
// CsvToTable(ParseCsv(text), first_row), without making a text of every field on the way.
Table CsvTextToTable(std::string_view text, int32_t first_row);

// One line per row, ";" between the cells, CR LF line ends; numbers and dates as the regional
// settings write them (decimal comma).
std::string TableToCsv(const Table& table, const std::vector<std::string>& header);
// The same text handed to `piece` a few kilobytes at a time, for tables too large to hold twice.
void TableToCsvPieces(const Table& table, const std::vector<std::string>& header,
                      const std::function<void(std::string_view)>& piece);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_CSV_H_
