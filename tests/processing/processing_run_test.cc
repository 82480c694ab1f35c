// The processing run's findings: each message, colour and count on a row built to provoke it.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "processing/run_findings.h"
#include "support/temp_dir.h"

namespace lastora::testing {
namespace {

using ProcessingRunTest = FindingsTest;

TEST_F(ProcessingRunTest, DtausRejectsAForeignAccountKeepingTheFormerAmount) {
  settings.SepaVERF.Value = "DTAUS";
  StartTable(2);
  SetMember(
      1, {.name = "Wien", .iban = "AT611904300234573201", .mandate = "M-1", .contribution = 126.0});
  SetMember(2, {.name = "Ohne BIC", .bic = "", .mandate = "M-2"});

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(TextsOf(1, {8, 12, 26}),
            (Texts{"0", "", "Kein deutsches Kreditinstitut - Betrag auf 0 gesetzt! zuvor: 126"}));
  EXPECT_EQ((std::vector{Colour(1, 4), Colour(1, 8)}), (std::vector{3, 3}));
  EXPECT_EQ(TextsOf(2, {8, 26}), (Texts{"120", ""}));  // DTAUS needs no BIC
  EXPECT_EQ(Figures(), "Fehl 1, Warn 0, alle 1/120, erste 0/0, zweite 1/120");
}

TEST_F(ProcessingRunTest, ACreditAboveTheContributionIsANegativeAmountButATransferPaysIt) {
  StartTable(1);
  SetMember(1, {.name = "Guthaben", .contribution = 120.0, .credit = 200.0});

  ASSERT_EQ(Run(), "ok");
  // The row still gets its lines and its mandate check; both errors are counted.
  EXPECT_EQ(TextsOf(1, {8, 12, 26}),
            (Texts{"-80", "", "Errechneter Betrag ist kleiner 0, Mandanten-ID fehlt"}));
  EXPECT_EQ(Colour(1, 8), 3);
  EXPECT_NE(Text(1, 9), "");
  EXPECT_EQ(Figures(), "Fehl 2, Warn 0, alle 0/0, erste 0/0, zweite 0/0");

  // A credit transfer pays the credit column, without a sequence type.
  settings.SepaAART.Value = "Überweisung";
  StartTable(1);
  SetMember(1, {.name = "Auslagen", .mandate = "M-1", .contribution = 120.0, .credit = 35.0});

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(TextsOf(1, {8, 12}), (Texts{"35", ""}));
  EXPECT_EQ(Figures(), "Fehl 0, Warn 0, alle 1/35, erste 1/35, zweite 0/0");
}

// Recurring collections go into the second file, all others into the first.
TEST_F(ProcessingRunTest, SequenceTypeChoosesTheFileOfThePayment) {
  // SepaLART, procedure, first collection, the row's sequence type
  const std::tuple<const char*, const char*, Variant, std::string> cases[] = {
      {"FRST", "SEPA", DateCell(2012, 1, 1), "FRST"},
      {"RCUR", "SEPA", Variant(), "RCUR"},
      {"automatisch", "SEPA", DateCell(2012, 12, 31), "RCUR"},
      {"automatisch", "SEPA", Variant(), "FRST"},
      {"automatisch", "SEPA", DateCell(2013, 1, 1), "FRST"},
      {"automatisch", "DTAUS", Variant(), "RCUR"}};
  for (const auto& [chosen, procedure, first_collection, expected] : cases) {
    SCOPED_TRACE(std::string(chosen) + " " + procedure + " " + CStr(first_collection));
    settings.SepaLART.Value = chosen;
    settings.SepaVERF.Value = procedure;
    StartTable(1);
    SetMember(1, {.name = "Anna", .mandate = "M-1", .first_collection = first_collection});
    ASSERT_EQ(Run(), "ok");
    EXPECT_EQ(Text(1, 12), expected);
    EXPECT_EQ(Figures(), "Fehl 0, Warn 0, alle 1/120, " +
                             std::string(expected == "RCUR" ? "erste 0/0, zweite 1/120"
                                                            : "erste 1/120, zweite 0/0"));
  }
}

// Row 5 pays from the account of rows 1 to 3 but is no neighbour of theirs: it pays alone, its
// one-off and back payment (given as text) added and its credit subtracted.
TEST_F(ProcessingRunTest, MergesNeighbouringRowsOfOneAccountIntoTheLast) {
  settings.SepaFuncCOLL.Value = "Sammeln";
  settings.SepaFuncVER3.Value = "Mitgliedsname";
  StartTable(5);
  SetMember(1, {.name = "A", .mandate = "M-1", .contribution = 120.0, .one_off = 1.0});
  SetMember(2, {.name = "B", .mandate = "M-1", .contribution = 60.0, .back_payment = 2.0});
  SetMember(3, {.name = "C", .mandate = "M-1", .contribution = 24.0, .credit = 4.0});
  SetMember(4, {.name = "D", .iban = "DE02120300000000202051", .mandate = "M-4"});
  SetMember(
      5, {.name = "E", .mandate = "M-5", .one_off = 15.5, .back_payment = "4,25", .credit = 20.0});

  ASSERT_EQ(Run(), "ok");
  for (int32_t row : {1, 2}) {
    EXPECT_EQ(TextsOf(row, {8, 9, 13, 14, 15, 16, 25, 26}), Texts(8, "")) << row;
  }
  EXPECT_EQ(TextsOf(3, {16, 13, 14, 15, 8}), (Texts{"204", "1", "2", "4", "203"}));
  const std::string a = Padded("A", 35), b = Padded("B", 35), c = Padded("C", 35);
  EXPECT_EQ(Text(3, 25), a + " / " + b + " / " + c);
  EXPECT_EQ(Text(3, 9), Quoted(Padded("Mitgliedsbeitrag 2013", 35)) + "," + Quoted(a) + "," +
                            Quoted(b) + "," + Quoted(c));
  EXPECT_EQ(Text(3, 26), "");  // one payment, so one mandate
  EXPECT_EQ(Text(5, 8), "119,75");
  EXPECT_EQ(Figures(), "Fehl 0, Warn 0, alle 3/442,75, erste 3/442,75, zweite 0/0");
}

TEST_F(ProcessingRunTest, SumsKeepWholeCentsOverManyPayments) {
  settings.SepaCYCL.Value = "Monat";
  settings.SepaDAT2.Value = "31.01.2013";
  StartTable(1000);
  for (int32_t row = 1; row <= 1000; ++row) {
    SetMember(row, {.name = "M",
                    .iban = "DE" + std::to_string(row),
                    .mandate = "M-" + std::to_string(row),
                    .contribution = 0.1});
  }

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(Figures(), "Fehl 0, Warn 0, alle 1000/100, erste 1000/100, zweite 0/0");
}

TEST_F(ProcessingRunTest, ABadCellOrAMissingTemplateFailsTheRunKeepingWhatWasDone) {
  StartTable(2);
  SetMember(1, {.name = "Anna", .mandate = "M-1"});
  SetMember(2, {.name = "Bert", .mandate = "M-2", .entry = "irgendwann"});
  Cell(1, 12) = "RCUR";  // from the previous run

  EXPECT_EQ(Run(), "Fehler: Typen unverträglich (13)");
  EXPECT_EQ(CDbl(Cell(1, 16)), 120);
  EXPECT_EQ(Cell(2, 16), Variant(int16_t{0}));
  EXPECT_EQ(Text(1, 12), "RCUR");  // the amounts step never ran

  // A missing DTAUS template stops the run after the resets.
  ScopedTempDir folder;
  const std::string missing = folder.File("Verwendungszweck.txt");
  settings.SepaVERF.Value = "DTAUS";
  settings.SepaFuncVERP.Value = missing;
  StartTable(1);
  SetMember(1, {.name = "Jürgen", .mandate = "M-1"});
  Cell(1, 7) = "E2E";

  EXPECT_EQ(Run(), "Die Datei existiert nicht: " + missing);
  EXPECT_EQ(Text(1, 7), "");
  EXPECT_EQ(Cell(1, 16), Variant(int16_t{0}));
  EXPECT_EQ(reported.ProgBearDANZ.Value, "0");
}

}  // namespace
}  // namespace lastora::testing
