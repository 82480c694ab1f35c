#include "lastora/run_summary.h"

#include <gtest/gtest.h>

namespace lastora {
namespace {

TEST(RunSummaryTest, RowsWithFindingsNamedByMemberOrHolder) {
  Table values(3, 29);
  values(1, 3) = "Karin Albers";
  values(1, 26) = "IBAN falsch";
  values(2, 3) = "Paul Dietrich";  // nothing to report
  values(3, 3) = "Lena Conrad";
  values(3, 21) = "Conrad, Lena";
  values(3, 27) = "Mandat fehlt";
  const std::vector<RowFinding> findings = RowFindings(values);
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[0].row, 1);
  EXPECT_EQ(findings[0].name, "Karin Albers");
  EXPECT_EQ(findings[0].errors, "IBAN falsch");
  EXPECT_EQ(findings[1].row, 3);
  EXPECT_EQ(findings[1].name, "Conrad, Lena");
  EXPECT_EQ(findings[1].warnings, "Mandat fehlt");
  EXPECT_TRUE(RowFindings(Table()).empty());
}

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
