#include <gtest/gtest.h>

#include <limits>

#include "lastora/variant.h"
#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ErrorOf;

constexpr double k1Oct2013 = 41548;  // 01.10.2013

TEST(DateTest, SerialsCountFromThePlatformEpochAndRollOver) {
  EXPECT_EQ(MakeDate(1899, 12, 30), 0);
  EXPECT_EQ(MakeDate(2013, 10, 1), k1Oct2013);
  EXPECT_EQ(ErrorOf([] { MakeDate(10000, 1, 1); }), 5);
  // Months and days out of range roll over into the next.
  EXPECT_EQ(MakeDate(2013, 13, 1), MakeDate(2014, 1, 1));
  EXPECT_EQ(MakeDate(2012, 3, 0), MakeDate(2012, 2, 29));
  EXPECT_EQ(MakeDate(13, 10, 1), k1Oct2013);  // two-digit years as the platform reads them
}

// Walks the calendar day by day with plain month lengths and checks both directions of the
// serial arithmetic against it, across the Julian-Gregorian era boundaries of 1900 and 2000.
TEST(DateTest, EveryDayFrom1800To2200) {
  const int kMonthLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  double serial = MakeDate(1800, 1, 1);
  for (int year = 1800; year <= 2200; ++year) {
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    for (int month = 1; month <= 12; ++month) {
      const int length = kMonthLengths[month - 1] + (month == 2 && leap ? 1 : 0);
      for (int day = 1; day <= length; ++day, ++serial) {
        ASSERT_EQ(MakeDate(year, month, day), serial) << day << "." << month << "." << year;
        ASSERT_EQ(Year(serial), year);
        ASSERT_EQ(Month(serial), month);
        ASSERT_EQ(Day(serial), day);
      }
    }
  }
}

TEST(DateTest, PartsOfASerialAndAddMonths) {
  const double serial = MakeDate(2013, 9, 3) + MakeTime(9, 5, 7);
  EXPECT_EQ(Hour(serial), 9);
  EXPECT_EQ(Second(serial), 7);
  // A time that rounds to the next midnight moves to the next day.
  EXPECT_EQ(Year(MakeDate(2013, 12, 31) + 0.9999999), 2014);
  EXPECT_EQ(ErrorOf([] { Day(std::numeric_limits<double>::quiet_NaN()); }), 6);
  // AddMonths clamps the day to the month's end.
  EXPECT_EQ(AddMonths(MakeDate(2013, 1, 31), 1), MakeDate(2013, 2, 28));
  EXPECT_EQ(AddMonths(MakeDate(2012, 1, 31), 1), MakeDate(2012, 2, 29));
}

TEST(DateTest, DateTextFormsTwoDigitYearsAndTextThatIsNoDate) {
  EXPECT_EQ(CDate("01.10.2013"), k1Oct2013);
  EXPECT_EQ(CDate("1.10.13"), k1Oct2013);
  EXPECT_EQ(CDate("2013-10-01"), k1Oct2013);
  EXPECT_DOUBLE_EQ(CDate("2013-10-01 9:05:07"), k1Oct2013 + MakeTime(9, 5, 7));
  // Two-digit years follow the window.
  EXPECT_EQ(Year(CDate("1.1.29")), 2029);
  EXPECT_EQ(Year(CDate("1.1.30")), 1930);
  // Days and times that do not exist, then forms the platform does not read.
  for (const char* text : {"29.02.2013", "32.01.2013", "01.13.2013", "2013-02-29", "12:60",
                           "01.10.2013x", "", "45000", "01/10/2013"}) {
    EXPECT_FALSE(IsDate(text)) << text;
    EXPECT_EQ(ErrorOf([&] { CDate(text); }), 13) << text;
  }
  EXPECT_TRUE(IsDate("29.02.2000"));
  EXPECT_FALSE(IsDate("29.02.1900"));
  EXPECT_FALSE(IsDate(Variant(41000.0)));
}

TEST(DateTest, NumbersAreSerialsAndTextOfDates) {
  EXPECT_EQ(CDate(41548.0), k1Oct2013);
  EXPECT_EQ(ErrorOf([] { CDate(3e6); }), 6);
  EXPECT_EQ(CStr(Variant::Date(MakeDate(2013, 9, 3) + MakeTime(9, 5, 7))), "03.09.2013 09:05:07");
  // What CStr prints, CDate reads back.
  const double serial = MakeDate(1987, 6, 5) + MakeTime(4, 3, 2);
  EXPECT_DOUBLE_EQ(CDate(CStr(Variant::Date(serial))), serial);
}

}  // namespace
}  // namespace lastora
