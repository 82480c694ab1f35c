// The .xlsx payment table as written to disk: through an exclusive temporary, and read back as
// written.
#include "workbook/xlsx_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "import/workbook_reader.h"
#include "lastora/workbook_error.h"
#include "support/field_texts.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace lastora {
namespace {

namespace fs = std::filesystem;
using ::lastora::testing::ReadBytes;
using ::lastora::testing::ScopedTempDir;
using ::lastora::testing::ScopedTestPlatform;
using ::lastora::testing::WriteBytes;

ColouredTable SmallTable() {
  ColouredTable table;
  table.values = Table(2, 2);
  table.values(1, 1) = Variant("Albers, Karin");
  table.values(1, 2) = Variant(120.0);
  table.values(2, 1) = Variant("Große, Björn");
  table.values(2, 2) = Variant::Date(MakeDate(2026, 3, 16));
  return table;
}

TEST(XlsxFileTest, LinkAtTheOldTemporaryNameIsLeftAlone) {
  ScopedTempDir dir;
  const ScopedTestPlatform clock(MakeDate(2026, 3, 2));
  WriteBytes(dir.File("fremd.txt"), "nicht anfassen");
  fs::create_symlink(dir.File("fremd.txt"), dir.File("Z.xlsx.tmp"));
  WriteXlsx(dir.File("Z.xlsx"), SmallTable(), {});
  EXPECT_EQ(ReadBytes(dir.File("fremd.txt")), "nicht anfassen");
  EXPECT_FALSE(fs::is_symlink(dir.File("Z.xlsx")));
  EXPECT_TRUE(ReadBytes(dir.File("Z.xlsx")).starts_with("PK"));
}

// Cutting the table at the sheet's last row would lose payments without a word.
TEST(XlsxFileTest, ATableBeyondTheLargestSheetIsRefusedAndTheOldFileStays) {
  ScopedTempDir dir;
  const ScopedTestPlatform clock(MakeDate(2026, 3, 2));
  const std::string path = dir.File("gross.xlsx");
  WriteBytes(path, "die alte Tabelle");
  ColouredTable table;
  table.values = Table(1048576, 1);
  try {
    WriteXlsx(path, table, {"Name"});
    ADD_FAILURE() << "written";
  } catch (const WorkbookError& refused) {
    EXPECT_EQ(std::string(refused.what()),
              "Tabelle nicht geschrieben: " + path +
                  " (Zu viele Zeilen für ein Tabellenblatt: 1048577 (höchstens 1048576); als "
                  ".csv speichern)");
  }
  EXPECT_EQ(ReadBytes(path), "die alte Tabelle");
  table.values = Table(1048575, 1);
  WriteXlsx(path, table, {"Name"});
  EXPECT_TRUE(ReadBytes(path).starts_with("PK"));
}

// Every kind of value in its cell, texts with the characters XML reserves or drops; a colour
// gives a cell a style of its own, which must not cost a date its date format.
TEST(XlsxFileTest, CellsReadBackAsWrittenWhateverTheirColour) {
  ScopedTempDir dir;
  const ScopedTestPlatform clock(MakeDate(2026, 3, 2) + MakeTime(9, 30, 0));
  ColouredTable table;
  table.values = Table(2, 4);
  table.colours = Table(2, 4);
  table.values(1, 1) = Variant("Meier & Söhne <GbR>");
  table.values(1, 2) = Variant(int32_t{7});
  table.values(1, 3) = Variant(0.1);
  table.values(1, 4) = Variant(true);
  table.values(2, 1) = Variant("  eingerückt\tmit Tab ");
  table.values(2, 2) = Variant::Date(MakeDate(2026, 3, 16));
  table.values(2, 3) = Variant::Date(MakeDate(2026, 4, 1));
  table.colours(1, 3) = Variant(3.0);          // red
  table.colours(2, 2) = Variant(int32_t{45});  // orange, on a date
  table.colours(2, 4) = Variant(6.0);          // yellow, on an empty cell
  const std::string path = dir.File("farben.xlsx");
  WriteXlsx(path, table, {"", "Nr"});

  const auto reader = detail::OpenXlsxReader(path);
  EXPECT_EQ(reader->SheetNames(), std::vector<std::string>{"Zahlungen"});
  EXPECT_EQ(reader->CreationDate(), MakeDate(2026, 3, 2) + MakeTime(9, 30, 0));
  const detail::SheetGrid grid = reader->ReadSheet(0);
  EXPECT_EQ(grid.LastRow(), 3);
  EXPECT_EQ(testing::GridOf(grid.ReadBlock(1, 1, 3, 4)),
            (testing::Grid{{{}, "Nr", {}, {}},
                           {"Meier & Söhne <GbR>", 7.0, 0.1, true},
                           {"  eingerückt\tmit Tab ",
                            Variant::Date(MakeDate(2026, 3, 16)),
                            Variant::Date(MakeDate(2026, 4, 1)),
                            {}}}));
}

}  // namespace
}  // namespace lastora
