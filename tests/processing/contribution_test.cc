// The contribution a member pays for the billing window, through the processing run.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/processing_fixture.h"

namespace lastora::testing {
namespace {

struct ContributionCase {
  const char* name;
  Variant contribution = 120.0;
  Variant entry{};
  Variant exit{};
  const char* rule = "Wechselmonat abrechnen";
  const char* cycle = "Jahr";
  Variant window_first = "01.01.2013";
  Variant window_last = "31.12.2013";
  int months = 0;
  double amount = 0;
};

class ContributionTest : public ProcessingTest,
                         public ::testing::WithParamInterface<ContributionCase> {};

TEST_P(ContributionTest, BillsTheMonthsOfTheWindow) {
  const ContributionCase& c = GetParam();
  settings.SepaFuncAZYK.Value = c.rule;
  settings.SepaFuncMONT.Value = "monatsgenau";
  settings.SepaCYCL.Value = c.cycle;
  settings.SepaDAT1.Value = CStr(c.window_first);
  settings.SepaDAT2.Value = CStr(c.window_last);
  StartTable(1);
  SetMember(1, {.name = "Anna Berg",
                .mandate = "M-1",
                .contribution = c.contribution,
                .entry = c.entry,
                .exit = c.exit});

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(object.intAnzMonate, c.months);
  EXPECT_EQ(CDbl(Cell(1, 16)), c.amount);
}

TEST_F(ProcessingTest, NoPositiveContributionIsLeftAloneAndMemberTextsFitARemittanceLine) {
  StartTable(2);
  SetMember(1, {.name = "Null", .mandate = "M-1", .contribution = 0.0});
  SetMember(2, {.name = "Minus", .mandate = "M-2", .contribution = -10.0});
  Cell(1, 16) = 55.0;  // a figure from the previous run

  ASSERT_EQ(Run(), "ok");
  for (int32_t row : {1, 2}) EXPECT_EQ(Cell(row, 16), Variant(int16_t{0})) << row;

  // The member text has the width of a remittance line: kind, procedure, contribution, text.
  const std::tuple<const char*, const char*, Variant, std::string> cases[] = {
      // Twelve and a half in German notation: five characters of amount, 29 of name.
      {"Mitgliedsname und Einzelbetrag", "SEPA", 12.5, "Maximiliane Mustermann-Schulz 12,50"},
      {"Mandat-ID und Einzelbetrag", "DTAUS", 120.0, "MANDAT-0001          120,00"}};
  for (const auto& [kind, procedure, contribution, expected] : cases) {
    SCOPED_TRACE(std::string(kind) + " " + procedure);
    settings.SepaFuncVER3.Value = kind;
    settings.SepaVERF.Value = procedure;
    StartTable(1);
    SetMember(1, {.name = "Maximiliane Mustermann-Schulze",
                  .mandate = "MANDAT-0001",
                  .contribution = contribution,
                  .first_collection = DateCell(2012, 1, 1)});
    ASSERT_EQ(Run(), "ok");
    EXPECT_EQ(Text(1, 25), expected);
  }
}

const char* const kSkip = "Wechselmonat nicht abrechnen";
const Variant kMarch15 = DateCell(2013, 3, 15);
const Variant kJune15 = DateCell(2013, 6, 15);

const ContributionCase kWorkedExamples[] = {
    {.name = "NoDates", .months = 12, .amount = 120},
    {.name = "EntryMonthBilled", .entry = kMarch15, .months = 10, .amount = 100},
    {.name = "EntryMonthNotBilled", .entry = kMarch15, .rule = kSkip, .months = 9, .amount = 90},
    {.name = "NothingBilledOnExit", .exit = kJune15, .rule = "Nichts abrechnen", .amount = 0},
    {.name = "WholeWindowDespiteEntryAndExit",
     .entry = kMarch15,
     .exit = kJune15,
     .rule = "Vollen Zeitrahmen abrechnen",
     .months = 12,
     .amount = 120},
    {.name = "DatesGivenAsText",
     .contribution = "120",
     .entry = "15.03.2013",
     .exit = "",
     .months = 10,
     .amount = 100},
    {.name = "FifteenDaysRoundToNoMonth", .window_last = "16.01.2013", .months = 0, .amount = 0},
    {.name = "ThirdOfAQuarterIsCutToCents",
     .contribution = 100.0,
     .cycle = "Vierteljahr",
     .window_last = "31.01.2013",
     .months = 1,
     .amount = 33.33},
    {.name = "TwentyNineCentsAreStoredAsTwentyEight",
     .contribution = 0.29,
     .cycle = "Monat",
     .window_last = "31.01.2013",
     .months = 1,
     .amount = 0.28},
    // Leaving in the unbilled first month of a window that starts late in a month leaves nothing
    // to pay, not a negative month.
    {.name = "ExitInTheUnbilledFirstMonth",
     .exit = DateCell(2013, 1, 25),
     .rule = kSkip,
     .window_first = "20.01.2013",
     .months = 0,
     .amount = 0},
};

INSTANTIATE_TEST_SUITE_P(WorkedExamples, ContributionTest, ::testing::ValuesIn(kWorkedExamples),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lastora::testing
