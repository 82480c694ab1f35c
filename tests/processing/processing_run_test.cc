// The processing run's findings: each message, colour and count on a row built to provoke it.
#include <gtest/gtest.h>

#include <string>

#include "support/processing_fixture.h"
#include "support/temp_dir.h"

namespace lastora::testing {
namespace {

using ProcessingRunTest = ProcessingTest;

TEST_F(ProcessingRunTest, CleansUmlautsAndOtherCharactersOfTheTextColumns) {
  settings.ProgBearUmla.Value = "5";
  settings.ProgBearZeic.Value = "2";
  StartTable(2);
  SetMember(1, {.name = "Jürgen Weiß", .mandate = "M-1"});
  SetMember(2, {.name = "Zoë Åberg", .mandate = "M-2"});
  Cell(1, 1) = Variant(17.0);  // a member number stays a number
  Cell(1, 2) = "Señor Łukasz";
  Cell(2, 2) = "Müller Ñandú";
  Cell(1, 6) = "Ärger";  // not a text column of the run
  Cell(1, 22) = "Öl";    // beyond the cleaned columns

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(Text(1, 3), "Juergen Weiss");
  EXPECT_EQ(Colour(1, 3), 16);
  EXPECT_EQ(Text(1, 21), "Juergen Weiss");
  EXPECT_EQ(Text(1, 2), "Se?or ?ukasz");
  EXPECT_EQ(Colour(1, 2), 45);
  EXPECT_EQ(Text(2, 2), "Mueller ?and?");
  EXPECT_EQ(Colour(2, 2), 45);  // the second replacement's colour wins
  EXPECT_EQ(Text(2, 3), "Zo? ?berg");
  EXPECT_EQ(Colour(2, 3), 45);
  EXPECT_EQ(Cell(1, 1), Variant(17.0));
  EXPECT_EQ(Text(1, 6), "Ärger");
  EXPECT_EQ(Text(1, 22), "Öl");
  EXPECT_EQ(Text(1, 29), "X");
  EXPECT_EQ(Text(1, 28), "X");
  EXPECT_EQ(Text(2, 29), "X");
  EXPECT_EQ(Text(2, 28), "X");
  // Umlauts: row 1 columns 3 and 21, row 2 column 2; other characters: row 1 column 2, row 2
  // columns 2, 3 and 21. The counts go on from the caller's.
  EXPECT_EQ(reported.ProgBearUmla.Value, "8");
  EXPECT_EQ(reported.ProgBearZeic.Value, "6");
}

TEST_F(ProcessingRunTest, RowWithoutAccountGetsNoAmountAndNoMessage) {
  StartTable(1);
  SetMember(1, {.name = "Ohne Konto", .iban = "", .mandate = "M-1"});

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(Cell(1, 8), Variant(""));
  EXPECT_EQ(Text(1, 9), "");
  EXPECT_EQ(Text(1, 26), "");
  EXPECT_EQ(Text(1, 27), "");
  EXPECT_EQ(reported.ProgBearFehl.Value, "0");
  EXPECT_EQ(reported.ProgBearDANZ.Value, "0");
}

TEST_F(ProcessingRunTest, DtausRejectsAForeignAccountKeepingTheFormerAmount) {
  settings.SepaVERF.Value = "DTAUS";
  StartTable(2);
  SetMember(
      1, {.name = "Wien", .iban = "AT611904300234573201", .mandate = "M-1", .contribution = 126.0});
  SetMember(2, {.name = "Ohne BIC", .bic = "", .mandate = "M-2"});

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(Text(1, 26), "Kein deutsches Kreditinstitut - Betrag auf 0 gesetzt! zuvor: 126");
  EXPECT_EQ(CDbl(Cell(1, 8)), 0);
  EXPECT_EQ(Colour(1, 4), 3);
  EXPECT_EQ(Colour(1, 8), 3);
  EXPECT_EQ(Text(1, 12), "");
  // DTAUS needs no BIC.
  EXPECT_EQ(CDbl(Cell(2, 8)), 120);
  EXPECT_EQ(Text(2, 26), "");
  EXPECT_EQ(reported.ProgBearFehl.Value, "1");
  EXPECT_EQ(reported.ProgBearDANZ.Value, "1");
}

TEST_F(ProcessingRunTest, OnlyTheProcedureSepaItselfAsksForABic) {
  settings.ProgBearFehl.Value = "";  // a blank count starts at zero
  StartTable(1);
  SetMember(1, {.name = "Ohne BIC", .bic = "", .mandate = "M-1"});
  Cell(1, 26) = "Vorher";

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(Text(1, 26), "Vorher, BIC fehlt - Betrag auf 0 gesetzt! zuvor: 120");
  EXPECT_EQ(Colour(1, 5), 3);
  EXPECT_EQ(Colour(1, 8), 3);
  EXPECT_EQ(CDbl(Cell(1, 8)), 0);
  EXPECT_EQ(Text(1, 9), "");
  EXPECT_EQ(reported.ProgBearFehl.Value, "1");

  settings.SepaVERF.Value = "XML";
  StartTable(1);
  SetMember(1, {.name = "Ohne BIC", .bic = "", .mandate = "M-1"});
  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(CDbl(Cell(1, 8)), 120);
  EXPECT_EQ(Text(1, 26), "");
}

TEST_F(ProcessingRunTest, WarnsAtTheAmountLimitsInclusive) {
  settings.SepaFuncWARN.Value = "warnen";
  settings.SepaFuncBMAX.Value = "100";
  settings.SepaFuncBMIN.Value = "10";
  StartTable(4);
  SetMember(1, {.name = "Oben", .mandate = "M-1", .contribution = 100.0});
  SetMember(2, {.name = "Unten", .mandate = "M-2", .contribution = 10.0});
  SetMember(3, {.name = "Mitte", .mandate = "M-3", .contribution = 50.0});
  SetMember(4, {.name = "Darueber", .mandate = "M-4", .contribution = 150.0});

  ASSERT_EQ(Run(), "ok");
  EXPECT_TRUE(object.boolWarnung);
  EXPECT_EQ(Text(1, 27), "Oberer Betragsgrenze");
  EXPECT_EQ(Colour(1, 8), 6);
  EXPECT_EQ(Text(2, 27), "Untere Betragsgrenze");
  EXPECT_EQ(Colour(2, 8), 6);
  EXPECT_EQ(Text(3, 27), "");
  EXPECT_EQ(Colour(3, 8), 0);
  EXPECT_EQ(Text(4, 27), "Oberer Betragsgrenze");
  EXPECT_EQ(reported.ProgBearWarn.Value, "3");
  EXPECT_EQ(reported.ProgBearDANZ.Value, "4");  // warnings do not stop a payment
}

TEST_F(ProcessingRunTest, AZeroAmountIsWarnedAtALowerLimitOfZeroButNotCounted) {
  settings.SepaFuncWARN.Value = "warnen";
  StartTable(1);
  SetMember(1, {.name = "Null", .mandate = "M-1", .contribution = 0.0});

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(Text(1, 27), "Untere Betragsgrenze");
  EXPECT_EQ(reported.ProgBearWarn.Value, "1");
  EXPECT_EQ(reported.ProgBearDANZ.Value, "0");
  EXPECT_EQ(Text(1, 12), "");
}

TEST_F(ProcessingRunTest, ANonNumericUpperLimitSwitchesTheCheckOffButALowerOneFailsTheRun) {
  settings.SepaFuncWARN.Value = "warnen";
  settings.SepaFuncBMAX.Value = "viel";
  StartTable(1);
  SetMember(1, {.name = "Null", .mandate = "M-1", .contribution = 0.0});
  ASSERT_EQ(Run(), "ok");
  EXPECT_FALSE(object.boolWarnung);
  EXPECT_EQ(Text(1, 27), "");

  settings.SepaFuncBMAX.Value = "1000";
  settings.SepaFuncBMIN.Value = "wenig";
  StartTable(1);
  SetMember(1, {.name = "Anna", .mandate = "M-1"});
  EXPECT_EQ(Run(), "Fehler: Typen unverträglich (13)");
}

TEST_F(ProcessingRunTest, ACreditAboveTheContributionIsANegativeAmount) {
  StartTable(1);
  SetMember(1, {.name = "Guthaben", .contribution = 120.0, .credit = 200.0});

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(CDbl(Cell(1, 8)), -80);
  EXPECT_EQ(Colour(1, 8), 3);
  // The row still gets its lines and its mandate check; both errors are counted.
  EXPECT_EQ(Text(1, 26), "Errechneter Betrag ist kleiner 0, Mandanten-ID fehlt");
  EXPECT_NE(Text(1, 9), "");
  EXPECT_EQ(Text(1, 12), "");
  EXPECT_EQ(reported.ProgBearFehl.Value, "2");
  EXPECT_EQ(reported.ProgBearDANZ.Value, "0");
}

TEST_F(ProcessingRunTest, AmountAddsOneOffAndBackPaymentAndSubtractsTheCredit) {
  StartTable(1);
  SetMember(1, {.name = "Summe",
                .mandate = "M-1",
                .contribution = 120.0,
                .one_off = 15.5,
                .back_payment = "4,25",
                .credit = 20.0});

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(CDbl(Cell(1, 8)), 119.75);
  EXPECT_EQ(object.dblBetrag, 119.75);
  EXPECT_EQ(reported.ProgBearDSUM.Value, "119,75");
}

TEST_F(ProcessingRunTest, CreditTransferPaysTheCreditColumnWithoutSequenceType) {
  settings.SepaAART.Value = "Überweisung";
  StartTable(1);
  SetMember(1, {.name = "Auslagen", .mandate = "M-1", .contribution = 120.0, .credit = 35.0});

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(CDbl(Cell(1, 8)), 35);
  EXPECT_EQ(Text(1, 12), "");
  EXPECT_EQ(reported.ProgBearDAN1.Value, "1");
  EXPECT_EQ(reported.ProgBearDSU1.Value, "35");
  EXPECT_EQ(reported.ProgBearDAN2.Value, "0");
}

struct SequenceCase {
  const char* chosen;  // SepaLART
  const char* procedure;
  Variant first_collection;
  const char* expected;
  bool second_file;
};

class SequenceTypeTest : public ProcessingTest,
                         public ::testing::WithParamInterface<SequenceCase> {};

TEST_P(SequenceTypeTest, GoesIntoTheFileOfItsType) {
  const SequenceCase& c = GetParam();
  settings.SepaLART.Value = c.chosen;
  settings.SepaVERF.Value = c.procedure;
  StartTable(1);
  SetMember(1, {.name = "Anna", .mandate = "M-1", .first_collection = c.first_collection});

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(Text(1, 12), c.expected);
  EXPECT_EQ(reported.ProgBearDAN1.Value, c.second_file ? "0" : "1");
  EXPECT_EQ(reported.ProgBearDAN2.Value, c.second_file ? "1" : "0");
  EXPECT_EQ(reported.ProgBearDSU2.Value, c.second_file ? "120" : "0");
}

const SequenceCase kSequenceCases[] = {
    {"FRST", "SEPA", DateCell(2012, 1, 1), "FRST", false},
    {"FNAL", "SEPA", Variant(), "FNAL", false},
    {"OOFF", "SEPA", Variant(), "OOFF", false},
    {"RCUR", "SEPA", Variant(), "RCUR", true},
    {"automatisch", "SEPA", DateCell(2012, 12, 31), "RCUR", true},
    {"automatisch", "SEPA", "15.06.2012", "RCUR", true},
    {"automatisch", "SEPA", Variant(), "FRST", false},
    {"automatisch", "SEPA", DateCell(2013, 1, 1), "FRST", false},
    {"automatisch", "SEPA", "kein Datum", "FRST", false},
    {"automatisch", "DTAUS", Variant(), "RCUR", true},
    {"automatisch", "DTAUS", DateCell(2013, 2, 1), "RCUR", true},
};

INSTANTIATE_TEST_SUITE_P(Choices, SequenceTypeTest, ::testing::ValuesIn(kSequenceCases));

TEST_F(ProcessingRunTest, MergesThreeRowsOfOneAccountIntoTheLast) {
  settings.SepaFuncCOLL.Value = "Sammeln";
  settings.SepaFuncVER3.Value = "Mitgliedsname";
  StartTable(4);
  SetMember(1, {.name = "A", .mandate = "M-1", .contribution = 120.0, .one_off = 1.0});
  SetMember(2, {.name = "B", .mandate = "M-1", .contribution = 60.0, .back_payment = 2.0});
  SetMember(3, {.name = "C", .mandate = "M-1", .contribution = 24.0, .credit = 4.0});
  SetMember(4, {.name = "D", .iban = "DE02120300000000202051", .mandate = "M-4"});

  ASSERT_EQ(Run(), "ok");
  for (int32_t row : {1, 2}) {
    SCOPED_TRACE(row);
    for (int32_t column : {8, 9, 13, 14, 15, 16, 25}) EXPECT_EQ(Text(row, column), "");
    EXPECT_EQ(Text(row, 26), "");
  }
  EXPECT_EQ(CDbl(Cell(3, 16)), 204);
  EXPECT_EQ(CDbl(Cell(3, 13)), 1);
  EXPECT_EQ(CDbl(Cell(3, 14)), 2);
  EXPECT_EQ(CDbl(Cell(3, 15)), 4);
  EXPECT_EQ(CDbl(Cell(3, 8)), 203);
  const std::string a = Padded("A", 35);
  const std::string b = Padded("B", 35);
  const std::string c = Padded("C", 35);
  EXPECT_EQ(Text(3, 25), a + " / " + b + " / " + c);
  EXPECT_EQ(Text(3, 9), Quoted(Padded("Mitgliedsbeitrag 2013", 35)) + "," + Quoted(a) + "," +
                            Quoted(b) + "," + Quoted(c));
  EXPECT_EQ(Text(3, 26), "");  // one payment, so one mandate
  EXPECT_EQ(reported.ProgBearDANZ.Value, "2");
  EXPECT_EQ(reported.ProgBearDSUM.Value, "323");
  EXPECT_EQ(object.strKontoVor, "DE02120300000000202051");
}

TEST_F(ProcessingRunTest, MergesOnlyNeighbours) {
  settings.SepaFuncCOLL.Value = "Sammeln";
  StartTable(3);
  SetMember(1, {.name = "A", .mandate = "M-1"});
  SetMember(2, {.name = "B", .iban = "DE02120300000000202051", .mandate = "M-2"});
  SetMember(3, {.name = "C", .mandate = "M-3"});

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(reported.ProgBearDANZ.Value, "3");
}

TEST_F(ProcessingRunTest, CollectiveMergeIsOffOnlyForTheWordInSmallLetters) {
  for (const char* option : {"nicht sammeln", "NICHT sammeln"}) {
    SCOPED_TRACE(option);
    settings.SepaFuncCOLL.Value = option;
    StartTable(2);
    SetMember(1, {.name = "A", .mandate = "M-1"});
    SetMember(2, {.name = "B", .mandate = "M-2"});

    ASSERT_EQ(Run(), "ok");
    const bool merged = std::string(option).starts_with("NICHT");
    EXPECT_EQ(reported.ProgBearDANZ.Value, merged ? "1" : "2");
    EXPECT_EQ(CDbl(Cell(2, 8)), merged ? 240 : 120);
  }
}

TEST_F(ProcessingRunTest, FileFiguresRestartWhileFindingCountsGoOn) {
  settings.ProgBearFehl.Value = "3";
  settings.ProgBearWarn.Value = "";
  for (SEPAVALUES* figure :
       {&settings.ProgBearDANZ, &settings.ProgBearDAN1, &settings.ProgBearDAN2,
        &settings.ProgBearDSUM, &settings.ProgBearDSU1, &settings.ProgBearDSU2}) {
    figure->Value = "7";
  }
  StartTable(3);
  SetMember(1, {.name = "Neu", .mandate = "M-1", .contribution = 10.5});
  SetMember(2, {.name = "Alt", .mandate = "M-2", .first_collection = DateCell(2010, 1, 1)});
  SetMember(3, {.name = "Ohne Mandat"});

  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(reported.ProgBearFehl.Value, "4");
  EXPECT_EQ(reported.ProgBearWarn.Value, "");  // untouched
  EXPECT_EQ(reported.ProgBearDANZ.Value, "3");
  EXPECT_EQ(reported.ProgBearDSUM.Value, "250,5");
  EXPECT_EQ(reported.ProgBearDAN1.Value, "2");
  EXPECT_EQ(reported.ProgBearDSU1.Value, "130,5");
  EXPECT_EQ(reported.ProgBearDAN2.Value, "1");
  EXPECT_EQ(reported.ProgBearDSU2.Value, "120");
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
  EXPECT_EQ(reported.ProgBearDSUM.Value, "100");
  EXPECT_EQ(reported.ProgBearDSU1.Value, "100");
}

TEST_F(ProcessingRunTest, ABadDateSettingFailsAfterTheCleaningWithTheSettingsCopiedBack) {
  settings.SepaDAT1.Value = "Anfang";
  StartTable(1);
  SetMember(1, {.name = "Jürgen", .mandate = "M-1"});

  const std::string result = Run();
  EXPECT_EQ(result, "Fehler: Typen unverträglich (13)");
  EXPECT_EQ(Text(1, 3), "Juergen");  // the cleaning came first and stays
  EXPECT_EQ(reported.ProgBearUmla.Value, "2");
  EXPECT_EQ(reported.ProgBearDANZ.Value, "0");
  EXPECT_EQ(reported.SepaDAT1.Value, "Anfang");
}

TEST_F(ProcessingRunTest, ABadCellFailsTheRunKeepingTheRowsAlreadyComputed) {
  StartTable(2);
  SetMember(1, {.name = "Anna", .mandate = "M-1"});
  SetMember(2, {.name = "Bert", .mandate = "M-2", .entry = "irgendwann"});
  Cell(1, 12) = "RCUR";  // from the previous run

  EXPECT_EQ(Run(), "Fehler: Typen unverträglich (13)");
  EXPECT_EQ(CDbl(Cell(1, 16)), 120);
  EXPECT_EQ(Cell(2, 16), Variant(int16_t{0}));
  EXPECT_EQ(Text(1, 12), "RCUR");  // the amounts step never ran
}

TEST_F(ProcessingRunTest, AMissingDtausTemplateStopsTheRunAfterTheResets) {
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
  EXPECT_EQ(Text(1, 3), "Jürgen");
  EXPECT_EQ(reported.ProgBearDANZ.Value, "0");
  EXPECT_EQ(reported.SepaFuncVERP.Value, missing);
}

TEST_F(ProcessingRunTest, AnEmptyTableIsProcessed) {
  StartTable(0);

  EXPECT_EQ(Run(), "ok");
  EXPECT_EQ(reported.ProgBearDANZ.Value, "0");
}

}  // namespace
}  // namespace lastora::testing
