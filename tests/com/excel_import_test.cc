// The spreadsheet import through the server, against the stand-in Excel: the automation sequence
// runs for real, the stand-in sorts and hands out typed cells as Excel does, and every way out of
// the call closes the workbook and quits the Excel it started.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "com/fake_office_host.h"
#include "com/late_bound.h"
#include "com/sheet_arrays.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace lastora::testing {
namespace {

namespace fs = std::filesystem;

double Today() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  now.wHour = now.wMinute = now.wSecond = now.wMilliseconds = 0;
  double serial = 0;
  SystemTimeToVariantTime(&now, &serial);
  return serial;
}

// Answers the message boxes the call shows on this thread, and keeps what they said.
class MessageBoxAnswers {
 public:
  explicit MessageBoxAnswers(int button) : button_(button) {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
  }
  ~MessageBoxAnswers() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  MessageBoxAnswers(const MessageBoxAnswers&) = delete;
  MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;

  bool hooked() const { return hook_ != nullptr; }
  // Title, a line break, then the texts of the box, one per line.
  const std::vector<std::wstring>& seen() const { return seen_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE && current_ != nullptr) {
      const HWND box = reinterpret_cast<HWND>(wparam);
      std::wstring said = Text(box) + L"\n";
      EnumChildWindows(box, &CollectText, reinterpret_cast<LPARAM>(&said));
      current_->seen_.push_back(said);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(current_->button_, BN_CLICKED), 0);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  static BOOL CALLBACK CollectText(HWND child, LPARAM said) {
    *reinterpret_cast<std::wstring*>(said) += Text(child) + L"\n";
    return TRUE;
  }
  static std::wstring Text(HWND window) {
    wchar_t text[1024];
    return std::wstring(text, static_cast<size_t>(GetWindowTextW(window, text, 1024)));
  }

  static MessageBoxAnswers* current_;
  int button_;
  HHOOK hook_;
  std::vector<std::wstring> seen_;
};

MessageBoxAnswers* MessageBoxAnswers::current_ = nullptr;

VARIANT Long(VARTYPE kind, long value) {
  VARIANT argument;
  VariantInit(&argument);
  V_VT(&argument) = kind;
  if (kind == VT_I2) V_I2(&argument) = static_cast<SHORT>(value);
  if (kind == VT_I4) V_I4(&argument) = value;
  return argument;
}

VARIANT LeftOut() {
  VARIANT argument;
  VariantInit(&argument);
  V_VT(&argument) = VT_ERROR;
  V_ERROR(&argument) = DISP_E_PARAMNOTFOUND;
  return argument;
}

struct ImportCall {
  std::wstring file = L"Mitglieder.xls";
  std::wstring sheet;
  long first_row = 2;
  long sort_column = 0;
  std::wstring direction;
  std::optional<long> days;
};

constexpr char kMembers[] =
    "@sheet Mitglieder\n"
    "@cell 1 1 Name\n"
    "@cell 1 2 Beitrag\n"
    "@cell 1 3 Eintritt\n"
    "@cell 1 4 Nummer\n"
    "@cell 2 1 Karin Albers\n"
    "@cell 2 2 12.5\n"
    "@cell 2 3 15.01.2020\n"
    "@cell 2 4 '0042\n"
    "@cell 3 1 Jürgen Bäcker\n"
    "@cell 3 3 31.02.2020\n"
    "@cell 3 5 x\n";

class ExcelImportTest : public LateBoundTest {
 protected:
  // The caller's variable holds a marker before each call, to show whether the call replaced it.
  std::string Import(const ImportCall& call) {
    VariantClear(&target_.v);
    V_VT(&target_.v) = VT_BSTR;
    V_BSTR(&target_.v) = SysAllocString(L"vorher");
    Var file(call.file.c_str()), sheet(call.sheet.c_str()), direction(call.direction.c_str());
    return object_->Text(L"GetColumnsFromExcelFile",
                         {file.v, ByRef(&target_.v), sheet.v, Long(VT_I4, call.first_row),
                          Long(VT_I2, call.sort_column), direction.v,
                          call.days ? Long(VT_I4, *call.days) : LeftOut()});
  }
  bool Untouched() const {
    return V_VT(&target_.v) == VT_BSTR && std::wstring(V_BSTR(&target_.v)) == L"vorher";
  }
  Table Imported() const { return RangeOf(target_.v); }

