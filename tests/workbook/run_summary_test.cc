#include "lastora/run_summary.h"

#include <gtest/gtest.h>

namespace lastora {
namespace {

TEST(RunSummaryTest, StatedAndCountedFiguresCompareAsNumbers) {
  SEPAVARIABLEN record;
  record.ProgChecKANZ.Value = "2";
  record.ProgChecDANZ.Value = "2";
  record.ProgChecKSUM.Value = "30";
  record.ProgChecDSUM.Value = "30,00";
  std::vector<CheckedFigure> figures = CheckedFigures(record);
  ASSERT_EQ(figures.size(), 2u);
  EXPECT_TRUE(figures[0].same);
  EXPECT_TRUE(figures[1].same);
  EXPECT_EQ(figures[1].stated, "30,00");
  record.ProgChecDSUM.Value = "30,01";
  record.ProgChecDANZ.Value = "";
  figures = CheckedFigures(record);
  EXPECT_FALSE(figures[0].same);
  EXPECT_FALSE(figures[1].same);
  EXPECT_EQ(MoneyText(""), "0,00");
  EXPECT_EQ(MoneyText("1234,5"), "1234,50");
  EXPECT_EQ(MoneyText("abc"), "abc");
}

}  // namespace
}  // namespace lastora
