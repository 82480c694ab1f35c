#include <gtest/gtest.h>

#include "lastora/variant.h"
#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ErrorOf;

TEST(FormatTest, NumberPatternsOnNumbersAndText) {
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
}

TEST(FormatTest, RoundsHalfAwayFromZero) {
  EXPECT_EQ(Format(2.5, "0"), "3");
  EXPECT_EQ(Format(-0.125, "0.00"), "-0,13");
  EXPECT_EQ(Format(2.675, "0.00"), "2,68");  // binary value just below the half
  EXPECT_EQ(Format(9.995, "0.00"), "10,00");
  EXPECT_EQ(Format(0.1 + 0.2, "0.00"), "0,30");
}

TEST(FormatTest, DatePatternsOnDatesTextAndNumbers) {
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
}

TEST(FormatTest, EmptyStaysEmptyAndUnsupportedPatternsFail) {
  EXPECT_EQ(Format(Variant(), "0.00"), "");
  EXPECT_EQ(ErrorOf([] { Format(Variant(), "#.##"); }), 5);
  EXPECT_EQ(ErrorOf([] { Format(1.0, "#,##0.00"); }), 5);
}

}  // namespace
}  // namespace lastora
