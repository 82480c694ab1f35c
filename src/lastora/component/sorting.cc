// Row sorting of tables: the partition sort whose exchange order callers can observe (it is not
// stable), and the several-key sort built on it.
#include <cstdlib>
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

void SortRows(int32_t first, int32_t last, int16_t key, bool ascending, Table& table) {
  // The two halves of a partition are disjoint, so sorting the smaller one first by recursion
  // and the larger one in this loop gives the same table as sorting left then right, with a
  // stack depth that stays logarithmic.
  for (;;) {
    const int32_t middle =
        static_cast<int32_t>((static_cast<int64_t>(first) + static_cast<int64_t>(last)) / 2);
    const Variant pivot = table.At(middle, key);
    int32_t i = first;
    int32_t j = last;
    while (i <= j) {
      // The bounds matter only for keys of mixed kinds: Empty equals both 0 and "", so such a
      // column has no consistent order and an unbounded scan could leave the range.
      while (i < last && Before(table.At(i, key), pivot, ascending)) ++i;
      while (j > first && Before(pivot, table.At(j, key), ascending)) --j;
      if (i <= j) {
        if (i < j && Compare(table.At(i, key), table.At(j, key)) != 0) table.SwapRows(i, j);
        ++i;
        --j;
      }
    }
    const bool sort_left = first < j;
    const bool sort_right = i < last;
    if (sort_left && sort_right) {
      if (j - first < last - i) {
        SortRows(first, j, key, ascending, table);
        first = i;
      } else {
        SortRows(i, last, key, ascending, table);
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
  SortKey key = keys[level];
  int32_t run_start = table.RowLower();
  for (int32_t row = run_start + 1; row <= table.RowUpper() + 1; ++row) {
    if (row <= table.RowUpper() && SameEarlierKeys(table, run_start, row, keys, level)) continue;
    int32_t run_end = row - 1;
    if (run_start < run_end) {
      QuickSortRows(run_start, run_end, key.column, key.direction, table);
    }
    run_start = row;
  }
}

}  // namespace

void QuickSortRows(int32_t& first_row, int32_t& last_row, int16_t& key_column, int16_t& direction,
                   Table& table) {
  SortRows(first_row, last_row, key_column, direction != 0, table);
}

void SortTable(std::vector<int32_t>& key_list, Table& table) {
  const std::vector<SortKey> keys = ValidatedKeys(key_list, table);
  if (!table.IsAllocated()) return;
  for (size_t level = 0; level < keys.size(); ++level) SortRunsByKey(table, keys, level);
}

}  // namespace lastora
