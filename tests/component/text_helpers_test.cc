#include <gtest/gtest.h>

#include <string>

#include "component/helpers.h"
#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ErrorOf;

// Lengths count characters; the fill is the first character of its text.
TEST(TextHelpers, PaddingCountsCharactersFillsWithTheFirstAndTextBetweenMarks) {
  EXPECT_EQ(PadLeft(Variant("Bär"), Variant(5), Variant("")), "  Bär");
  EXPECT_EQ(PadLeft(Variant(42), Variant(6), Variant(0)), "000042");
  EXPECT_EQ(PadRight(Variant("ab"), Variant(5), Variant("xyz")), "abxxx");
  EXPECT_EQ(ErrorOf([] { PadLeft(Variant("ab"), Variant(-1), Variant("x")); }), 5);

  // Between marks, an end mark before the start mark does not count.
  EXPECT_EQ(TextBetween("</Nm><Nm>Verein</Nm><Nm>B</Nm>", "<Nm>", "</Nm>"), "Verein");
  EXPECT_EQ(TextBetween("<Nm>Verein", "<Nm>", "</Nm>"), "");
  EXPECT_EQ(TextBetween("<a>x<a>y</a>", "<a>", "</a>"), "x<a>y");
}

TEST(TruncateDecimals, RoundsDownTowardsMinusInfinity) {
  for (auto [value, expected] : {std::pair{0.29, 0.28}, {-1.234, -1.24}, {2.678, 2.67}}) {
    double decimals = 2;
    EXPECT_DOUBLE_EQ(TruncateDecimals(value, decimals), expected) << value;
  }
  EXPECT_EQ(NullToZero(Variant::Null()), Variant(int16_t{0}));
}

}  // namespace
}  // namespace lastora
