// Row sorting of tables: the partition sort whose exchange order callers can observe (it is not
// stable), and the several-key sort built on it.
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

#include "component/helpers.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

// True when a stands strictly before b in the sort direction.
bool Before(const Variant& a, const Variant& b, bool ascending) {
  const int order = Compare(a, b);
  return ascending ? order < 0 : order > 0;
}

// The partition sort runs on the rows' keys and a list of row numbers; the table's rows move only
// once at the end. Every decision depends on the key values alone, so the rows end where
// exchanging whole rows at each step would have put them, and a failing comparison leaves the
// table untouched.
class RowSorter {
 public:
  RowSorter(const Table& table, int32_t first, int32_t last, int16_t key, bool ascending)
      : first_(first), ascending_(ascending) {
    for (int32_t row = first; row <= last; ++row) {
      keys_.push_back(table.At(row, key));
      rows_.push_back(row);
    }
  }

  void Sort(int32_t first, int32_t last) {
    // The two halves of a partition are disjoint, so sorting the smaller one first by recursion
    // and the larger one in this loop gives the same order as left then right, with a stack
    // depth that stays logarithmic.
    for (;;) {
      const int32_t middle =
          static_cast<int32_t>((static_cast<int64_t>(first) + static_cast<int64_t>(last)) / 2);
      const Variant& pivot = Key(middle);
      int32_t i = first;
      int32_t j = last;
      while (i <= j) {
        // The scans stay inside the range without trusting the keys to be consistently ordered:
        // in a column of mixed kinds Empty equals both 0 and "", which differ.
        while (i < last && Before(Key(i), pivot, ascending_)) ++i;
        while (j > first && Before(pivot, Key(j), ascending_)) --j;
        if (i <= j) {
          if (i < j && Compare(Key(i), Key(j)) != 0) Exchange(i, j);
          ++i;
          --j;
        }
      }
      const bool sort_left = first < j;
      const bool sort_right = i < last;
      if (sort_left && sort_right) {
        if (j - first < last - i) {
          Sort(first, j);
          first = i;
        } else {
          Sort(i, last);
          last = j;
        }
      } else if (sort_left) {
        last = j;
      } else if (sort_right) {
        first = i;
      } else {
        return;
      }
    }
  }

  // Moves every row to its sorted place, one cycle of the permutation at a time.
  void Apply(Table& table) const {
    std::vector<bool> placed(rows_.size(), false);
    for (size_t start = 0; start < rows_.size(); ++start) {
      if (placed[start]) continue;
      placed[start] = true;
      for (size_t at = start;;) {
        const size_t from = static_cast<size_t>(rows_[at] - first_);
        if (from == start) break;
        table.SwapRows(first_ + static_cast<int32_t>(at), first_ + static_cast<int32_t>(from));
        placed[from] = true;
        at = from;
      }
    }
  }

 private:
  size_t Slot(int32_t row) const { return static_cast<size_t>(row - first_); }
  // The key of the row now standing at this position; the keys themselves never move.
  const Variant& Key(int32_t position) const { return keys_[Slot(rows_[Slot(position)])]; }
  void Exchange(int32_t a, int32_t b) { std::swap(rows_[Slot(a)], rows_[Slot(b)]); }

  int32_t first_;
  bool ascending_;
  std::vector<Variant> keys_;  // keys_[k]: the key of row first_ + k as passed
  std::vector<int32_t> rows_;  // rows_[k]: the row that ends at first_ + k
};

struct SortKey {
  int16_t column;
  int16_t direction;
};

std::vector<SortKey> ValidatedKeys(const std::vector<int32_t>& key_list, const Table& table) {
  std::vector<SortKey> keys;
  for (const int32_t entry : key_list) {
    if (entry == 0) throw VbError(5);
    const int32_t column = std::abs(entry);
    if (column < table.ColLower() || column > table.ColUpper()) throw VbError(9);
    // The partition sort takes its key column as a 16-bit number.
    if (column > std::numeric_limits<int16_t>::max()) throw VbError(6);
    keys.push_back({static_cast<int16_t>(column), static_cast<int16_t>(entry > 0 ? 1 : 0)});
  }
  return keys;
}

bool SameEarlierKeys(const Table& table, int32_t row_a, int32_t row_b,
                     const std::vector<SortKey>& keys, size_t count) {
  for (size_t k = 0; k < count; ++k) {
    if (Compare(table.At(row_a, keys[k].column), table.At(row_b, keys[k].column)) != 0) {
      return false;
    }
  }
  return true;
}

// Sorts each run of rows whose first `level` keys are equal by key number `level`.
void SortRunsByKey(Table& table, const std::vector<SortKey>& keys, size_t level) {
  const SortKey key = keys[level];
  int32_t run_start = table.RowLower();
  for (int32_t row = run_start + 1; row <= table.RowUpper() + 1; ++row) {
    if (row <= table.RowUpper() && SameEarlierKeys(table, run_start, row, keys, level)) continue;
    const int32_t run_end = row - 1;
    if (run_start < run_end) {
      QuickSortRows(run_start, run_end, key.column, key.direction, table);
    }
    run_start = row;
  }
}

}  // namespace

void QuickSortRows(int32_t first_row, int32_t last_row, int16_t key_column, int16_t direction,
                   Table& table) {
  if (first_row > last_row) return;
  RowSorter sorter(table, first_row, last_row, key_column, direction != 0);
  sorter.Sort(first_row, last_row);
  sorter.Apply(table);
}

void SortTable(const std::vector<int32_t>& key_list, Table& table) {
  // A mail merge without records has nothing to sort, whatever its key list says.
  if (!table.IsAllocated()) return;
  const std::vector<SortKey> keys = ValidatedKeys(key_list, table);
  for (size_t level = 0; level < keys.size(); ++level) SortRunsByKey(table, keys, level);
}

}  // namespace lastora
