// Where a cell sits on a worksheet: its column letters and its "AB12" reference, within the
// largest sheet a spreadsheet program opens.
#ifndef LASTORA_CORE_CELL_REFERENCE_H_
#define LASTORA_CORE_CELL_REFERENCE_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace lastora::detail {

inline constexpr int32_t kMaxSheetRows = 1048576;
inline constexpr int32_t kMaxSheetColumns = 16384;

// 1 -> "A", 28 -> "AB"; "" for a column below 1.
std::string ColumnLetters(int32_t column);

// "BC12" -> row 12, column 55; false for anything else or a column beyond the largest sheet.
bool ParseCellReference(std::string_view reference, int32_t& row, int32_t& column);

}  // namespace lastora::detail

#endif  // LASTORA_CORE_CELL_REFERENCE_H_
