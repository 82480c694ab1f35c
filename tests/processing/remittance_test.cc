// Remittance lines and mandate checks of the processing run.
#include <gtest/gtest.h>

#include <string>

#include "processing/run_findings.h"

namespace lastora::testing {
namespace {

using RemittanceTest = FindingsTest;

TEST_F(RemittanceTest, LinesFollowTheSettingsEachAtTheFullWidth) {
  settings.SepaFuncVER1.Value = "Beitrag 2013";
  settings.SepaFuncVER2.Value = "Mandat-ID";
  settings.SepaFuncVER3.Value = "Mitgliedsname";
  settings.SepaFuncVER4.Value = "Danke";
  StartTable(1);
  SetMember(1, {.name = "Anna", .mandate = "M-1"});

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(Text(1, 9), Quoted(Padded("Beitrag 2013", 35)) + "," +
                            Quoted(Padded("Mandatsreferenz M-1", 35)) + "," +
                            Quoted(Padded("Anna", 35)) + "," + Quoted(Padded("Danke", 35)));
  // 151 characters, but the fill blanks count half in the SEPA length check.
  EXPECT_EQ(Text(1, 27), "");
}

TEST_F(RemittanceTest, OnlyTheLaterRowOfADuplicateMandateIsMarked) {
  settings.ProgBearFehl.Value = "0";
  StartTable(6);
  SetMember(1, {.name = "A", .iban = "DE01", .mandate = "M-7"});
  SetMember(2, {.name = "B", .iban = "DE02", .mandate = " M-7 "});
  SetMember(3, {.name = "C", .iban = "DE03", .mandate = "m-7"});
  SetMember(4, {.name = "D", .iban = "DE04", .mandate = ""});
  SetMember(5, {.name = "E", .iban = "DE05", .mandate = "M-7", .contribution = 0.0});
  SetMember(6, {.name = "F", .iban = "DE06", .mandate = "M-7"});

  ASSERT_EQ(Run(), "ok");
  // Case counts; a row without an amount is not checked.
  EXPECT_EQ(ColumnTexts(values, 26), (Texts{"", "Mandanten-ID doppelt", "", "Mandanten-ID fehlt",
                                            "", "Mandanten-ID doppelt"}));
  for (int32_t row = 1; row <= 6; ++row) {
    EXPECT_EQ(Colour(row, 10), row == 2 || row == 4 || row == 6 ? 3 : 0) << row;
  }
  EXPECT_EQ(reported.ProgBearFehl.Value, "3");
}

}  // namespace
}  // namespace lastora::testing
