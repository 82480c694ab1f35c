// Reading a sheet into a table: the block, the cell types and sorting.
#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "import/import_fixture.h"
#include "import/sheet_grid.h"
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

TEST_F(GetColumnsTest, SortsNumbersBeforeTextsAndEmptyKeysLastAndWithoutDataLeavesAlone) {
  std::string path = Write({{S("Kopf"), S("Nr")},
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

  // No data below the first row, or no file, leaves the table alone.
  path = Write({{S("Kopf")}, {S("Zeile 2")}});
  Table before(1, 1);
  before(1, 1) = Variant("unverändert");
  EXPECT_EQ(c_.GetColumnsFromExcelFile(path, before, "", 3), "Keine Daten!");
  EXPECT_EQ(before(1, 1), Variant("unverändert"));
  // A missing file is reported and logged.
  Table none;
  EXPECT_EQ(c_.GetColumnsFromExcelFile(dir_.File("fehlt.xlsx"), none, "", 2),
            "FEHLER: Datei existiert nicht");
  EXPECT_EQ(LogText(), "21.05.2020;12:00:00;FEHLER: Datei existiert nicht\r\n");
  EXPECT_FALSE(none.IsAllocated());
}

// Sorting moves whole rows in place; against a plain stable sort of the same rows, every row must
// arrive whole and in order, for permutations with long cycles as well as fixed rows.
TEST(SheetGridTest, SortedRowsMatchAStableSortOfTheRows) {
  struct Row {
    int32_t key;
    std::string name;
  };
  std::vector<Row> rows;
  for (int32_t i = 0; i < 200; ++i)
    rows.push_back({(i * 37) % 23, "Mitglied Nummer " + std::to_string(i)});
  for (const bool descending : {false, true}) {
    ::lastora::detail::SheetGrid grid;
    grid.Set(1, 1, Variant("Nr"));
    grid.Set(1, 2, Variant("Name"));
    for (size_t i = 0; i < rows.size(); ++i) {
      const int32_t r = static_cast<int32_t>(i) + 2;
      grid.Set(r, 1, Variant(rows[i].key));
      grid.Set(r, 2, Variant(rows[i].name));
    }
    grid.SortRows(1, grid.LastRow(), 1, descending);
    std::vector<Row> sorted = rows;
    std::stable_sort(sorted.begin(), sorted.end(), [descending](const Row& a, const Row& b) {
      return descending ? a.key > b.key : a.key < b.key;
    });
    Grid expected = {{"Nr", "Name"}};  // the header stays on top
    for (const Row& row : sorted) expected.push_back({row.key, row.name});
    EXPECT_EQ(GridOf(grid.ReadBlock(1, 1, grid.LastRow(), 2)), expected) << descending;
  }
}

}  // namespace
}  // namespace lastora::testing
