#include "member_list.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace lastora::cli {
namespace {

// Name, IBAN, account number, bank code, mandate, contribution.
Table Members() {
  Table source(3, 6);
  const char* rows[3][6] = {
      {"Karin Albers", "DE12 1230 5600 1000 1234 01", "", "", "M-1", "120,00"},
      {"Helga Quast", "", "1000565601", "12305600", "M-2", "  "},
      {"Ida Zimmer", "DE57210907004400767610", "", "", "M-3", "60"},
  };
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 6; ++c) {
      if (*rows[r][c] != '\0') source(r + 1, c + 1) = rows[r][c];
    }
  }
  return source;
}

SEPAVARIABLEN Mapping() {
  SEPAVARIABLEN settings;
  for (SEPAVALUES* field : {&settings.Import__MITG, &settings.Import__BIC_, &settings.Import__LAND,
                            &settings.Import__MDAT, &settings.Import__EDAT}) {
    field->Value = "0";
  }
  settings.Import__NAME.Value = "1";
  settings.Import__IBAN.Value = "2";
  settings.Import__KONT.Value = "3";
  settings.Import__BLZ_.Value = "4";
  settings.Import__MAND.Value = "5";
  settings.Import__MONB.Value = "6";
  return settings;
}

TEST(MemberListTest, PlacesColumnsOntoThePaymentLayout) {
  ColouredTable table;
  ASSERT_EQ(MapMembers(Members(), Mapping(), table), "ok");
  ASSERT_EQ(table.values.RowCount(), 3);
  ASSERT_EQ(table.values.ColCount(), 29);
  EXPECT_EQ(table.values(1, 3), Variant("Karin Albers"));
  EXPECT_EQ(table.values(1, 4), Variant("DE12123056001000123401"));  // groups joined
  EXPECT_EQ(table.values(1, 10), Variant("M-1"));
  EXPECT_EQ(table.values(1, 17), Variant("120,00"));  // the list's text, not a number
  EXPECT_EQ(table.values(2, 22), Variant("1000565601"));
  EXPECT_TRUE(table.values(2, 17).IsEmpty());  // a blank field is an Empty cell
  EXPECT_TRUE(table.values(1, 5).IsEmpty());   // BIC not mapped
  EXPECT_EQ(table.colours.RowCount(), 3);
}

TEST(MemberListTest, MappingMissingOrOutsideTheListIsReportedWithTheCatalogueMessage) {
  struct Case {
    SEPAVALUES SEPAVARIABLEN::*field;
    const char* column;
    std::string expected;
  };
  const Case cases[] = {
      {&SEPAVARIABLEN::Import__IBAN, "9",
       "Import-Spalte für IBAN nicht oder nicht richtig angegeben: 9 (die Liste hat 6 Spalten)"},
      {&SEPAVARIABLEN::Import__MDAT, "",
       "Import-Spalte für Datum Mandaterstellung nicht oder nicht richtig angegeben:  (die Liste "
       "hat 6 Spalten)"},
      // The account holder cannot be left out.
      {&SEPAVARIABLEN::Import__NAME, "0",
       "Import-Spalte für Name (Kontoinhaber) nicht oder nicht richtig angegeben: 0 (die Liste hat "
       "6 Spalten)"},
      {&SEPAVARIABLEN::Import__EINM, "x",
       "Import-Spalte für Einmalbetrag nicht oder nicht richtig angegeben: x (die Liste hat 6 "
       "Spalten)"},
  };
  ColouredTable table;
  for (const Case& c : cases) {
    SEPAVARIABLEN settings = Mapping();
    (settings.*c.field).Value = c.column;
    EXPECT_EQ(MapMembers(Members(), settings, table), c.expected);
  }
  // Without an IBAN column the account number and bank code must both be there.
  SEPAVARIABLEN settings = Mapping();
  settings.Import__IBAN.Value = "0";
  settings.Import__KONT.Value = "0";
  EXPECT_EQ(MapMembers(Members(), settings, table),
            "Import-Spalte für IBAN nicht oder nicht richtig angegeben: 0 (ohne Kontonummer und "
            "BLZ)");
}

TEST(MemberListTest, CompletesAccountsAndKeepsWrongIbansOutOfThePayments) {
  ColouredTable table;
  SEPAVARIABLEN settings = Mapping();
  ASSERT_EQ(MapMembers(Members(), settings, table), "ok");
  Class1 component;
  ASSERT_EQ(CompleteAccounts(component, settings, table), "ok");
  // A valid IBAN gives account number, bank code and country.
  EXPECT_EQ(table.values(1, 22), Variant("1000123401"));
  EXPECT_EQ(table.values(1, 23), Variant("12305600"));
  EXPECT_EQ(table.values(1, 24), Variant("DE"));
  // Account number and bank code give the IBAN, marked as a computed value.
  EXPECT_EQ(table.values(2, 4), Variant("DE51123056001000565601"));
  EXPECT_EQ(table.values(2, 27), Variant("Leerwert ersetzt durch berechneten Wert"));
  EXPECT_EQ(table.colours(2, 4), Variant(int32_t{6}));
  // A wrong IBAN leaves column 4, keeps its text in the message and is counted.
  EXPECT_TRUE(table.values(3, 4).IsEmpty());
  EXPECT_EQ(table.values(3, 26),
            Variant("SEPA-Checker: IBAN Prüfziffer ist falsch (57<>08): DE57210907004400767610"));
  EXPECT_EQ(table.colours(3, 4), Variant(int32_t{3}));
  EXPECT_EQ(settings.ProgImpoFehl.Value, "1");
  EXPECT_EQ(settings.ProgImpoWarn.Value, "1");
}

// A missing or empty list is reported through the program (commands_test); here the encodings.
TEST(MemberListTest, ReadsCsvListsInUtf8OrTheWindowsCodePage) {
  testing::ScopedTempDir dir;
  Class1 component;
  Table rows;
  testing::WriteBytes(dir.File("liste.csv"), "\xEF\xBB\xBFName;IBAN\r\nM\xC3\xBCller;DE\r\n");
  ASSERT_EQ(ReadSheet(component, dir.File("liste.csv"), "", 2, rows), "ok");
  EXPECT_EQ(rows(1, 1), Variant("Müller"));
  testing::WriteBytes(dir.File("alt.csv"), "Name;IBAN\r\nM\xFCller;DE\r\n");  // Windows code page
  ASSERT_EQ(ReadSheet(component, dir.File("alt.csv"), "", 2, rows), "ok");
  EXPECT_EQ(rows(1, 1), Variant("Müller"));
}

}  // namespace
}  // namespace lastora::cli
