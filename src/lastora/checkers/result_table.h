// The result table that both checkers lay out: one row per payment read back, in the columns of
// the member and payment table, so the caller's sheet shows a checked file like its own rows.
#ifndef LASTORA_CHECKERS_RESULT_TABLE_H_
#define LASTORA_CHECKERS_RESULT_TABLE_H_

#include <cstdint>
#include <string>

#include "lastora/table.h"

namespace lastora::result_table {

inline constexpr int32_t kColumns = 29;

inline constexpr int32_t kNumber = 2;
inline constexpr int32_t kName = 3;
inline constexpr int32_t kIban = 4;
inline constexpr int32_t kBic = 5;
inline constexpr int32_t kReference = 7;
inline constexpr int32_t kAmount = 8;
inline constexpr int32_t kRemittance = 9;
inline constexpr int32_t kMandate = 10;
inline constexpr int32_t kMandateDate = 11;
inline constexpr int32_t kAccount = 22;
inline constexpr int32_t kBankCode = 23;
inline constexpr int32_t kCountry = 24;
inline constexpr int32_t kError = 26;

inline constexpr int32_t kColourError = 3;

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
