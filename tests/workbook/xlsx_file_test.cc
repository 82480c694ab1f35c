// The .xlsx payment table as written to disk: through an exclusive temporary, and the same bytes
// for the same clock.
#include "workbook/xlsx_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

TEST(XlsxFileTest, SameClockGivesTheSameBytes) {
  ScopedTempDir dir;
  const ScopedTestPlatform first_clock(MakeDate(2026, 3, 2) + MakeTime(9, 30, 0));
  WriteXlsx(dir.File("eins.xlsx"), SmallTable(), {"Name", "Betrag"});
  const std::string first = ReadBytes(dir.File("eins.xlsx"));
  ASSERT_FALSE(first.empty());
  {
    // A clock a year on must show in the workbook, or the comparison below proves nothing.
    const ScopedTestPlatform later(MakeDate(2027, 3, 2) + MakeTime(9, 30, 0));
    WriteXlsx(dir.File("spaeter.xlsx"), SmallTable(), {"Name", "Betrag"});
    EXPECT_NE(ReadBytes(dir.File("spaeter.xlsx")), first);
  }
  WriteXlsx(dir.File("zwei.xlsx"), SmallTable(), {"Name", "Betrag"});
  EXPECT_EQ(ReadBytes(dir.File("zwei.xlsx")), first);
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

}  // namespace
}  // namespace lastora