  void Workbook(const std::string& body, const char* name = "Mitglieder.xls") {
    WriteBytes((home_.path() / name).string(), body);
  }
  std::string RunLog() const {
    std::string log;
    const fs::path folder = home_.path() / "Logdateien";
    if (!fs::exists(folder)) return log;
    for (const auto& entry : fs::directory_iterator(folder)) {
      log += ReadBytes(entry.path().string());
    }
    return log;
  }

  ScopedTempDir home_;
  ScopedEnv home_variable_{"LASTORA_HOME", home_.path().string()};
  Var target_;
};

// With the stand-in registered as Excel; its call log starts empty for each test.
class StandInExcelTest : public ExcelImportTest {
 protected:
  void SetUp() override {
    ExcelImportTest::SetUp();
    office_ = std::make_unique<FakeOfficeHost>(home_.path());
    ASSERT_TRUE(office_->registered());
  }
  void TearDown() override {
    office_.reset();
    ExcelImportTest::TearDown();
  }
  // Excel was started once, and the workbook closed unsaved and Excel quit before the call ended.
  // Both logs start afresh for the next call.
  void ExpectStartedOnceAndQuit(bool opened = true) {
    const std::string log = office_->CallLog();
    EXPECT_EQ(Count(log, "Excel.Application created"), 1) << log;
    EXPECT_EQ(Count(log, "Excel.Quit("), 1) << log;
    EXPECT_EQ(Count(log, "Workbook.Close(SaveChanges:=False)"), opened ? 1 : 0) << log;
    if (opened) EXPECT_EQ(MissingInOrder(log, {"Workbook.Close(", "Excel.Quit("}), "") << log;
    EXPECT_EQ(office_->LiveObjects(), 0);
    fs::remove(office_->log_path());
    fs::remove_all(home_.path() / "Logdateien");
  }

  std::unique_ptr<FakeOfficeHost> office_;
};

TEST_F(StandInExcelTest, TheUsedBlockArrivesWithTheKindsOfItsCells) {
  Workbook(kMembers);
  ASSERT_EQ(Import({}), "ok");
  // As a range hands it over: 1-based in both dimensions, up to the last used row and column.
  ASSERT_EQ(V_VT(&target_.v), VT_ARRAY | VT_VARIANT);
  LONG lower = 0, upper = 0;
  SafeArrayGetLBound(V_ARRAY(&target_.v), 1, &lower);
  SafeArrayGetUBound(V_ARRAY(&target_.v), 2, &upper);
  EXPECT_EQ(lower, 1);
  EXPECT_EQ(upper, 5);
  const Table table = Imported();
  ASSERT_EQ(table.RowCount(), 2);
  ASSERT_EQ(table.ColCount(), 5);
  EXPECT_EQ(table(1, 1).AsString(), "Karin Albers");
  EXPECT_EQ(table(1, 2).type(), VarType::kDouble);
  EXPECT_EQ(CDbl(table(1, 2)), 12.5);
  ASSERT_EQ(table(1, 3).type(), VarType::kDate);
  EXPECT_EQ(table(1, 3).AsDate(), 43845);  // 15.01.2020
  EXPECT_EQ(table(1, 4).AsString(), "0042");
  EXPECT_EQ(table(2, 1).AsString(), "Jürgen Bäcker");
  EXPECT_TRUE(table(2, 2).IsEmpty());
  EXPECT_EQ(table(2, 3).AsString(), "31.02.2020");
  EXPECT_EQ(table(2, 5).AsString(), "x");
  const std::string log = office_->CallLog();
  EXPECT_EQ(MissingInOrder(log, {"Workbooks.Open(", "Excel.ScreenUpdating := False",
                                 "Range.SpecialCells(11)", "Range.Value()"}),
            "")
      << log;
  // Neither the sort nor the age check was asked for.
  EXPECT_EQ(Count(log, "Sort("), 0) << log;
  EXPECT_EQ(Count(log, "BuiltinDocumentProperties"), 0) << log;
  ExpectStartedOnceAndQuit();

  // A lone cell comes from Excel as a single value, and still arrives as a table.
  Workbook("@sheet Eins\n@cell 1 1 7\n");
  ASSERT_EQ(Import({.first_row = 1}), "ok");
  const Table lone = Imported();
  ASSERT_EQ(lone.RowCount(), 1);
  ASSERT_EQ(lone.ColCount(), 1);
  EXPECT_EQ(CDbl(lone(1, 1)), 7);
  ExpectStartedOnceAndQuit();

  // A first row below the data finds nothing, and Excel is quit all the same.
  EXPECT_EQ(Import({.first_row = 2}), "Keine Daten!");
  EXPECT_TRUE(Untouched());
  ExpectStartedOnceAndQuit();
}

