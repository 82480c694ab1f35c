#include "checkers/result_table.h"

#include <algorithm>

#include "lastora/payment_table.h"
#include "lastora/variant.h"
#include "lastora/vb_error.h"

namespace lastora::result_table {

void LayOut(int32_t rows, Table& values, Table& colours) {
  if (rows < 1) throw VbError(9);
  values = Table(rows, payment_table::kColumnCount);
  colours = Table(rows, payment_table::kColumnCount);
}

void EnsureRow(int32_t row, Table& values, Table& colours) {
  if (row <= values.RowUpper()) return;
  const int32_t rows = std::max(row - values.RowLower() + 1, 2 * values.RowCount());
  values.ResizeRows(rows);
  colours.ResizeRows(rows);
}

std::string AmountText(int64_t cents) {
  const uint64_t magnitude =
      cents < 0 ? 0 - static_cast<uint64_t>(cents) : static_cast<uint64_t>(cents);
  std::string amount = cents < 0 ? "-" : "";
  amount += std::to_string(magnitude / 100);
  amount += ',';
  amount += static_cast<char>('0' + magnitude % 100 / 10);
  amount += static_cast<char>('0' + magnitude % 10);
  return amount;
}

std::string SumText(int64_t cents) { return CStr(Variant(static_cast<double>(cents) / 100.0)); }

}  // namespace lastora::result_table
