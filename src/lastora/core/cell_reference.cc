#include "core/cell_reference.h"

#include <charconv>

namespace lastora::detail {

std::string ColumnLetters(int32_t column) {
  std::string letters;
  for (; column > 0; column = (column - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
  }
  return letters;
}

bool ParseCellReference(std::string_view reference, int32_t& row, int32_t& column) {
  size_t i = 0;
  int64_t letters = 0;
  while (i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z' &&
         letters <= kMaxSheetColumns) {
    letters = letters * 26 + (reference[i] - 'A' + 1);
    ++i;
  }
  if (i == 0 || i == reference.size() || letters > kMaxSheetColumns) return false;
  int32_t number = 0;
  const auto [end, error] =
      std::from_chars(reference.data() + i, reference.data() + reference.size(), number);
  if (error != std::errc() || end != reference.data() + reference.size() || number < 1) {
    return false;
  }
  row = number;
  column = static_cast<int32_t>(letters);
  return true;
}

}  // namespace lastora::detail
