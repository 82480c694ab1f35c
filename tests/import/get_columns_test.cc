// Reading a sheet into a table: the block, the cell types and sorting.
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
  std::string Write(const FixtureRows& rows) {
    const std::string path = dir_.File("members.xlsx");
    WriteXlsx(path, {{"Mitglieder", rows}});
    return path;
  }
};

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
