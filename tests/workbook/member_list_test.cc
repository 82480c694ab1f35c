#include "lastora/member_list.h"

#include <gtest/gtest.h>

#include "lastora/payment_table.h"
#include "support/temp_dir.h"

namespace lastora {
namespace {

// Name, IBAN, account number, bank code, mandate, contribution: Mapping() names these columns.
Table Members() {
  const char* const rows[3][6] = {
      {"Karin Albers", "DE12 1230 5600 1000 1234 01", "", "", "M-1", "120,00"},
      {"Helga Quast", "", "1000565601", "12305600", "M-2", "  "},
      {"Ida Zimmer", "de57210907004400767610", "", "", "M-3", "60"},
  };
  Table source(3, 6);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 6; ++c)
      if (*rows[r][c] != '\0') source(r + 1, c + 1) = rows[r][c];
  return source;
}

SEPAVARIABLEN Mapping() {
  SEPAVARIABLEN s;
  const std::pair<SEPAVALUES*, const char*> columns[] = {
      {&s.Import__MITG, "0"}, {&s.Import__BIC_, "0"}, {&s.Import__LAND, "0"},
      {&s.Import__MDAT, "0"}, {&s.Import__EDAT, "0"}, {&s.Import__NAME, "1"},
      {&s.Import__IBAN, "2"}, {&s.Import__KONT, "3"}, {&s.Import__BLZ_, "4"},
      {&s.Import__MAND, "5"}, {&s.Import__MONB, "6"}};
  for (auto [field, column] : columns) field->Value = column;
  return s;
}

TEST(MemberListTest, MapsOntoThePaymentLayoutKeepingWrongIbansOutAndNamingAMissingColumn) {
  ColouredTable table;
  SEPAVARIABLEN settings = Mapping();
  ASSERT_EQ(MapMembers(Members(), settings, table), "ok");
  EXPECT_EQ(table.values(1, 4), Variant("DE12123056001000123401"));  // groups joined
  EXPECT_EQ(table.values(3, 4), Variant("DE57210907004400767610"));  // in capitals
  EXPECT_EQ(table.values(1, 17), Variant("120,00"));  // the list's text, not a number
  EXPECT_TRUE(table.values(2, 17).IsEmpty());         // a blank field is an Empty cell

  Class1 component;
  ASSERT_EQ(CompleteAccounts(component, settings, table), "ok");
  EXPECT_EQ(table.values(2, 4), Variant("DE51123056001000565601"));
  // A wrong IBAN leaves column 4, keeps its text in the message and is counted.
  EXPECT_TRUE(table.values(3, 4).IsEmpty());
  EXPECT_EQ(table.values(3, 26),
            Variant("SEPA-Checker: IBAN Prüfziffer ist falsch (57<>08): DE57210907004400767610"));
  EXPECT_EQ(settings.ProgImpoFehl.Value, "1");

  // One list column may feed several layout columns; the cells move out of the list, so each
  // feeding must still see them.
  settings = Mapping();
  settings.Import__MITG.Value = "1";  // the member is the account holder
  settings.Import__MAND.Value = "1";  // and the mandate reference
  ASSERT_EQ(MapMembers(Members(), settings, table), "ok");
  for (const int32_t column : {payment_table::kName, 10, 21}) {
    ASSERT_EQ(table.values(3, column), Variant("Ida Zimmer")) << column;
  }

  // A column outside the list; a missing IBAN column is the command line's case.
  settings.Import__NAME.Value = "0";
  EXPECT_EQ(
      MapMembers(Members(), settings, table),
      "Import-Spalte für Name (Kontoinhaber) nicht oder nicht richtig angegeben: 0 (die Liste "
      "hat 6 Spalten)");
}

TEST(MemberListTest, ReadsCsvListsInUtf8OrTheWindowsCodePage) {
  testing::ScopedTempDir dir;
  Class1 component;
  Table rows;
  for (const char* bytes : {"\xEF\xBB\xBFName;IBAN\r\nM\xC3\xBCller;DE\r\n",  // UTF-8
                            "Name;IBAN\r\nM\xFCller;DE\r\n"}) {               // Windows code page
    testing::WriteBytes(dir.File("liste.csv"), bytes);
    ASSERT_EQ(ReadSheet(component, dir.File("liste.csv"), "", 2, rows), "ok");
    EXPECT_EQ(rows(1, 1), Variant("Müller"));
  }
}

}  // namespace
}  // namespace lastora
