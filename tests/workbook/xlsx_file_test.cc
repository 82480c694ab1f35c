// The .xlsx payment table as written to disk: through an exclusive temporary, read back as written,
// and the same bytes for the same clock.
#include "workbook/xlsx_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "import/workbook_reader.h"
#include "lastora/workbook_error.h"
#include "platform/posix/zip_package.h"
#include "support/field_texts.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace lastora {
namespace {

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

// Entries are packed before their size is known, yet each keeps the plain header of a small file:
// not every spreadsheet program reads the form for archives beyond 4 GB.
TEST(XlsxFileTest, SameClockGivesTheSameBytesAndEveryEntryHasThePlainHeader) {
  ScopedTempDir dir;
  const ScopedTestPlatform first_clock(MakeDate(2026, 3, 2) + MakeTime(9, 30, 0));
  WriteXlsx(dir.File("eins.xlsx"), SmallTable(), {"Name", "Betrag"});
  const std::string first = ReadBytes(dir.File("eins.xlsx"));
  int entries = 0;
  for (size_t at = first.find("PK\x03\x04"); at != std::string::npos;
       at = first.find("PK\x03\x04", at + 4)) {
    ASSERT_LE(at + 30, first.size());
    uint16_t extra = 0;
    std::memcpy(&extra, first.data() + at + 28, sizeof extra);
    EXPECT_EQ(extra, 0) << "entry " << entries;
    ++entries;
  }
  EXPECT_EQ(entries, 7);
  {
    // A clock a year on must show in the workbook, or the comparison below proves nothing.
    const ScopedTestPlatform later(MakeDate(2027, 3, 2) + MakeTime(9, 30, 0));
    WriteXlsx(dir.File("spaeter.xlsx"), SmallTable(), {"Name", "Betrag"});
    EXPECT_NE(ReadBytes(dir.File("spaeter.xlsx")), first);
  }
  WriteXlsx(dir.File("zwei.xlsx"), SmallTable(), {"Name", "Betrag"});
  EXPECT_EQ(ReadBytes(dir.File("zwei.xlsx")), first);
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

// The value of the attribute opened by `attribute` in the first element found by `element`, when
// it comes before `end`.
std::string ValueAfter(const std::string& xml, const std::string& element,
                       const std::string& attribute, const std::string& end) {
  const size_t at = xml.find(element);
  if (at == std::string::npos) return "";
  const size_t value = xml.find(attribute, at);
  if (value == std::string::npos || value > xml.find(end, at)) return "";
  const size_t begin = value + attribute.size();
  return xml.substr(begin, xml.find('"', begin) - begin);
}

// What a spreadsheet program shows: every kind of value in its cell, texts with the characters
// XML reserves or drops, and the palette colours as fills.
TEST(XlsxFileTest, CellsAndColoursReadBackAsWritten) {
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
  const ZipPackage package = ZipPackage::Read(ReadBytes(path), path);
  const std::string& sheet = package.Part("xl/worksheets/sheet1.xml");
  const std::string& styles = package.Part("xl/styles.xml");
  // A cell's style number leads to its format, whose fill number leads to the fill's colour.
  const auto fill_of = [&](const std::string& cell) -> std::string {
    const std::string style = ValueAfter(sheet, "<c r=\"" + cell + "\"", "s=\"", ">");
    if (style.empty()) return "none";
    size_t xf = styles.find("<cellXfs");
    for (int n = std::stoi(style); n >= 0; --n) xf = styles.find("<xf ", xf + 1);
    size_t fill = 0;
    for (int n = std::stoi(ValueAfter(styles.substr(xf), "", "fillId=\"", ">")); n >= 0; --n) {
      fill = styles.find("<fill>", fill + 1);
    }
    const std::string rgb = ValueAfter(styles.substr(fill), "", "rgb=\"", "</fill>");
    return rgb.empty() ? "none" : rgb;
  };
  EXPECT_EQ(fill_of("C2"), "FFFF0000");
  EXPECT_EQ(fill_of("B3"), "FFFF9900");
  EXPECT_EQ(fill_of("D3"), "FFFFFF00");
  EXPECT_EQ(fill_of("B2"), "none");
}

}  // namespace
}  // namespace lastora
