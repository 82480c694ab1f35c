// The spreadsheet import through the server, against the stand-in Excel: the automation sequence
// runs for real, the stand-in hands out typed cells as Excel does, and every way out of the call
// closes the workbook and quits the Excel it started.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "com/fake_office_host.h"
#include "com/late_bound.h"
#include "com/sheet_arrays.h"
#include "support/cell_dump.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace lastora::testing {
namespace {

namespace fs = std::filesystem;

struct ImportCall {
  std::wstring sheet;
  long first_row = 2;
  long sort_column = 0;
  std::wstring direction;
  std::optional<long> days;
};

constexpr char kMembers[] =
    "@sheet Mitglieder\n@cell 1 1 Name\n@cell 1 2 Beitrag\n@cell 1 3 Eintritt\n@cell 1 4 Nummer\n"
    "@cell 2 1 Karin Albers\n@cell 2 2 12.5\n@cell 2 3 15.01.2020\n@cell 2 4 '0042\n"
    "@cell 3 1 Jürgen Bäcker\n@cell 3 5 x\n";

class ExcelImportTest : public ProgramFolderTest {
 protected:
  // The caller's variable holds a marker before each call, to show whether the call replaced it.
  std::string Import(const ImportCall& call) {
    VariantClear(&target_.v);
    V_VT(&target_.v) = VT_BSTR;
    V_BSTR(&target_.v) = SysAllocString(L"vorher");
    Var file(L"Mitglieder.xls"), sheet(call.sheet.c_str()), direction(call.direction.c_str());
    return object_->Text(L"GetColumnsFromExcelFile",
                         {file.v, ByRef(&target_.v), sheet.v, Scalar(VT_I4, call.first_row),
                          Scalar(VT_I2, call.sort_column), direction.v,
                          call.days ? Scalar(VT_I4, *call.days) : Scalar(VT_ERROR)});
  }
  bool Untouched() const {
    return V_VT(&target_.v) == VT_BSTR && std::wstring(V_BSTR(&target_.v)) == L"vorher";
  }
  // The imported table whole: its size and first indices, then each cell with its kind (S text,
  // D number, T date).
  std::string Dump() const {
    CellDump dump;
    dump.AddTable("t", RangeOf(target_.v));
    return dump.Write();
  }

  void SetUp() override {
    LateBoundTest::SetUp();
    // The program folder as installed: the run log goes only where its folder exists.
    fs::create_directories(home_.path() / "Logdateien");
  }

  void Workbook(const std::string& body) { Write(home_.path() / "Mitglieder.xls", body); }
  // What the calls so far wrote to the run log, which then starts afresh.
  std::string TakeRunLog() const {
    std::string log;
    for (const auto& entry : fs::directory_iterator(home_.path() / "Logdateien")) {
      log += ReadBytes(entry.path().string());
      fs::remove(entry.path());
    }
    return log;
  }

