#include "accounts/bank_code_index.h"

#include "lastora/variant.h"
#include "lastora/vb_error.h"

namespace lastora::detail {

BankCodeIndex::BankCodeIndex(const Table& table, int32_t column) {
  if (table.RowCount() == 0) return;
  if (column < table.ColLower() || column > table.ColUpper()) throw VbError(9);
  first_row_.reserve(static_cast<size_t>(table.RowCount()));
  for (int32_t row = table.RowLower(); row <= table.RowUpper(); ++row) {
    const Variant& cell = table(row, column);
    if (cell.IsNull()) {
      if (first_null_row_ == 0) first_null_row_ = row;
      continue;
    }
    // An empty cell equals the empty text, as in the platform's comparison.
    const bool empty = cell.IsEmpty() || cell.IsMissing();
    first_row_.emplace(empty ? std::string() : cell.IsString() ? cell.AsString() : CStr(cell), row);
  }
}

int32_t BankCodeIndex::FirstRow(const std::string& bank_code) const {
  const auto found = first_row_.find(bank_code);
  const int32_t row = found == first_row_.end() ? 0 : found->second;
  if (first_null_row_ != 0 && (row == 0 || first_null_row_ < row)) throw VbError(94);
  return row;
}

}  // namespace lastora::detail
