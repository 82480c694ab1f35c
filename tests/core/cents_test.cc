#include "core/cents.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace lastora::money {
namespace {

// Each value is a trap for rounding the binary value instead of the decimals the cell shows
// (0.29 * 100, for one, lies just below 29).
TEST(Amount, CentsFollowTheShownDecimalsAndTextsHaveTwoDecimalsWithoutGrouping) {
  std::vector<int64_t> cents;
  for (double value : {0.29, 0.285, 1.005, 0.004, 0.0049999999999, 0.00500001, 1234567.8949999,
                       999999999.99, -2.345, -0.0, 0.1 + 0.2}) {
    cents.push_back(ToCents(value));
  }
  EXPECT_EQ(cents,
            (std::vector<int64_t>{29, 29, 101, 0, 0, 1, 123456789, 99999999999, -235, 0, 30}));
  // Whole cents survive the trip through a double.
  for (int64_t cents = 0; cents < 1000000; ++cents) ASSERT_EQ(ToCents(cents / 100.0), cents);
  // Texts have two decimals and no grouping.
  EXPECT_EQ(CentsText(123450, '.'), "1234.50");
  EXPECT_EQ(CentsText(123450, ','), "1234,50");
  EXPECT_EQ(CentsText(0, ','), "0,00");
  EXPECT_EQ(CentsText(7, '.'), "0.07");
  EXPECT_EQ(CentsText(-1205, ','), "-12,05");
}

}  // namespace
}  // namespace lastora::money
