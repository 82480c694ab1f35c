#include "lastora/table.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/large_pages.h"
#include "core/touched_pages.h"
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

using Cells = std::vector<Variant, detail::ZeroedCells<Variant>>;

// Calls `visit` for each cell of [first, last) that may have been written: the cells on pages
// never touched are Empty, and reading them would make the system back those pages.
template <typename Visit>
void ForEachWrittenCell(Variant* first, Variant* last, Visit visit) {
  memory::ForEachTouchedStretch(first, static_cast<size_t>(last - first) * sizeof(Variant),
                                [&](size_t from, size_t to) {
                                  for (size_t i = from / sizeof(Variant);
                                       i < (to + sizeof(Variant) - 1) / sizeof(Variant); ++i) {
                                    visit(first[i], i);
                                  }
                                });
}

// Lets go of the texts of cells [first, last) and leaves them Empty, so that cells regained within
// the capacity are Empty as well. An Empty cell is left unwritten: its page may only ever have
// been read.
void Release(Variant* first, Variant* last) {
  ForEachWrittenCell(first, last, [](Variant& cell, size_t) {
    if (!cell.IsEmpty()) cell = Variant();
  });
}

// Room for `count` cells, growing geometrically as a vector does, with the new memory advised
// before anything touches it. Only the cells written so far move; the rest are Empty in the new
// room as they were in the old.
void Reserve(Cells& cells, size_t count) {
  if (count <= cells.capacity()) return;
  Cells room;
  room.reserve(std::max(count, 2 * cells.size()));
  memory::PreferLargePages(room.data(), room.capacity() * sizeof(Variant));
  room.resize(cells.size());
  ForEachWrittenCell(cells.data(), cells.data() + cells.size(), [&](Variant& cell, size_t i) {
    if (!cell.IsEmpty()) room[i] = std::move(cell);
  });
  cells.swap(room);
}

}  // namespace

void ThrowSubscriptOutOfRange() { throw VbError(9); }

Table::Table(int32_t rows, int32_t cols, int32_t row_lower, int32_t col_lower)
    : rows_(rows), cols_(cols), row_lower_(row_lower), col_lower_(col_lower) {
  const size_t cells = Extent(rows) * Extent(cols);
  Reserve(cells_, cells);
  cells_.resize(cells);
}

Table::Table(Table&& other) noexcept
    : rows_(std::exchange(other.rows_, 0)),
      cols_(std::exchange(other.cols_, 0)),
      row_lower_(other.row_lower_),
      col_lower_(other.col_lower_),
      cells_(std::move(other.cells_)) {}

Table& Table::operator=(const Table& other) {
  if (this != &other) *this = Table(other);
  return *this;
}

Table& Table::operator=(Table&& other) noexcept {
  if (this == &other) return *this;
  Release(cells_.data(), cells_.data() + cells_.size());
  cells_ = std::move(other.cells_);
  rows_ = std::exchange(other.rows_, 0);
  cols_ = std::exchange(other.cols_, 0);
  row_lower_ = other.row_lower_;
  col_lower_ = other.col_lower_;
  return *this;
}

Table::~Table() { Release(cells_.data(), cells_.data() + cells_.size()); }

void Table::ResizeRows(int32_t rows) {
  // Cells are stored row by row, so keeping the leading rows is a plain resize.
  const size_t cells = Extent(rows) * Extent(cols_);
  if (cells < cells_.size()) Release(cells_.data() + cells, cells_.data() + cells_.size());
  Reserve(cells_, cells);
  cells_.resize(cells);
  rows_ = rows;
}

void Table::ResizeColumns(int32_t cols) {
  const size_t old_cols = static_cast<size_t>(cols_);
  const size_t new_cols = Extent(cols);
  const size_t rows = static_cast<size_t>(rows_);
  const auto row_start = [this](size_t row, size_t width) {
    return cells_.begin() + static_cast<ptrdiff_t>(row * width);
  };
  if (new_cols < old_cols) {
    // Rows only move towards the front, so each lands on cells already moved or dropped; the
    // dropped cells' texts are let go by the assignment or with the cells past the new end.
    for (size_t r = 1; r < rows; ++r) {
      std::move(row_start(r, old_cols), row_start(r, old_cols) + static_cast<ptrdiff_t>(new_cols),
                row_start(r, new_cols));
    }
    Release(cells_.data() + rows * new_cols, cells_.data() + cells_.size());
    cells_.resize(rows * new_cols);
  } else if (new_cols > old_cols) {
    Reserve(cells_, rows * new_cols);
    cells_.resize(rows * new_cols);
    // From the last row down, each row moves to the back past cells no earlier row occupies; a
    // moved-from cell is Empty, which is what the widened part of a row must read.
    for (size_t r = rows; r-- > 1;) {
      std::move_backward(row_start(r, old_cols),
                         row_start(r, old_cols) + static_cast<ptrdiff_t>(old_cols),
                         row_start(r, new_cols) + static_cast<ptrdiff_t>(old_cols));
    }
  }
  cols_ = cols;
}

void Table::SwapRows(int32_t a, int32_t b) {
  const size_t first = IndexOffset(a, row_lower_, rows_) * static_cast<size_t>(cols_);
  const size_t second = IndexOffset(b, row_lower_, rows_) * static_cast<size_t>(cols_);
  if (first == second) return;
  std::swap_ranges(cells_.begin() + first, cells_.begin() + first + cols_, cells_.begin() + second);
}

VariantArray::VariantArray(int32_t count, int32_t lower) : lower_(lower), cells_(Extent(count)) {}

}  // namespace lastora
