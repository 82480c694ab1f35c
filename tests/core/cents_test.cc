#include "core/cents.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace lastora::money {
namespace {

// Each value is a trap for rounding the binary value instead of the decimals the cell shows.
TEST(Amount, CentsFollowTheShownDecimalsNotTheBinaryValue) {
  EXPECT_EQ(ToCents(0.29), 29);  // 0.29 * 100 lies just below 29
  EXPECT_EQ(ToCents(0.285), 29);
  EXPECT_EQ(ToCents(1.005), 101);
  EXPECT_EQ(ToCents(0.004), 0);
  EXPECT_EQ(ToCents(0.0049999999999), 0);
  EXPECT_EQ(ToCents(0.00500001), 1);
  EXPECT_EQ(ToCents(1234567.8949999), 123456789);
  EXPECT_EQ(ToCents(999999999.99), 99999999999);
  EXPECT_EQ(ToCents(-2.345), -235);
  EXPECT_EQ(ToCents(-0.0), 0);
  EXPECT_EQ(ToCents(0.1 + 0.2), 30);
}

TEST(Amount, WholeCentsSurviveTheTripThroughADouble) {
  for (int64_t cents = 0; cents < 1000000; ++cents) ASSERT_EQ(ToCents(cents / 100.0), cents);
}

TEST(Amount, TextsHaveTwoDecimalsAndNoGrouping) {
  EXPECT_EQ(CentsText(123450, '.'), "1234.50");
  EXPECT_EQ(CentsText(123450, ','), "1234,50");
  EXPECT_EQ(CentsText(0, ','), "0,00");
  EXPECT_EQ(CentsText(7, '.'), "0.07");
  EXPECT_EQ(CentsText(-1205, ','), "-12,05");
}

}  // namespace
}  // namespace lastora::money
