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

// Each thread starts with the German settings and changes only its own: one converting under
// English ones meets neither the thread beside it nor the one that started both.
TEST(RegionalTest, ThreadsWithDifferentSettingsConvertSideBySide) {
  std::atomic<int> wrong{0};
  const auto convert = [&wrong](const Regional* regional, const char* expected) {
    if (regional != nullptr) SetRegional(*regional);
    for (int i = 0; i < 5000; ++i) {
      if (CStr(Variant(2.25)) != expected) ++wrong;
    }
  };
  const Regional english_settings = English();
  std::thread english(convert, &english_settings, "2.25");
  std::thread german(convert, nullptr, "2,25");
  english.join();
  german.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_EQ(CStr(Variant(1.5)), "1,5");
}

}  // namespace
}  // namespace lastora
