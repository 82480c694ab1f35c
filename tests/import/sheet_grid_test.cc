#include "import/sheet_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/field_texts.h"

namespace lastora::detail {
namespace {

using testing::Grid;
using testing::GridOf;

// Sorting moves whole rows in place; against a plain stable sort of the same rows, every row must
// arrive whole and in order, for permutations with long cycles as well as fixed rows.
TEST(SheetGridTest, SortedRowsMatchAStableSortOfTheRows) {
  struct Row {
    int32_t key;
    std::string name;
  };
  std::vector<Row> rows;
  for (int32_t i = 0; i < 200; ++i)
    rows.push_back({(i * 37) % 23, "Mitglied Nummer " + std::to_string(i)});
  for (const bool descending : {false, true}) {
    SheetGrid grid;
    grid.Set(1, 1, Variant("Nr"));
    grid.Set(1, 2, Variant("Name"));
    for (size_t i = 0; i < rows.size(); ++i) {
      const int32_t r = static_cast<int32_t>(i) + 2;
      grid.Set(r, 1, Variant(rows[i].key));
      grid.Set(r, 2, Variant(rows[i].name));
    }
    grid.SortRows(1, grid.LastRow(), 1, descending);
    std::vector<Row> sorted = rows;
    std::stable_sort(sorted.begin(), sorted.end(), [descending](const Row& a, const Row& b) {
      return descending ? a.key > b.key : a.key < b.key;
    });
    Grid expected = {{"Nr", "Name"}};  // the header stays on top
    for (const Row& row : sorted) expected.push_back({row.key, row.name});
    EXPECT_EQ(GridOf(grid.ReadBlock(1, 1, grid.LastRow(), 2)), expected) << descending;
  }
}

}  // namespace
}  // namespace lastora::detail
