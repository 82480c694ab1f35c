#include <gtest/gtest.h>

#include "lastora/variant.h"

namespace lastora {
namespace {

Regional English() {
  Regional english;
  english.decimal_separator = '.';
  english.grouping_separator = ',';
  english.true_text = "True";
  english.false_text = "False";
  return english;
}

TEST(RegionalTest, NumbersTruthAndPatternsFollowTheSettings) {
  const Regional german = CurrentRegional();
  SetRegional(English());
  EXPECT_DOUBLE_EQ(CDbl("1,234.5"), 1234.5);
  EXPECT_EQ(CStr(12.5), "12.5");
  EXPECT_EQ(CStr(true), "True");
  EXPECT_EQ(Format(2.5, "0.00"), "2.50");
  SetRegional(german);
  EXPECT_EQ(CStr(12.5), "12,5");
}

}  // namespace
}  // namespace lastora
