// A club's collection from member table to bank files: the processing run prepares the payment
// rows, the generation run writes them, and a bank's schema accepts what was written.
#include <gtest/gtest.h>

#include <string>

#include "support/processing_fixture.h"
#include "support/schema_validation.h"
#include "support/temp_dir.h"

namespace lastora::testing {
namespace {

class ClubCollectionTest : public ProcessingTest {
 protected:
  ClubCollectionTest() {
    settings.SepaFuncCOLL.Value = "Sammeln";
    settings.SepaFuncWARN.Value = "warnen";
    settings.SepaFuncBMAX.Value = "200";
    settings.SepaFuncBMIN.Value = "1";
    settings.SepaFuncVER2.Value = "Mandat-ID";
    settings.SepaFuncVER3.Value = "Mitgliedsname";
    // What the generation run needs besides.
    settings.KreditorNAME.Value = "TSV Musterstadt e.V.";
    settings.KreditorIBAN.Value = "DE89370400440532013000";
    settings.KreditorBIC_.Value = "COBADEFFXXX";
    settings.SepaADAT.Value = "01.10.2013";
    settings.SepaFPI1.Value = "PII-2013-FRST";
    settings.SepaFMI1.Value = "MSG-2013-FRST";
    settings.SepaFPI2.Value = "PII-2013-RCUR";
    settings.SepaFMI2.Value = "MSG-2013-RCUR";
    settings.SepaITXT.Value = "Liste";
    settings.SepaBTXT.Value = "Begleitzettel";
    settings.UserNAME.Value = "Erika Kassenwart";
    for (SEPAVALUES* counter :
         {&settings.ProgErzeWarn, &settings.ProgErzeDAN1, &settings.ProgErzeDAN2,
          &settings.ProgErzeDSU1, &settings.ProgErzeDSU2}) {
      counter->Value = "0";
    }
    StartTable(20);
    const Variant before = DateCell(2011, 3, 1);
    auto member = [&](int32_t row, const std::string& name) {
      return Member{.name = name,
                    .iban = "DE8937040044053201" + std::to_string(1000 + row),
                    .mandate = "MANDAT-" + std::to_string(1000 + row),
                    .first_collection = before};
    };
    Member family = member(4, "Paul Müller");
    SetMember(1, member(1, "Anna Schmidt"));
    SetMember(2, member(2, "Jürgen Weiß"));
    SetMember(3, member(3, "Zoë Åkesson"));
    SetMember(4, family);
    family.name = "Eva Müller";
    family.mandate = "MANDAT-1005";
    SetMember(5, family);
    family.name = "Tim Müller";
    family.mandate = "MANDAT-1006";
    family.contribution = 60.0;
    SetMember(6, family);
    Member joined = member(7, "Lena Neu");
    joined.entry = DateCell(2013, 3, 15);
    joined.first_collection = Variant();
    SetMember(7, joined);
    Member left = member(8, "Max Weg");
    left.exit = DateCell(2013, 6, 15);
    SetMember(8, left);
    Member no_bic = member(9, "Ohne Bic");
    no_bic.bic = "";
    SetMember(9, no_bic);
    Member duplicate = member(10, "Doppelt Gemeldet");
    duplicate.mandate = "MANDAT-1001";
    SetMember(10, duplicate);
    Member credit = member(11, "Mit Gutschrift");
    credit.credit = 30.0;
    SetMember(11, credit);
    Member large_credit = member(12, "Grosse Gutschrift");
    large_credit.credit = 150.0;
    SetMember(12, large_credit);
    Member no_account = member(13, "Ohne Konto");
    no_account.iban = "";
    SetMember(13, no_account);
    Member long_gone = member(14, "Lange Weg");
    long_gone.entry = DateCell(2005, 1, 1);
    long_gone.exit = DateCell(2012, 12, 15);
    SetMember(14, long_gone);
    Member one_off = member(15, "Einmal Zahler");
    one_off.one_off = 25.0;
    SetMember(15, one_off);
    Member youth = member(16, "Jugend Mitglied");
    youth.contribution = 60.0;
    SetMember(16, youth);
    Member back_payment = member(17, "Nach Zahler");
    back_payment.back_payment = 40.0;
    SetMember(17, back_payment);
    Member future = member(18, "Kommt Noch");
    future.entry = DateCell(2014, 1, 2);
    SetMember(18, future);
    Member first = member(19, "Erst Lastschrift");
    first.first_collection = DateCell(2013, 2, 1);
    SetMember(19, first);
    SetMember(20, member(20, "Letzte Zahlerin"));
    for (int32_t row = 1; row <= 20; ++row) Cell(row, 11) = DateCell(2011, 2, 1);
  }
};

TEST_F(ClubCollectionTest, ProcessedRowsBecomeValidBankFiles) {
  ASSERT_EQ(Run(), "ok");

  EXPECT_EQ(Text(2, 3), "Juergen Weiss");
  EXPECT_EQ(Text(3, 3), "Zo? ?kesson");
  // The family pays once, from its last row, and more than the upper limit.
  EXPECT_EQ(Text(4, 8), "");
  EXPECT_EQ(Text(5, 8), "");
  EXPECT_EQ(CDbl(Cell(6, 8)), 300);
  EXPECT_EQ(Text(6, 27), "Oberer Betragsgrenze, Verwendungszweck länger als 140 Zeichen");
  EXPECT_EQ(CDbl(Cell(7, 8)), 100);
  EXPECT_EQ(Text(7, 12), "FRST");
  EXPECT_EQ(CDbl(Cell(8, 8)), 60);
  EXPECT_EQ(Text(9, 26), "BIC fehlt - Betrag auf 0 gesetzt! zuvor: 120");
  EXPECT_EQ(Text(10, 26), "Mandanten-ID doppelt");
  EXPECT_EQ(Text(10, 12), "RCUR");
  EXPECT_EQ(CDbl(Cell(11, 8)), 90);
  EXPECT_EQ(Text(12, 26), "Errechneter Betrag ist kleiner 0");
  EXPECT_EQ(Text(13, 8), "");
  EXPECT_EQ(Text(14, 27), "Untere Betragsgrenze");
  EXPECT_EQ(CDbl(Cell(15, 8)), 145);
  EXPECT_EQ(CDbl(Cell(17, 8)), 160);
  EXPECT_EQ(Text(18, 27), "Untere Betragsgrenze");
  EXPECT_EQ(Text(19, 12), "FRST");

  EXPECT_EQ(reported.ProgBearUmla.Value, "8");
  EXPECT_EQ(reported.ProgBearZeic.Value, "2");
  EXPECT_EQ(reported.ProgBearFehl.Value, "3");
  EXPECT_EQ(reported.ProgBearWarn.Value, "4");
  EXPECT_EQ(reported.ProgBearDANZ.Value, "13");
  EXPECT_EQ(reported.ProgBearDSUM.Value, "1635");
  EXPECT_EQ(reported.ProgBearDAN1.Value, "2");
  EXPECT_EQ(reported.ProgBearDSU1.Value, "220");
  EXPECT_EQ(reported.ProgBearDAN2.Value, "11");
  EXPECT_EQ(reported.ProgBearDSU2.Value, "1415");

  // The workbook gives every payment its end-to-end reference before it generates the files.
  for (int32_t row = 1; row <= 20; ++row) Cell(row, 7) = "E2E-" + std::to_string(row);
  ScopedTempDir folder;
  VariantArray aVariablen;
  RecordToVariablen(aVariablen, reported);
  ASSERT_EQ(object.ext_SEPA_Erzeugung(aVariablen, values, colours, folder.path().string() + "/"),
            "ok");
  SEPAVARIABLEN generated;
  VariablenToRecord(aVariablen, generated);
  EXPECT_EQ(CDbl(Variant(generated.ProgErzeDAN1.Value)), 2);
  EXPECT_EQ(CDbl(Variant(generated.ProgErzeDSU1.Value)), 220);
  EXPECT_EQ(CDbl(Variant(generated.ProgErzeDAN2.Value)), 11);
  EXPECT_EQ(CDbl(Variant(generated.ProgErzeDSU2.Value)), 1415);
  for (const char* name : {"SEPA_2013-10-01_FRST.xml", "SEPA_2013-10-01_RCUR.xml"}) {
    SCOPED_TRACE(name);
    const std::string document = ReadBytes(folder.File(name));
    ASSERT_FALSE(document.empty());
    EXPECT_EQ(SepaSchemaErrors(document), "");
  }
}

}  // namespace
}  // namespace lastora::testing
