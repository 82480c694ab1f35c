#include <gtest/gtest.h>

#include "lastora/variant.h"
#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ErrorOf;

TEST(CompareTest, NumbersCompareByValueAcrossKinds) {
  EXPECT_EQ(Compare(int16_t{2}, 2.0), 0);
  EXPECT_EQ(Compare(int32_t{2}, 2.5), -1);
  EXPECT_EQ(Compare(true, -1.0), 0);
  EXPECT_EQ(Compare(Variant::Date(41548), 41548.0), 0);
}

TEST(CompareTest, NumbersSortBeforeTextAndEmptyTakesTheOtherSidesKind) {
  EXPECT_EQ(Compare(1e9, "0"), -1);
  EXPECT_EQ(Compare(Variant(), 0.0), 0);
  EXPECT_EQ(Compare(Variant(), -1.0), 1);
  EXPECT_EQ(Compare(Variant(), ""), 0);
  EXPECT_EQ(Compare(Variant(), "a"), -1);
  // Null is no value at all.
  EXPECT_EQ(ErrorOf([] { Compare("a", Variant::Null()); }), 94);
}

}  // namespace
}  // namespace lastora
