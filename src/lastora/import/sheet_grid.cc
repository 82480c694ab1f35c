#include "import/sheet_grid.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>

#include "core/row_order.h"
#include "core/text.h"
#include "lastora/vb_error.h"

namespace lastora::detail {
namespace {

// Enough for the largest member lists and bank-code tables many times over, and well below what
// a malformed file claiming a full sheet would make us allocate.
constexpr size_t kMaxCells = size_t{20} * 1000 * 1000;

const Variant& EmptyCell() {
  static const Variant empty;
  return empty;
}

// Where a key falls in the ascending order of the spreadsheet's sort.
enum class KeyRank { kNumber = 0, kText = 1, kBoolean = 2, kEmpty = 3 };

struct SortKey {
  KeyRank rank = KeyRank::kEmpty;
  double number = 0;
  std::string text;  // upper-cased: the sort ignores case
};

SortKey MakeKey(const Variant& cell) {
  SortKey key;
  switch (cell.type()) {
    case VarType::kInteger:
    case VarType::kLong:
    case VarType::kDouble:
      key.rank = KeyRank::kNumber;
      key.number = CDbl(cell);
      break;
    case VarType::kDate:
      key.rank = KeyRank::kNumber;
      key.number = cell.AsDate();
      break;
    case VarType::kString:
      key.rank = KeyRank::kText;
      key.text = text::UCase(cell.AsString());
      break;
    case VarType::kBoolean:
      key.rank = KeyRank::kBoolean;
      key.number = cell.AsBool() ? 1 : 0;
      break;
    default:
      break;
  }
  return key;
}

// <0 when a sorts before b in ascending order, ignoring where empty keys go.
int CompareKeys(const SortKey& a, const SortKey& b) {
  if (a.rank != b.rank) return a.rank < b.rank ? -1 : 1;
  if (a.rank == KeyRank::kText) return a.text.compare(b.text);
  if (a.number != b.number) return a.number < b.number ? -1 : 1;
  return 0;
}

}  // namespace

void SheetGrid::Set(int32_t row, int32_t column, Variant value) {
  if (row < 1 || row > kMaxSheetRows || column < 1 || column > kMaxSheetColumns) {
    throw VbError(1004, "Zelle außerhalb des Tabellenblatts");
  }
  if (value.IsEmpty()) return;
  Reserve(row, column);
  cells_(row, column) = std::move(value);
  last_row_ = std::max(last_row_, row);
  last_column_ = std::max(last_column_, column);
}

void SheetGrid::Reserve(int32_t rows, int32_t columns) {
  if (rows <= cells_.RowCount() && columns <= cells_.ColCount()) return;
  const bool wider = columns > cells_.ColCount();
  // Rows expected but not yet filled would only be moved along by widening.
  if (wider && cells_.RowCount() > last_row_) cells_.ResizeRows(last_row_);
  const size_t used = static_cast<size_t>(std::max(rows, cells_.RowCount())) *
                      static_cast<size_t>(std::max(columns, last_column_));
  if (used > kMaxCells) throw VbError(7);
  if (wider) {
    // Widening moves every stored row. A lone first row takes its width exactly, later rows at
    // least double it, so that rows growing one by one move the cells only a few times.
    const int32_t width =
        cells_.RowCount() <= 1
            ? columns
            : std::min(kMaxSheetColumns, std::max(columns, 2 * cells_.ColCount()));
    cells_.ResizeColumns(width);
  }
  if (rows > cells_.RowCount()) cells_.ResizeRows(rows);
}

void SheetGrid::ExpectRows(int32_t rows) {
  rows = std::min(rows, kMaxSheetRows);
  if (rows <= cells_.RowCount()) return;
  if (static_cast<size_t>(rows) * static_cast<size_t>(cells_.ColCount()) > kMaxCells) return;
  cells_.ResizeRows(rows);
}

const Variant& SheetGrid::At(int32_t row, int32_t column) const {
  if (row < 1 || column < 1 || row > cells_.RowCount() || column > cells_.ColCount()) {
    return EmptyCell();
  }
  return cells_(row, column);
}

bool SheetGrid::LooksLikeHeader(int32_t first_row, int32_t key_column) const {
  bool any_text = false;
  for (int32_t c = 1; c <= last_column_; ++c) {
    const Variant& cell = At(first_row, c);
    if (cell.IsEmpty()) continue;
    if (!cell.IsString()) return false;
    any_text = true;
  }
  if (!any_text) return false;
  const Variant& second_key = At(first_row + 1, key_column);
  return !second_key.IsEmpty() && !second_key.IsString();
}

void SheetGrid::SortRows(int32_t first_row, int32_t last_row, int32_t key_column, bool descending) {
  if (first_row < 1 || key_column < 1) throw VbError(1004);
  // Rows past the stored ones were taken or not yet filled and read empty; they stay last either
  // way.
  last_row = std::min({last_row, last_row_, cells_.RowCount()});
  if (last_row <= first_row) return;
  if (LooksLikeHeader(first_row, key_column)) ++first_row;

  std::vector<SortKey> keys;
  keys.reserve(static_cast<size_t>(last_row - first_row + 1));
  for (int32_t r = first_row; r <= last_row; ++r) keys.push_back(MakeKey(At(r, key_column)));
  std::vector<int32_t> order(keys.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
    const SortKey& ka = keys[static_cast<size_t>(a)];
    const SortKey& kb = keys[static_cast<size_t>(b)];
    const bool a_empty = ka.rank == KeyRank::kEmpty;
    const bool b_empty = kb.rank == KeyRank::kEmpty;
    if (a_empty || b_empty) return !a_empty && b_empty;
    const int c = CompareKeys(ka, kb);
    return descending ? c > 0 : c < 0;
  });
  ReorderRows(cells_, first_row, order);
}