  Var target_;
};

// With the stand-in registered as Excel; its call log starts empty for each test.
class StandInExcelTest : public ExcelImportTest {
 protected:
  void SetUp() override {
    ExcelImportTest::SetUp();
    StartOffice();
  }
  // Excel was started once, and the workbook closed unsaved and Excel quit before the call ended.
  // The call log starts afresh for the next call.
  void ExpectStartedOnceAndQuit(bool opened = true) {
    const std::string log = office_->CallLog();
    EXPECT_EQ(Count(log, "Excel.Application created"), 1) << log;
    EXPECT_EQ(Count(log, "Excel.Quit("), 1) << log;
    EXPECT_EQ(Count(log, "Workbook.Close(SaveChanges:=False)"), opened ? 1 : 0) << log;
    if (opened) EXPECT_EQ(MissingInOrder(log, {"Workbook.Close(", "Excel.Quit("}), "") << log;
    EXPECT_EQ(office_->LiveObjects(), 0);
    fs::remove(office_->log_path());
  }
};

TEST_F(StandInExcelTest, TheUsedBlockArrivesWithTheKindsOfItsCells) {
  Workbook(kMembers);
  ASSERT_EQ(Import({}), "ok");
  // As a range hands it over: 1-based in both dimensions, up to the last used row and column.
  ASSERT_EQ(V_VT(&target_.v), VT_ARRAY | VT_VARIANT);
  // Cells compare by kind and value: 15.01.2020 is a date, not the number underneath it.
  EXPECT_EQ(Dump(),
            "table t 2 5 1 1\n1\t1\tS\tKarin Albers\n1\t2\tD\t12.5\n1\t3\tT\t43845\n"
            "1\t4\tS\t0042\n2\t1\tS\tJürgen Bäcker\n2\t5\tS\tx\n");
  ExpectStartedOnceAndQuit();

  // A lone cell comes from Excel as a single value, and still arrives as a table.
  Workbook("@sheet Eins\n@cell 1 1 7\n");
  ASSERT_EQ(Import({.first_row = 1}), "ok");
  EXPECT_EQ(Dump(), "table t 1 1 1 1\n1\t1\tD\t7\n");
  ExpectStartedOnceAndQuit();
}

// Sorting is Excel's own; what matters is what Excel is asked for: on the sheet named, the rows
// from the first row on, up to the last used column even past IV (so that no cell stays behind
// while the rest of its row moves), by the key column, descending.
TEST_F(StandInExcelTest, ExcelIsAskedToSortWholeRowsOfTheNamedSheet) {
  Workbook(
      "@sheet Hinweise\n@sheet Beiträge\n@cell 1 1 Name\n@cell 2 1 B\n@cell 2 300 zu B\n"
      "@cell 3 1 A\n");
  ASSERT_EQ(Import({.sheet = L"Beitr\u00e4ge", .sort_column = 2, .direction = L"Desc"}), "ok");
  const std::string log = office_->CallLog();
  EXPECT_EQ(MissingInOrder(log, {"Sheet.Range(A2:KN3)", "Sheet.Cells(2, 2)",
                                 "Range.Sort(Key1:=<Range>, Order1:=2, Header:=0, OrderCustom:=1, "
                                 "MatchCase:=False, Orientation:=1, DataOption1:=0)",
                                 "Range.Value()"}),
            "")
      << log;
  ExpectStartedOnceAndQuit();
}

TEST_F(StandInExcelTest, EveryFailureEndsInTheLogAndExcelIsQuit) {
  // Dated far ahead: no age warning comes before the failing call.
  Workbook("@created 73050\n" + std::string(kMembers));
  for (const char* failing : {"Workbooks.Open", "Range.SpecialCells", "Range.Sort", "Range.Value",
                              "DocumentProperty.Value"}) {
    SCOPED_TRACE(failing);
    const ScopedEnv fail("FAKE_OFFICE_FAIL", failing);
    EXPECT_EQ(Import({.sort_column = 1, .days = 30}), "Error");
    EXPECT_TRUE(Untouched());
    const std::string log = TakeRunLog();
    EXPECT_NE(log.find("FEHLER: 1004: Der Test l"), std::string::npos) << log;
    EXPECT_NE(log.find(std::string(failing) + " scheitern)"), std::string::npos) << log;
    ExpectStartedOnceAndQuit(std::string(failing) != "Workbooks.Open");
  }
  // A workbook without the property cannot be checked for its age.
  Workbook(kMembers);
  EXPECT_EQ(Import({.days = 30}), "Error");
  ExpectStartedOnceAndQuit();
}

TEST_F(ExcelImportTest, WithoutExcelTheImportFailsInItsOwnWords) {
  Workbook(kMembers);
  EXPECT_EQ(Import({}), "Error");
  EXPECT_TRUE(Untouched());
  const std::string log = TakeRunLog();
  EXPECT_NE(log.find("FEHLER: 429: "), std::string::npos) << log;
}

}  // namespace
}  // namespace lastora::testing
