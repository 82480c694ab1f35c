#include "generation/amount.h"

#include <gtest/gtest.h>

namespace lastora::generation {
namespace {

TEST(Amount, CentsFollowTheShownDecimalsNotTheBinaryValue) {
  EXPECT_EQ(ToCents(12.5), 1250);
  EXPECT_EQ(ToCents(5), 500);
  EXPECT_EQ(ToCents(0.01), 1);
  EXPECT_EQ(ToCents(0.29), 29);  // 0.29 * 100 lies just below 29
  EXPECT_EQ(ToCents(0.285), 29);
  EXPECT_EQ(ToCents(1.005), 101);
  EXPECT_EQ(ToCents(0.004), 0);
  EXPECT_EQ(ToCents(999999999.99), 99999999999);
  EXPECT_EQ(ToCents(-2.345), -235);
  EXPECT_EQ(ToCents(0.1 + 0.2), 30);
}

TEST(Amount, TextsHaveTwoDecimalsAndNoGrouping) {
  EXPECT_EQ(CentsText(500, '.'), "5.00");
  EXPECT_EQ(CentsText(123450, '.'), "1234.50");
  EXPECT_EQ(CentsText(123450, ','), "1234,50");
  EXPECT_EQ(CentsText(0, ','), "0,00");
  EXPECT_EQ(CentsText(7, '.'), "0.07");
  EXPECT_EQ(CentsText(-1205, ','), "-12,05");
}

}  // namespace
}  // namespace lastora::generation
