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

// Column 1 holds the key, column 2 the row's original position, column 3 a label.
Table KeyedTable(const std::vector<Variant>& keys) {
  Table table(static_cast<int32_t>(keys.size()), 3);
  for (int32_t row = 1; row <= table.RowUpper(); ++row) {
    table(row, 1) = keys[row - 1];
    table(row, 2) = Variant(row);
    table(row, 3) = Variant("Zeile " + std::to_string(row));
  }
  return table;
}

std::vector<int32_t> OriginalRows(const Table& table) {
  std::vector<int32_t> rows;
  for (int32_t row = table.RowLower(); row <= table.RowUpper(); ++row) {
    rows.push_back(table(row, 2).AsLong());
  }
  return rows;
}

void Sort(Table& table, int32_t first, int32_t last, int16_t key, int16_t direction) {
  QuickSortRows(first, last, key, direction, table);
}

TEST(QuickSortRows, BothDirectionsMoveWholeRows) {
  Table table = KeyedTable({Variant(3), Variant(1), Variant(2)});
  Sort(table, 1, 3, 1, 1);
  EXPECT_EQ(OriginalRows(table), (std::vector<int32_t>{2, 3, 1}));
  EXPECT_EQ(table(1, 3), Variant("Zeile 2"));
  Sort(table, 1, 3, 1, 0);
  EXPECT_EQ(OriginalRows(table), (std::vector<int32_t>{1, 3, 2}));
  Sort(table, 1, 3, 1, -5);  // any direction but 0 is ascending
  EXPECT_EQ(OriginalRows(table), (std::vector<int32_t>{2, 3, 1}));
}

TEST(QuickSortRows, EqualKeysEndInThePartitionsOrder) {
  // Not stable: the first exchange puts the last row on top.
  Table table = KeyedTable({Variant(2), Variant(1), Variant(2), Variant(1)});
  Sort(table, 1, 4, 1, 1);
  EXPECT_EQ(OriginalRows(table), (std::vector<int32_t>{4, 2, 3, 1}));
}

TEST(QuickSortRows, TextsByCodePointAndNumbersBeforeTexts) {
  Table table = KeyedTable(
      {Variant("b"), Variant("B"), Variant(10), Variant("ä"), Variant("a"), Variant(9.5)});
  Sort(table, 1, 6, 1, 1);
  EXPECT_EQ(OriginalRows(table), (std::vector<int32_t>{6, 3, 2, 5, 1, 4}));
}

TEST(QuickSortRows, OnlyTheGivenRowsMove) {
  Table table = KeyedTable({Variant(9), Variant(5), Variant(4), Variant(3), Variant(0)});
  Sort(table, 2, 4, 1, 1);
  EXPECT_EQ(OriginalRows(table), (std::vector<int32_t>{1, 4, 3, 2, 5}));
  Sort(table, 4, 2, 1, 1);
  Sort(table, 3, 3, 1, 0);
  EXPECT_EQ(OriginalRows(table), (std::vector<int32_t>{1, 4, 3, 2, 5}));
  EXPECT_EQ(ErrorOf([&] { Sort(table, 1, 6, 1, 1); }), 9);
  EXPECT_EQ(ErrorOf([&] { Sort(table, 1, 5, 4, 1); }), 9);
  EXPECT_EQ(OriginalRows(table), (std::vector<int32_t>{1, 4, 3, 2, 5}));
}

TEST(QuickSortRows, LargeRandomTablesEndSortedWithNoRowLost) {
  std::mt19937 random(20131231);
  std::uniform_int_distribution<int32_t> key(0, 300);
  std::vector<Variant> keys;
  for (int i = 0; i < 5000; ++i) keys.push_back(Variant(key(random)));
  for (int16_t direction : {1, 0}) {
    Table table = KeyedTable(keys);
    Sort(table, 1, table.RowUpper(), 1, direction);
    for (int32_t row = 2; row <= table.RowUpper(); ++row) {
      const int order = Compare(table(row - 1, 1), table(row, 1));
      ASSERT_TRUE(direction == 0 ? order >= 0 : order <= 0) << "row " << row;
    }
    std::vector<int32_t> rows = OriginalRows(table);
    std::sort(rows.begin(), rows.end());
    for (int32_t i = 0; i < static_cast<int32_t>(rows.size()); ++i) ASSERT_EQ(rows[i], i + 1);
    for (int32_t row = 1; row <= table.RowUpper(); ++row) {
      ASSERT_EQ(table(row, 1), keys[table(row, 2).AsLong() - 1]);
    }
  }
}

TEST(QuickSortRows, KeysOfMixedKindsOnlyReorderTheirRange) {
  // Empty equals both 0 and "", so these keys have no consistent order.
  Table table = KeyedTable({Variant("Rand"), Variant(), Variant(""), Variant(0), Variant(),
                            Variant(""), Variant(0), Variant(-1), Variant("Rand")});
  Sort(table, 2, 8, 1, 1);
  std::vector<int32_t> rows = OriginalRows(table);
  EXPECT_EQ(rows.front(), 1);
  EXPECT_EQ(rows.back(), 9);
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(QuickSortRows, NullKeyIsAFailure) {
  Table table = KeyedTable({Variant(1), Variant::Null(), Variant(3)});
  EXPECT_EQ(ErrorOf([&] { Sort(table, 1, 3, 1, 1); }), 94);
}

TEST(SortTable, LaterKeysOrderRowsWithEqualEarlierKeys) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> small(0, 4);
  Table table(400, 4);
  for (int32_t row = 1; row <= 400; ++row) {
    table(row, 1) = Variant(row);
    table(row, 2) = Variant(std::string(1, static_cast<char>('a' + small(random))));
    table(row, 3) = Variant(small(random));
    table(row, 4) = Variant(small(random) * 10 + small(random));
  }
  std::vector<int32_t> keys = {2, -3, 4};
  SortTable(keys, table);
  for (int32_t row = 2; row <= 400; ++row) {
    const int by_text = Compare(table(row - 1, 2), table(row, 2));
    const int by_number = Compare(table(row, 3), table(row - 1, 3));
    const int by_last = Compare(table(row - 1, 4), table(row, 4));
    ASSERT_TRUE(by_text < 0 ||
                (by_text == 0 && (by_number < 0 || (by_number == 0 && by_last <= 0))))
        << "row " << row;
  }
}

TEST(SortTable, BadKeyListsFailBeforeAnythingMoves) {
  Table table = KeyedTable({Variant(2), Variant(1)});
  std::vector<int32_t> zero = {1, 0};
  std::vector<int32_t> outside = {1, -4};
  EXPECT_EQ(ErrorOf([&] { SortTable(zero, table); }), 5);
  EXPECT_EQ(ErrorOf([&] { SortTable(outside, table); }), 9);
  EXPECT_EQ(OriginalRows(table), (std::vector<int32_t>{1, 2}));

  Table no_records;
  SortTable(outside, no_records);
  EXPECT_FALSE(no_records.IsAllocated());
}

}  // namespace
}  // namespace lastora
