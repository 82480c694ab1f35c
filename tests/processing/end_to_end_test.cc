// A club's collection from member table to bank files: the processing run prepares the payment
// rows, the generation run writes them, and a bank's schema accepts what was written.
#include <gtest/gtest.h>

#include <string>

#include "processing/run_findings.h"
#include "support/schema_validation.h"
#include "support/temp_dir.h"

namespace lastora::testing {
namespace {

class ClubCollectionTest : public FindingsTest {
 protected:
  ClubCollectionTest() {
    settings.SepaFuncCOLL.Value = "Sammeln";
    settings.SepaFuncWARN.Value = "warnen";
    settings.SepaFuncBMAX.Value = "200";
    settings.SepaFuncBMIN.Value = "1";
    settings.SepaFuncVER2.Value = "Mandat-ID";
    settings.SepaFuncVER3.Value = "Mitgliedsname";
    AddClubGenerationSettings(settings);
    StartTable(20);
    // Each row pays from its own account under its own mandate unless `change` says otherwise.
    const auto set = [&](int32_t row, const std::string& name, auto change) {
      Member member{.name = name,
                    .iban = "DE8937040044053201" + std::to_string(1000 + row),
                    .mandate = "MANDAT-" + std::to_string(1000 + row),
                    .first_collection = DateCell(2011, 3, 1)};
      change(member);
      SetMember(row, member);
    };
    const auto as_is = [](Member&) {};
    // A family of three pays from the account of row 4.
    const auto family = [](Member& m) { m.iban = "DE89370400440532011004"; };
    set(1, "Anna Schmidt", as_is);
    set(2, "Jürgen Weiß", as_is);
    set(3, "Zoë Åkesson", as_is);
    set(4, "Paul Müller", family);
    set(5, "Eva Müller", family);
    set(6, "Tim Müller", [&](Member& m) {
      family(m);
      m.contribution = 60.0;
    });
    set(7, "Lena Neu", [](Member& m) {
      m.entry = DateCell(2013, 3, 15);
      m.first_collection = Variant();
    });
    set(8, "Max Weg", [](Member& m) { m.exit = DateCell(2013, 6, 15); });
    set(9, "Ohne Bic", [](Member& m) { m.bic = ""; });
    set(10, "Doppelt Gemeldet", [](Member& m) { m.mandate = "MANDAT-1001"; });
    set(11, "Mit Gutschrift", [](Member& m) { m.credit = 30.0; });
    set(12, "Grosse Gutschrift", [](Member& m) { m.credit = 150.0; });
    set(13, "Ohne Konto", [](Member& m) { m.iban = ""; });
    set(14, "Lange Weg", [](Member& m) {
      m.entry = DateCell(2005, 1, 1);
      m.exit = DateCell(2012, 12, 15);
    });
    set(15, "Einmal Zahler", [](Member& m) { m.one_off = 25.0; });
    set(16, "Jugend Mitglied", [](Member& m) { m.contribution = 60.0; });
    set(17, "Nach Zahler", [](Member& m) { m.back_payment = 40.0; });
    set(18, "Kommt Noch", [](Member& m) { m.entry = DateCell(2014, 1, 2); });
    set(19, "Erst Lastschrift", [](Member& m) { m.first_collection = DateCell(2013, 2, 1); });
    set(20, "Letzte Zahlerin", as_is);
    for (int32_t row = 1; row <= 20; ++row) Cell(row, 11) = DateCell(2011, 2, 1);
  }
};

TEST_F(ClubCollectionTest, ProcessedRowsBecomeValidBankFiles) {
  ASSERT_EQ(Run(), "ok");
  // Each row's own finding is asserted where it is provoked alone; together they must add up.
  EXPECT_EQ(Figures(), "Fehl 3, Warn 4, alle 13/1635, erste 2/220, zweite 11/1415");
  // The family pays once, from its last row, and more than the upper limit: two warnings in one.
  EXPECT_EQ(Text(4, 8) + Text(5, 8), "");
  EXPECT_EQ(TextsOf(6, {8, 27}),
            (Texts{"300", "Oberer Betragsgrenze, Verwendungszweck länger als 140 Zeichen"}));

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
