#include "import/sheet_grid.h"

#include <gtest/gtest.h>

#include "lastora/vb_error.h"

namespace lastora::detail {
namespace {

// Taking a block hands over the same cells reading it copies, long texts included, and leaves
// only the taken cells empty.
TEST(SheetGridTest, TakenBlockIsTheReadBlockAndLeavesItsCellsEmpty) {
  SheetGrid grid;
  grid.Set(1, 1, Variant("Kopf"));
  grid.Set(2, 2, Variant("ein Text länger als vierzehn Bytes"));
  grid.Set(3, 1, Variant(12.5));
  grid.Set(3, 4, Variant("kurz"));
  const Table read = grid.ReadBlock(2, 2, 5, 4);
  const Table taken = grid.TakeBlock(2, 2, 5, 4);
  ASSERT_EQ(taken.RowCount(), 4);
  ASSERT_EQ(taken.ColCount(), 3);
  for (int32_t r = 1; r <= 4; ++r) {
    for (int32_t c = 1; c <= 3; ++c) EXPECT_EQ(taken(r, c), read(r, c)) << r << "," << c;
  }
  EXPECT_EQ(taken(1, 1), Variant("ein Text länger als vierzehn Bytes"));
  EXPECT_TRUE(grid.At(2, 2).IsEmpty());
  EXPECT_TRUE(grid.At(3, 4).IsEmpty());
  EXPECT_EQ(grid.At(1, 1), Variant("Kopf"));  // above the block
  EXPECT_EQ(grid.LastRow(), 3);
  EXPECT_THROW(grid.TakeBlock(2, 1, 1, 1), VbError);
}

}  // namespace
}  // namespace lastora::detail