TEST_F(StandInExcelTest, ASheetIsReadByItsNameOrElseTheFirstOne) {
  Workbook(
      "@sheet Hinweise\n@cell 1 1 Stand Januar\n"
      "@sheet BLZ\n@cell 1 1 Bankleitzahl\n@cell 2 1 10000000\n@cell 3 1 10010010\n");
  ASSERT_EQ(Import({.first_row = 1}), "ok");
  EXPECT_EQ(Imported()(1, 1).AsString(), "Stand Januar");
  ASSERT_EQ(Import({.sheet = L"blz"}), "ok");
  const Table codes = Imported();
  ASSERT_EQ(codes.RowCount(), 2);
  EXPECT_EQ(CDbl(codes(2, 1)), 10010010);
  ExpectStartedOnceAndQuit();

  EXPECT_EQ(Import({.sheet = L"Fehlt"}), "Error");
  EXPECT_TRUE(Untouched());
  EXPECT_NE(RunLog().find("FEHLER: 9: "), std::string::npos) << RunLog();
  ExpectStartedOnceAndQuit();
}

TEST_F(StandInExcelTest, ExcelSortsTheRowsAndKeepsTheHeadingOnTop) {
  Workbook(
      "@sheet Beiträge\n"
      "@cell 1 1 Name\n@cell 1 2 Beitrag\n"
      "@cell 2 1 Albers\n@cell 2 2 30\n"
      "@cell 3 1 Bäcker\n@cell 3 2 frei\n"
      "@cell 4 1 Claasen\n@cell 4 2 12.5\n"
      "@cell 5 1 Dorn\n"
      "@cell 6 1 Ebert\n@cell 6 2 100\n");
  const auto names = [this] {
    std::string order;
    const Table table = Imported();
    for (int32_t row = 1; row <= table.RowCount(); ++row) order += CStr(table(row, 1)) + " ";
    return order;
  };
  // Excel takes a row of texts above a number in the key column for a heading.
  ASSERT_EQ(Import({.first_row = 1, .sort_column = 2, .direction = L"Desc"}), "ok");
  EXPECT_EQ(names(), "Name Bäcker Ebert Albers Claasen Dorn ");
  const std::string log = office_->CallLog();
  EXPECT_EQ(MissingInOrder(log, {"Sheet.Range(A1:IV6)",
                                 "Range.Sort(Key1:=<Range>, Order1:=2, Header:=0, OrderCustom:=1, "
                                 "MatchCase:=False, Orientation:=1, DataOption1:=0)",
                                 "Range.Value()"}),
            "")
      << log;
  ExpectStartedOnceAndQuit();

  // Any other direction sorts ascending; an empty key stays last either way.
  ASSERT_EQ(Import({.first_row = 2, .sort_column = 2, .direction = L"desc"}), "ok");
  EXPECT_EQ(names(), "Claasen Albers Ebert Bäcker Dorn ");
  // The sort was not saved into the file.
  ASSERT_EQ(Import({.first_row = 2}), "ok");
  EXPECT_EQ(names(), "Albers Bäcker Claasen Dorn Ebert ");
}

