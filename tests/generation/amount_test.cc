#include "generation/amount.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

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

// The rule written out on the decimal text, digit by digit, as the treasurer reads the amount.
int64_t CentsByDecimalText(double amount) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", std::fabs(amount));
  const std::string text = buffer;
  const size_t point = text.find('.');
  const std::string whole = text.substr(0, point);
  std::string decimals = point == std::string::npos ? "" : text.substr(point + 1);
  decimals.resize(std::max<size_t>(decimals.size(), 3), '0');
  int64_t cents = std::stoll(whole) * 100 + std::stoll(decimals.substr(0, 2));
  if (decimals[2] >= '5') ++cents;
  return amount < 0 ? -cents : cents;
}

TEST(Amount, CentsAgreeWithTheDecimalTextAcrossTheRange) {
  std::mt19937_64 random(20131001);
  std::uniform_int_distribution<int64_t> cents_of(0, 99999999999);
  std::uniform_int_distribution<int> noise_of(-3, 3);
  for (int n = 0; n < 30000; ++n) {
    const int64_t cents = n < 10000 ? n : cents_of(random);
    // Whole cents as a spreadsheet sum leaves them, half cents, and values just beside both.
    const double whole = static_cast<double>(cents) / 100.0;
    const double half = (static_cast<double>(cents) + 0.5) / 100.0;
    for (double base : {whole, half, -whole, -half}) {
      double amount = base;
      // Noise on zero would make a denormal, which no cell holds.
      for (int step = base == 0 ? 0 : noise_of(random); step != 0; step += step < 0 ? 1 : -1) {
        amount = std::nextafter(amount, step < 0 ? -1e300 : 1e300);
      }
      ASSERT_EQ(ToCents(amount), CentsByDecimalText(amount)) << amount;
    }
  }
  for (double amount : {0.0, -0.0, 0.004999999, 0.00500001, 1234567.8949999, 0.0049999999999}) {
    EXPECT_EQ(ToCents(amount), CentsByDecimalText(amount)) << amount;
  }
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
