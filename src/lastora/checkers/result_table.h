// The result table that both checkers lay out: one row per payment read back, in the columns of
// the member and payment table, so the caller's sheet shows a checked file like its own rows.
#ifndef LASTORA_CHECKERS_RESULT_TABLE_H_
#define LASTORA_CHECKERS_RESULT_TABLE_H_

#include <cstdint>
#include <string>

#include "lastora/table.h"

namespace lastora::result_table {

// Re-creates the value and colour tables with `rows` empty rows (VbError 9 below one row: a
// table without rows cannot be laid out).
void LayOut(int32_t rows, Table& values, Table& colours);

// Makes room for row `row` in both tables, growing them geometrically.
void EnsureRow(int32_t row, Table& values, Table& colours);

// An amount in cents as the user reads it in a cell: two decimals, decimal comma.
std::string AmountText(int64_t cents);

// A sum in cents as a settings number in the user's number format.
std::string SumText(int64_t cents);

}  // namespace lastora::result_table

#endif  // LASTORA_CHECKERS_RESULT_TABLE_H_
