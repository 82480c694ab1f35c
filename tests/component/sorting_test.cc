#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "component/helpers.h"
#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ErrorOf;

// Column 2 holds each row's original position.
std::vector<int32_t> OriginalRows(const Table& table) {
  std::vector<int32_t> rows;
  for (int32_t row = table.RowLower(); row <= table.RowUpper(); ++row) {
    rows.push_back(table(row, 2).AsLong());
  }
  return rows;
}

TEST(QuickSortRows, LargeRandomTablesEndSortedWithNoRowLost) {
  std::mt19937 random(20131231);
  Table table(5000, 2);
  for (int32_t row = 1; row <= 5000; ++row) {
    table(row, 1) = Variant(static_cast<int32_t>(random() % 301));
    table(row, 2) = Variant(row);
  }
  QuickSortRows(1, table.RowUpper(), 1, 1, table);
  for (int32_t row = 2; row <= table.RowUpper(); ++row) {
    ASSERT_LE(Compare(table(row - 1, 1), table(row, 1)), 0) << "row " << row;
  }
  std::vector<int32_t> rows = OriginalRows(table);
  std::sort(rows.begin(), rows.end());
  for (int32_t i = 0; i < static_cast<int32_t>(rows.size()); ++i) ASSERT_EQ(rows[i], i + 1);
}

// Keys 1 ascending, 3 descending, 4 ascending; bad key lists fail before anything moves.
TEST(SortTable, LaterKeysOrderRowsWithEqualEarlierKeys) {
  Table table(5, 4);
  const Variant rows[5][4] = {
      {"b", 1, 1, 5}, {"a", 2, 1, 7}, {"a", 3, 2, 9}, {"a", 4, 1, 3}, {"b", 5, 1, 4}};
  for (int32_t row = 1; row <= 5; ++row) {
    for (int32_t col = 1; col <= 4; ++col) table(row, col) = rows[row - 1][col - 1];
  }
  std::vector<int32_t> zero = {1, 0};
  EXPECT_EQ(ErrorOf([&] { SortTable(zero, table); }), 5);
  EXPECT_EQ(OriginalRows(table), (std::vector<int32_t>{1, 2, 3, 4, 5}));
  std::vector<int32_t> keys = {1, -3, 4};
  SortTable(keys, table);
  EXPECT_EQ(OriginalRows(table), (std::vector<int32_t>{3, 4, 2, 5, 1}));
}

}  // namespace
}  // namespace lastora