namespace {

// The block as a table from 1, each stored cell of it handed over by give(row, column).
template <typename Give>
Table Block(const Table& cells, int32_t first_row, int32_t first_column, int32_t last_row,
            int32_t last_column, const Give& give) {
  Table block(last_row - first_row + 1, last_column - first_column + 1);
  const int32_t stored_rows = std::min(last_row, cells.RowCount());
  const int32_t stored_columns = std::min(last_column, cells.ColCount());
  for (int32_t r = first_row; r <= stored_rows; ++r) {
    for (int32_t c = first_column; c <= stored_columns; ++c) {
      block(r - first_row + 1, c - first_column + 1) = give(r, c);
    }
  }
  return block;
}

void CheckBlock(int32_t first_row, int32_t first_column, int32_t last_row, int32_t last_column) {
  if (first_row < 1 || first_column < 1 || last_row < first_row || last_column < first_column) {
    throw VbError(1004);
  }
}

}  // namespace

Table SheetGrid::ReadBlock(int32_t first_row, int32_t first_column, int32_t last_row,
                           int32_t last_column) const {
  CheckBlock(first_row, first_column, last_row, last_column);
  return Block(cells_, first_row, first_column, last_row, last_column,
               [this](int32_t r, int32_t c) { return cells_(r, c); });
}

Table SheetGrid::TakeBlock(int32_t first_row, int32_t first_column, int32_t last_row,
                           int32_t last_column) {
  CheckBlock(first_row, first_column, last_row, last_column);
  // A block reaching the sheet's left, right and bottom edges is most of the grid's storage:
  // it becomes the table, so that a large sheet is never held twice.
  if (first_column == 1 && last_column >= last_column_ && last_row >= last_row_) {
    return TakeLeadingColumns(first_row, last_row, last_column);
  }
  return Block(cells_, first_row, first_column, last_row, last_column,
               [this](int32_t r, int32_t c) { return std::move(cells_(r, c)); });
}

Table SheetGrid::TakeLeadingColumns(int32_t first_row, int32_t last_row, int32_t last_column) {
  Table block = std::exchange(cells_, Table());
  const int32_t above = std::min(first_row - 1, block.RowCount());
  if (above > 0) {
    cells_ = Table(above, block.ColCount());
    for (int32_t r = 1; r <= above; ++r) {
      for (int32_t c = 1; c <= block.ColCount(); ++c) cells_(r, c) = std::move(block(r, c));
    }
    // The emptied rows above sink below the block's rows.
    const int32_t stored_last = std::min(last_row, block.RowCount());
    for (int32_t r = first_row; r <= stored_last; ++r) block.SwapRows(r - above, r);
  }
  block.ResizeRows(last_row - first_row + 1);
  block.ResizeColumns(last_column);
  return block;
}

}  // namespace lastora::detail
