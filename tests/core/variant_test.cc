// The platform's conversions, comparisons, dates and formats of numbers and dates.
#include "lastora/variant.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ErrorOf;

TEST(VariantConversionTest, NumberTextUsesGermanSeparatorsAndOtherTextFails) {
  EXPECT_DOUBLE_EQ(CDbl("1.234.567,89"), 1234567.89);
  EXPECT_DOUBLE_EQ(CDbl("1.5"), 15);
  EXPECT_DOUBLE_EQ(CDbl("+2,5E-1"), 0.25);
  EXPECT_DOUBLE_EQ(CDbl(",5"), 0.5);
  EXPECT_EQ(ErrorOf([] { CDbl("1e400"); }), 6);
  EXPECT_DOUBLE_EQ(CDbl("1e-400"), 0);
  // Text that is no number, Null and Missing fail.
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

TEST(VariantConversionTest, WholeNumbersRoundHalfToEvenIntDoesNotAndOverflow) {
  EXPECT_EQ(CLng(2.5), 2);
  EXPECT_EQ(CLng(3.5), 4);
  EXPECT_EQ(CLng(-2.5), -2);
  EXPECT_EQ(CLng(2.5000001), 3);
  EXPECT_EQ(CLng("2,5"), 2);
  EXPECT_EQ(CLng(Variant::Date(41000.75)), 41001);
  // Int rounds down.
  EXPECT_EQ(Int(-1.234), -2);
  EXPECT_EQ(Int(Variant("-2,5")), Variant(-3.0));
  EXPECT_EQ(CLng(2147483647.4), 2147483647);
  EXPECT_EQ(ErrorOf([] { CLng(2147483647.5); }), 6);
  EXPECT_EQ(ErrorOf([] { CLng(std::nan("")); }), 6);
  EXPECT_EQ(ErrorOf([] { CInt(32767.5); }), 6);
}

// printf's %.15G is the reference for number text; the shortest-representation fast path must
// agree on the edges where rounding carries or the exponent form begins, and on random values.
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

TEST(CompareTest, NumbersCompareByValueAcrossKinds) {
  EXPECT_EQ(Compare(int16_t{2}, 2.0), 0);
  EXPECT_EQ(Compare(int32_t{2}, 2.5), -1);
  EXPECT_EQ(Compare(true, -1.0), 0);
  EXPECT_EQ(Compare(Variant::Date(41548), 41548.0), 0);
  // Numbers sort before text; Empty takes the other side's kind.
  EXPECT_EQ(Compare(1e9, "0"), -1);
  EXPECT_EQ(Compare(Variant(), 0.0), 0);
  EXPECT_EQ(Compare(Variant(), -1.0), 1);
  EXPECT_EQ(Compare(Variant(), ""), 0);
  EXPECT_EQ(Compare(Variant(), "a"), -1);
  // Null is no value at all.
  EXPECT_EQ(ErrorOf([] { Compare("a", Variant::Null()); }), 94);
}

constexpr double k1Oct2013 = 41548;  // 01.10.2013

TEST(DateTest, SerialsCountFromThePlatformEpochRollOverAndSplitIntoParts) {
  EXPECT_EQ(MakeDate(1899, 12, 30), 0);
  EXPECT_EQ(MakeDate(2013, 10, 1), k1Oct2013);
  EXPECT_EQ(ErrorOf([] { MakeDate(10000, 1, 1); }), 5);
  // Months and days out of range roll over into the next.
  EXPECT_EQ(MakeDate(2013, 13, 1), MakeDate(2014, 1, 1));
  EXPECT_EQ(MakeDate(2012, 3, 0), MakeDate(2012, 2, 29));
  EXPECT_EQ(MakeDate(13, 10, 1), k1Oct2013);  // two-digit years as the platform reads them
  // Parts of a serial; a time that rounds to the next midnight moves to the next day.
  const double serial = MakeDate(2013, 9, 3) + MakeTime(9, 5, 7);
  EXPECT_EQ(Hour(serial), 9);
  EXPECT_EQ(Second(serial), 7);
  EXPECT_EQ(Year(MakeDate(2013, 12, 31) + 0.9999999), 2014);
  EXPECT_EQ(ErrorOf([] { Day(std::numeric_limits<double>::quiet_NaN()); }), 6);
  // AddMonths clamps the day to the month's end.
  EXPECT_EQ(AddMonths(MakeDate(2013, 1, 31), 1), MakeDate(2013, 2, 28));
  EXPECT_EQ(AddMonths(MakeDate(2012, 1, 31), 1), MakeDate(2012, 2, 29));
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

TEST(DateTest, DateTextFormsTwoDigitYearsNumbersAndTextThatIsNoDate) {
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
  // Numbers are serials; what CStr prints, CDate reads back.
  EXPECT_EQ(CDate(41548.0), k1Oct2013);
  EXPECT_EQ(ErrorOf([] { CDate(3e6); }), 6);
  EXPECT_EQ(CStr(Variant::Date(MakeDate(2013, 9, 3) + MakeTime(9, 5, 7))), "03.09.2013 09:05:07");
  const double serial = MakeDate(1987, 6, 5) + MakeTime(4, 3, 2);
  EXPECT_DOUBLE_EQ(CDate(CStr(Variant::Date(serial))), serial);
}

TEST(FormatTest, NumberPatternsOnNumbersAndTextRoundHalfAwayFromZero) {
  EXPECT_EQ(Format(1234.5, "0.00"), "1234,50");
  EXPECT_EQ(Format(7, "0000"), "0007");
  EXPECT_EQ(Format(123456789012345678.0, "0.00"), "123456789012346000,00");
  EXPECT_EQ(Format(-7, "0000"), "-0007");
  // A negative value that rounds to nothing carries no sign.
  EXPECT_EQ(Format(-0.001, "0.00"), "0,00");
  // Number text is converted first.
  EXPECT_EQ(Format("1.234,567", "0.00"), "1234,57");
  EXPECT_EQ(ErrorOf([] { Format("zwölf", "0.00"); }), 13);
  EXPECT_EQ(ErrorOf([] { Format(Variant::Null(), "0.00"); }), 94);
  // Halves round away from zero.
  EXPECT_EQ(Format(2.5, "0"), "3");
  EXPECT_EQ(Format(-0.125, "0.00"), "-0,13");
  EXPECT_EQ(Format(2.675, "0.00"), "2,68");  // binary value just below the half
  EXPECT_EQ(Format(9.995, "0.00"), "10,00");
  EXPECT_EQ(Format(0.1 + 0.2, "0.00"), "0,30");
}

TEST(FormatTest, DatePatternsOnDatesTextAndNumbersAndUnsupportedPatterns) {
  const Variant when = Variant::Date(MakeDate(2013, 9, 3) + MakeTime(14, 5, 7));
  EXPECT_EQ(Format(when, "DD.MM.YY"), "03.09.13");
  EXPECT_EQ(Format(when, "YYYYMMDDhhmmss"), "20130903140507");
  EXPECT_EQ(Format(when, "mm:ss"), "05:07");  // minutes because seconds follow
  EXPECT_EQ(Format(when, "DD.MM.YYYY HH:MM:SS"), "03.09.2013 14:05:07");
  // Text and numbers are read as dates first.
  EXPECT_EQ(Format("2013-10-01 08:00", "DD.MM.YYYY hh:mm"), "01.10.2013 08:00");
  EXPECT_EQ(Format("41548", "DD.MM.YYYY"), "01.10.2013");
  EXPECT_EQ(ErrorOf([] { Format("kein Datum", "DD.MM.YYYY"); }), 13);
  EXPECT_EQ(ErrorOf([] { Format(1e9, "DD.MM.YYYY"); }), 6);
  // Empty stays empty; patterns the platform has but this does not fail.
  EXPECT_EQ(Format(Variant(), "0.00"), "");
  EXPECT_EQ(ErrorOf([] { Format(Variant(), "#.##"); }), 5);
  EXPECT_EQ(ErrorOf([] { Format(1.0, "#,##0.00"); }), 5);
}

}  // namespace
}  // namespace lastora
