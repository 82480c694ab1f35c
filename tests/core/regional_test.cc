#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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

TEST(RegionalTest, SettingsOfOneThreadLeaveTheOthersAlone) {
  std::thread([] {
    SetRegional(English());
    EXPECT_EQ(CStr(Variant(1.5)), "1.5");
  }).join();
  EXPECT_EQ(CStr(Variant(1.5)), "1,5");
  std::thread([] { EXPECT_EQ(CurrentRegional().decimal_separator, ','); }).join();
}

TEST(RegionalTest, ThreadsWithDifferentSettingsConvertSideBySide) {
  std::atomic<int> wrong{0};
  const auto convert = [&wrong](const Regional& regional, const char* expected) {
    SetRegional(regional);
    for (int i = 0; i < 5000; ++i) {
      if (CStr(Variant(2.25)) != expected) ++wrong;
    }
  };
  std::thread english(convert, English(), "2.25");
  std::thread german(convert, Regional(), "2,25");
  english.join();
  german.join();
  EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace lastora