TEST_F(StandInExcelTest, AnOutdatedWorkbookIsReportedAndCancelEndsTheImport) {
  const auto created = [this](double serial) {
    Workbook("@created " + std::to_string(serial) + "\n" + kMembers);
  };
  created(Today() - 31 + 0.5);
  {
    const MessageBoxAnswers cancel(IDCANCEL);
    ASSERT_TRUE(cancel.hooked());
    EXPECT_EQ(Import({.days = 30}), "");
    EXPECT_TRUE(Untouched());
    ASSERT_EQ(cancel.seen().size(), 1u);
    const std::wstring& box = cancel.seen()[0];
    EXPECT_EQ(box.rfind(L"Lastora V2.13.09.15\n", 0), 0u);
    EXPECT_NE(box.find(L"Erstellungsdatum der BLZ Datei: "), std::wstring::npos);
    EXPECT_NE(box.find(L"Die BLZ-Datei ist nicht aktuell. Bitte laden Sie die aktuelle Datei von "
                       L"der Seite der deutschen Bundesbank"),
              std::wstring::npos);
    ExpectStartedOnceAndQuit();
  }
  {
    const MessageBoxAnswers ok(IDOK);
    EXPECT_EQ(Import({.days = 30}), "ok");
    EXPECT_EQ(ok.seen().size(), 1u);
    // Thirty days old is not yet older than thirty days; no limit, no question at all.
    created(Today() - 30);
    EXPECT_EQ(Import({.days = 30}), "ok");
    EXPECT_EQ(Import({.days = 0}), "ok");
    EXPECT_EQ(ok.seen().size(), 1u);
  }
  EXPECT_EQ(Count(office_->CallLog(), "Workbook.BuiltinDocumentProperties(Creation Date)"), 2);
}

TEST_F(StandInExcelTest, EveryFailureEndsInTheLogAndExcelIsQuit) {
  Workbook("@created " + std::to_string(Today()) + "\n" + kMembers);
  for (const char* failing : {"Workbooks.Open", "Range.SpecialCells", "Range.Sort", "Range.Value",
                              "DocumentProperty.Value"}) {
    SCOPED_TRACE(failing);
    const ScopedEnv fail("FAKE_OFFICE_FAIL", failing);
    EXPECT_EQ(Import({.sort_column = 1, .days = 30}), "Error");
    EXPECT_TRUE(Untouched());
    const std::string log = RunLog();
    EXPECT_NE(log.find("FEHLER: 1004: Der Test l"), std::string::npos) << log;
    EXPECT_NE(log.find(std::string(failing) + " scheitern)"), std::string::npos) << log;
    ExpectStartedOnceAndQuit(std::string(failing) != "Workbooks.Open");
  }
  // A workbook without the property cannot be checked for its age.
  Workbook(kMembers);
  EXPECT_EQ(Import({.days = 30}), "Error");
  ExpectStartedOnceAndQuit();

  // A missing file is found before Excel is started.
  EXPECT_EQ(Import({.file = L"Fehlt.xls"}), "FEHLER: Datei existiert nicht");
  EXPECT_NE(RunLog().find("FEHLER: Datei existiert nicht"), std::string::npos);
  EXPECT_EQ(Count(office_->CallLog(), "Excel.Application created"), 0);
}

TEST_F(ExcelImportTest, WithoutExcelTheImportFailsInItsOwnWords) {
  Workbook(kMembers);
  EXPECT_EQ(Import({}), "Error");
  EXPECT_TRUE(Untouched());
  EXPECT_NE(RunLog().find("FEHLER: 429: "), std::string::npos) << RunLog();
}

}  // namespace
}  // namespace lastora::testing
