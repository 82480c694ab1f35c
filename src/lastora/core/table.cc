#include "lastora/table.h"

#include <algorithm>

#include "lastora/vb_error.h"

namespace lastora {

namespace {

// A negative extent is the platform's "subscript out of range" when dimensioning an array.
size_t Extent(int32_t count) {
  if (count < 0) throw VbError(9);
  return static_cast<size_t>(count);
}

// Position of an index among count entries starting at lower; 64-bit so that bounds near
// INT32_MAX cannot wrap into a valid index.
size_t IndexOffset(int32_t index, int32_t lower, int64_t count) {
  const int64_t offset = static_cast<int64_t>(index) - lower;
  if (offset < 0 || offset >= count) throw VbError(9);
  return static_cast<size_t>(offset);
}

}  // namespace

Table::Table(int32_t rows, int32_t cols, int32_t row_lower, int32_t col_lower)
    : rows_(rows), cols_(cols), row_lower_(row_lower), col_lower_(col_lower) {
  cells_.resize(Extent(rows) * Extent(cols));
}

Variant& Table::At(int32_t row, int32_t col) {
  return const_cast<Variant&>(static_cast<const Table&>(*this).At(row, col));
}

const Variant& Table::At(int32_t row, int32_t col) const {
  const size_t r = IndexOffset(row, row_lower_, rows_);
  const size_t c = IndexOffset(col, col_lower_, cols_);
  return cells_[r * static_cast<size_t>(cols_) + c];
}

void Table::ResizeRows(int32_t rows) {
  // Cells are stored row by row, so keeping the leading rows is a plain resize.
  cells_.resize(Extent(rows) * Extent(cols_));
  rows_ = rows;
}

void Table::SwapRows(int32_t a, int32_t b) {
  const size_t first = IndexOffset(a, row_lower_, rows_) * static_cast<size_t>(cols_);
  const size_t second = IndexOffset(b, row_lower_, rows_) * static_cast<size_t>(cols_);
  if (first == second) return;
  std::swap_ranges(cells_.begin() + first, cells_.begin() + first + cols_, cells_.begin() + second);
}

VariantArray::VariantArray(int32_t count, int32_t lower) : lower_(lower), cells_(Extent(count)) {}

Variant& VariantArray::At(int32_t index) {
  return const_cast<Variant&>(static_cast<const VariantArray&>(*this).At(index));
}

const Variant& VariantArray::At(int32_t index) const {
  return cells_[IndexOffset(index, lower_, static_cast<int64_t>(cells_.size()))];
}

}  // namespace lastora
