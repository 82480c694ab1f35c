// The mail merge's Office adapter driven directly against the stand-in Excel, where the number of
// calls it makes matters: each one crosses into another process on a real machine.
#include "platform/win32/automation_office.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "com/fake_office_host.h"
#include "support/temp_dir.h"

namespace lastora::testing {
namespace {

TEST(AutomationOfficeTest, AWorkbooksTextsAreReadOneCallPerSheet) {
  const ScopedTempDir folder;
  const FakeOfficeHost host(folder.path());
  ASSERT_TRUE(host.registered());
  // A block away from A1 with a gap, read along its rows; an empty sheet; a sheet of one cell.
  const std::filesystem::path book = folder.path() / "Karte.xlsx";
  std::ofstream(book, std::ios::binary) << "@sheet Karte\n@cell 2 2 Nr. <<LfdNr>>\n"
                                           "@cell 2 3 <<Name>>\n@cell 3 2 Köln\n"
                                           "@sheet Leer\n@sheet Notiz\n@cell 4 4 bleibt\n";
  {
    AutomationOffice office;
    EXPECT_EQ(office.Open(book.string(), DocumentKind::kSpreadsheet)->StoryTexts(),
              (std::vector<std::string>{"Nr. <<LfdNr>>", "<<Name>>", "Köln", "bleibt"}));
  }
  const std::string log = host.CallLog();
  EXPECT_EQ(Count(log, "Range.Value()"), 3) << log;
  EXPECT_EQ(Count(log, "Sheet.Cells("), 0) << log;
  EXPECT_EQ(Count(log, "Range.Text("), 0) << log;
  EXPECT_EQ(host.LiveObjects(), 0);
}

}  // namespace
}  // namespace lastora::testing
