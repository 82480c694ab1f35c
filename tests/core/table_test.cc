#include "lastora/table.h"

#include <gtest/gtest.h>

#include <string>

#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ErrorOf;

TEST(TableTest, IndexOutsideTheBoundsAndResizeRowsKeepsContentsAndLowerBound) {
  Table t(2, 3);
  for (auto [row, col] : {std::pair{0, 1}, {3, 1}, {1, 4}, {INT32_MIN, 1}, {1, INT32_MAX}}) {
    EXPECT_EQ(ErrorOf([&] { t.At(row, col); }), 9) << row << "," << col;
  }
  EXPECT_EQ(ErrorOf([] { Table(-1, 2); }), 9);

  // Worksheet ranges start at 1; a script may pass 0, and resizing keeps what is there.
  t = Table(2, 2, 0, 1);
  t(0, 1) = "a";
  t(1, 2) = "b";
  t.ResizeRows(4);
  EXPECT_EQ(t.RowUpper(), 3);
  EXPECT_EQ(t(1, 2), Variant("b"));
  EXPECT_TRUE(t(3, 2).IsEmpty());
  t(3, 1) = "eine Zeile, die wegfällt";
  t.ResizeRows(1);
  EXPECT_EQ(t(0, 1), Variant("a"));
  EXPECT_EQ(ErrorOf([&] { t(1, 2); }), 9);
  // Rows regained are new rows, not the ones let go.
  t.ResizeRows(4);
  EXPECT_TRUE(t(3, 1).IsEmpty());
}

// Columns are resized in place, so every row's cells must land in their new row, long texts
// (kept outside the cell) included, and cells of dropped columns must not reappear.
TEST(TableTest, ResizeColumnsKeepsEveryRowsLeadingCells) {
  const auto text = [](int32_t r, int32_t c) {
    return "Zeile " + std::to_string(r) + ", Spalte " + std::to_string(c);  // over 14 bytes
  };
  Table t(5, 3, 0, 1);
  for (int32_t r = 0; r <= 4; ++r) {
    for (int32_t c = 1; c <= 3; ++c) t(r, c) = text(r, c);
  }
  t.ResizeColumns(7);
  t(2, 7) = "rechts";
  t.ResizeColumns(2);
  t.ResizeColumns(4);
  ASSERT_EQ(t.RowUpper(), 4);
  for (int32_t r = 0; r <= 4; ++r) {
    for (int32_t c = 1; c <= 2; ++c) EXPECT_EQ(t(r, c), Variant(text(r, c))) << r << "," << c;
    for (int32_t c = 3; c <= 4; ++c) EXPECT_TRUE(t(r, c).IsEmpty()) << r << "," << c;
  }
  EXPECT_EQ(ErrorOf([&] { t.ResizeColumns(-1); }), 9);
}

// Large tables let go of their cells page by page, passing over pages never written: texts written
// anywhere must survive growth and be freed on shrinking and at the end (the leak check sees
// the rest), and a moved-from table is empty.
TEST(TableTest, LargeTablesKeepAndFreeTextsWrittenAnywhere) {
  const std::string text = "ein Text, der nicht in die Zelle passt";
  Table t(100000, 2);
  for (const int32_t row : {1, 50000, 100000}) t(row, 2) = text;
  t.ResizeRows(60000);
  t.ResizeRows(200000);
  EXPECT_EQ(t(1, 2), Variant(text));
  EXPECT_EQ(t(50000, 2), Variant(text));
  EXPECT_TRUE(t(100000, 2).IsEmpty());
  t(200000, 1) = text;
  Table moved(std::move(t));
  EXPECT_FALSE(t.IsAllocated());
  moved = Table(moved);
  EXPECT_EQ(moved(200000, 1), Variant(text));
  moved = Table(3, 3);
  EXPECT_EQ(moved.RowCount(), 3);
}

}  // namespace
}  // namespace lastora
