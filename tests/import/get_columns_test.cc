// Reading a sheet into a table: the block, the cell types and sorting.
#include <ctime>
#include <string>

#include "gtest/gtest.h"
#include "import/import_fixture.h"
#include "support/field_texts.h"
#include "support/workbook_fixtures.h"

namespace lastora::testing {
namespace {

std::string S(const char* s) { return s; }

class GetColumnsTest : public ImportTest {
 protected:
  std::string Write(const FixtureRows& rows, std::time_t created = 0) {
    const std::string path = dir_.File("members.xlsx");
    WriteXlsx(path, {{"Mitglieder", rows}}, created);
    return path;
  }
};

// An outdated bank-code file gives wrong or missing BICs: the treasurer is warned, and may stop.
TEST_F(GetColumnsTest, AgeWarningOnlyForFilesOlderThanAllowedAndCancelStops) {
  // Created on 20.04.2020 at 10:00, 31 days before today.
  const std::string path = Write({{S("Kopf")}, {S("Wert")}}, UtcTime(2020, 4, 20, 10));
  ScriptedDialogs& dialogs = platform_.dialogs();
  Table table;
  EXPECT_EQ(c_.GetColumnsFromExcelFile(path, table, "", 2, 0, "", Variant(int16_t{31})), "ok");
  EXPECT_TRUE(dialogs.shown.empty());

  EXPECT_EQ(c_.GetColumnsFromExcelFile(path, table, "", 2, 0, "", Variant(int16_t{30})), "ok");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(
      dialogs.shown[0].prompt,
      "Erstellungsdatum der BLZ Datei: 20.04.2020 10:00:00\r\rDie BLZ-Datei ist nicht aktuell. "
      "Bitte laden Sie die aktuelle Datei von der Seite der deutschen Bundesbank");
  EXPECT_EQ(dialogs.shown[0].style, 65);

  dialogs.button_answers.push_back(kVbCancel);
  Table untouched;
  EXPECT_EQ(c_.GetColumnsFromExcelFile(path, untouched, "", 2, 0, "", Variant("30")), "");
  EXPECT_FALSE(untouched.IsAllocated());
}

TEST_F(GetColumnsTest, NoDataBelowTheFirstRowLeavesTheTableAlone) {
  const std::string path = Write({{S("Kopf")}, {S("Zeile 2")}});
  Table before(1, 1);
  before(1, 1) = Variant("unverändert");
  EXPECT_EQ(c_.GetColumnsFromExcelFile(path, before, "", 3), "Keine Daten!");
  EXPECT_EQ(before(1, 1), Variant("unverändert"));
}

TEST_F(GetColumnsTest, MissingFileIsReportedAndLogged) {
  Table table;
  EXPECT_EQ(c_.GetColumnsFromExcelFile(dir_.File("fehlt.xlsx"), table, "", 2),
            "FEHLER: Datei existiert nicht");
  EXPECT_EQ(LogText(), "21.05.2020;12:00:00;FEHLER: Datei existiert nicht\r\n");
  EXPECT_FALSE(table.IsAllocated());
}

TEST_F(GetColumnsTest, SortsNumbersBeforeTextsAndEmptyKeysLast) {
  const std::string path = Write({{S("Kopf"), S("Nr")},
                                  {S("b"), 1.0},
                                  {{}, 2.0},
                                  {S("A"), 3.0},
                                  {3.0, 4.0},
                                  {S("a"), 5.0},
                                  {1.0, 6.0}});
  Table table;
  ASSERT_EQ(c_.GetColumnsFromExcelFile(path, table, "", 2, 1), "ok");
  // Texts ignore case and keep their order among equals (A before a).
  EXPECT_EQ(ColumnTexts(table, 2), (Texts{"6", "4", "3", "5", "1", "2"}));
  ASSERT_EQ(c_.GetColumnsFromExcelFile(path, table, "", 2, 1, "Desc"), "ok");
  EXPECT_EQ(ColumnTexts(table, 2), (Texts{"1", "3", "5", "4", "6", "2"}));
}

}  // namespace
}  // namespace lastora::testing
