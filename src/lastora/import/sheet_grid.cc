#include "import/sheet_grid.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>

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
  const size_t r = static_cast<size_t>(row - 1);
  const size_t c = static_cast<size_t>(column - 1);
  if (rows_.size() <= r) rows_.resize(r + 1);
  Row& cells = rows_[r];
  if (cells.size() <= c) {
    cell_count_ += c + 1 - cells.size();
    if (cell_count_ > kMaxCells) throw VbError(7);
    // Rows tend to be as wide as the ones before: one allocation instead of several.
    if (cells.empty()) cells.reserve(std::max(c + 1, static_cast<size_t>(last_column_)));
    cells.resize(c + 1);
  }
  cells[c] = std::move(value);
  last_column_ = std::max(last_column_, column);
}

const Variant& SheetGrid::At(int32_t row, int32_t column) const {
  if (row < 1 || column < 1 || static_cast<size_t>(row) > rows_.size()) return EmptyCell();
  const Row& cells = rows_[static_cast<size_t>(row - 1)];
  if (static_cast<size_t>(column) > cells.size()) return EmptyCell();
  return cells[static_cast<size_t>(column - 1)];
}

bool SheetGrid::LooksLikeHeader(size_t first, int32_t key_column) const {
  const Row& head = rows_[first];
  bool any_text = false;
  for (const Variant& cell : head) {
    if (cell.IsEmpty()) continue;
    if (!cell.IsString()) return false;
    any_text = true;
  }
  if (!any_text) return false;
  const Variant& second_key = At(static_cast<int32_t>(first) + 2, key_column);
  return !second_key.IsEmpty() && !second_key.IsString();
}

void SheetGrid::SortRows(int32_t first_row, int32_t last_row, int32_t key_column, bool descending) {
  if (first_row < 1 || key_column < 1) throw VbError(1004);
  last_row = std::min(last_row, LastRow());
  if (last_row <= first_row) return;
  size_t first = static_cast<size_t>(first_row - 1);
  const size_t end = static_cast<size_t>(last_row);
  if (LooksLikeHeader(first, key_column)) ++first;

  std::vector<SortKey> keys;
  keys.reserve(end - first);
  for (size_t r = first; r < end; ++r) {
    keys.push_back(MakeKey(At(static_cast<int32_t>(r) + 1, key_column)));
  }
  std::vector<size_t> order(keys.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const SortKey& ka = keys[a];
    const SortKey& kb = keys[b];
    const bool a_empty = ka.rank == KeyRank::kEmpty;
    const bool b_empty = kb.rank == KeyRank::kEmpty;
    if (a_empty || b_empty) return !a_empty && b_empty;
    const int c = CompareKeys(ka, kb);
    return descending ? c > 0 : c < 0;
  });

  std::vector<Row> sorted;
  sorted.reserve(order.size());
  for (const size_t i : order) sorted.push_back(std::move(rows_[first + i]));
  std::move(sorted.begin(), sorted.end(), rows_.begin() + static_cast<ptrdiff_t>(first));
}

namespace {

// The block as a table from 1, filled from the stored rows: give(row, c) hands one cell over,
// done(row) is told when a row has given its part.
template <typename Rows, typename Give, typename Done>
Table Block(Rows& rows, int32_t first_row, int32_t first_column, int32_t last_row,
            int32_t last_column, const Give& give, const Done& done) {
  if (first_row < 1 || first_column < 1 || last_row < first_row || last_column < first_column) {
    throw VbError(1004);
  }
  Table block(last_row - first_row + 1, last_column - first_column + 1);
  const int32_t stored_last = std::min(last_row, static_cast<int32_t>(rows.size()));
  for (int32_t r = first_row; r <= stored_last; ++r) {
    auto& cells = rows[static_cast<size_t>(r - 1)];
    const int32_t stored_columns = std::min(last_column, static_cast<int32_t>(cells.size()));
    for (int32_t c = first_column; c <= stored_columns; ++c) {
      block(r - first_row + 1, c - first_column + 1) = give(cells, static_cast<size_t>(c - 1));
    }
    done(cells);
  }
  return block;
}

}  // namespace

Table SheetGrid::ReadBlock(int32_t first_row, int32_t first_column, int32_t last_row,
                           int32_t last_column) const {
  return Block(
      rows_, first_row, first_column, last_row, last_column,
      [](const Row& cells, size_t c) { return cells[c]; }, [](const Row&) {});
}

Table SheetGrid::TakeBlock(int32_t first_row, int32_t first_column, int32_t last_row,
                           int32_t last_column) {
  // Each row is let go as soon as its cells are in the table, so that a large sheet is not held
  // twice.
  return Block(
      rows_, first_row, first_column, last_row, last_column,
      [](Row& cells, size_t c) { return std::move(cells[c]); },
      [this](Row& cells) {
        cell_count_ -= cells.size();
        Row().swap(cells);
      });
}

}  // namespace lastora::detail
