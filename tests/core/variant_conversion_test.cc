#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "lastora/variant.h"
#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ErrorOf;

TEST(VariantConversionTest, NumberTextUsesGermanSeparators) {
  EXPECT_DOUBLE_EQ(CDbl("1.234.567,89"), 1234567.89);
  EXPECT_DOUBLE_EQ(CDbl("1.5"), 15);
  EXPECT_DOUBLE_EQ(CDbl("+2,5E-1"), 0.25);
  EXPECT_DOUBLE_EQ(CDbl(",5"), 0.5);
  EXPECT_EQ(ErrorOf([] { CDbl("1e400"); }), 6);
  EXPECT_DOUBLE_EQ(CDbl("1e-400"), 0);
}

TEST(VariantConversionTest, TextThatIsNoNumberAndNullOrMissingFail) {
  for (const char* text : {"", "   ", ".", "1,2,3", "-", "1e", "1 2", "12a", "1,2.3", "0x10"}) {
    EXPECT_FALSE(IsNumeric(text)) << text;
    EXPECT_EQ(ErrorOf([&] { CDbl(text); }), 13) << text;
  }
  EXPECT_FALSE(IsNumeric(Variant::Null()));
  EXPECT_FALSE(IsNumeric(Variant::Date(41000)));
  EXPECT_EQ(ErrorOf([] { CStr(Variant::Null()); }), 94);
  EXPECT_EQ(ErrorOf([] { CLng(Variant::Null()); }), 94);
  EXPECT_EQ(ErrorOf([] { CDbl(Variant::Missing()); }), 13);
}

TEST(VariantConversionTest, WholeNumbersRoundHalfToEvenIntDoesNot) {
  EXPECT_EQ(CLng(2.5), 2);
  EXPECT_EQ(CLng(3.5), 4);
  EXPECT_EQ(CLng(-2.5), -2);
  EXPECT_EQ(CLng(2.5000001), 3);
  EXPECT_EQ(CLng("2,5"), 2);
  EXPECT_EQ(CLng(Variant::Date(41000.75)), 41001);
  // Int rounds down.
  EXPECT_EQ(Int(-1.234), -2);
  EXPECT_EQ(Int(Variant("-2,5")), Variant(-3.0));
}

TEST(VariantConversionTest, WholeNumberOverflow) {
  EXPECT_EQ(CLng(2147483647.4), 2147483647);
  EXPECT_EQ(ErrorOf([] { CLng(2147483647.5); }), 6);
  EXPECT_EQ(ErrorOf([] { CLng(std::nan("")); }), 6);
  EXPECT_EQ(ErrorOf([] { CInt(32767.5); }), 6);
}

// printf's %.15G is the reference for the platform's number text; the fast path through the
// shortest representation must agree with it everywhere: first on the edges where rounding carries
// into the next decade or the exponent form begins, then on random values.
TEST(VariantConversionTest, TextOfNumbersAgreesWithFifteenDigitPrintf) {
  const auto reference = [](double x) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", x);
    std::string text(buffer);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
  };
  for (double x : {-1.5e-7, 0.1 + 0.2, 1e15, 0.00001, 9999999999999995.0, 99999.99999999999,
                   std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(),
                   120.0, -7.0, 999999999999999.0, -999999999999999.0, 1e14, -1e15}) {
    EXPECT_EQ(CStr(x), reference(x));
  }
  std::mt19937_64 random(20131001);
  for (int i = 0; i < 60000; ++i) {
    double x = 0;
    switch (i % 3) {
      case 0: {  // any bit pattern of a finite double
        const uint64_t bits = random();
        std::memcpy(&x, &bits, sizeof x);
        if (!std::isfinite(x)) continue;
        break;
      }
      case 1:  // amounts in cents
        x = static_cast<double>(static_cast<int64_t>(random() % 100000000000) - 50000000000) / 100;
        break;
      default:  // sums that carry binary noise
        x = static_cast<double>(random() % 1000000) / 100 + 0.1 + 0.2;
        break;
    }
    if (x == 0) continue;
    ASSERT_EQ(CStr(x), reference(x)) << i;
  }
}

}  // namespace
}  // namespace lastora
