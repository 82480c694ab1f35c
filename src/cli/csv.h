// Semicolon-separated files as spreadsheet programs in German settings write them.
#ifndef LASTORA_CLI_CSV_H_
#define LASTORA_CLI_CSV_H_

#include <string>
#include <string_view>
#include <vector>

#include "lastora/table.h"

namespace lastora::cli {

using CsvRows = std::vector<std::vector<std::string>>;

// Splits UTF-8 text into rows of fields. The separator is ";" unless the first line holds none
// and holds a tab or a ","; fields may be quoted with "" for a quote and line breaks inside.
CsvRows ParseCsv(std::string_view text);

// The rows from first_row (1-based) on as a table of texts, as wide as the widest row; blank
// fields become Empty cells. Blank rows at the end are dropped, as a worksheet's used range ends
// at its last filled row. No rows: an unallocated table.
Table CsvToTable(const CsvRows& rows, int32_t first_row);

// One line per row, ";" between the cells, CR LF line ends; numbers and dates as the regional
// settings write them (decimal comma).
std::string TableToCsv(const Table& table, const std::vector<std::string>& header);

}  // namespace lastora::cli

#endif  // LASTORA_CLI_CSV_H_
