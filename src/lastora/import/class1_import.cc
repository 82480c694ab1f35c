// Class1's spreadsheet import.
#include <memory>

#include "component/helpers.h"
#include "component/run_frame.h"
#include "component/write_log.h"
#include "core/files.h"
#include "core/text.h"
#include "lastora/class1.h"
#include "lastora/platform.h"
#include "lastora/spreadsheet_app.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

constexpr char kFileMissing[] = "FEHLER: Datei existiert nicht";
constexpr char kAgeWarningTitle[] = "Lastora V2.13.09.15";

bool HasFolder(const std::string& file) {
  return file.find('\\') != std::string::npos || file.find('/') != std::string::npos;
}

// The log line must not turn the method's answer into a failure of its own.
void LogLine(const std::string& message) {
  int32_t number = 0;
  std::string description;
  TrapFailure([&] { WriteLog("1111-", 1, "", message, "", "", ""); }, &number, &description);
}

int32_t ChooseSheet(SpreadsheetWorkbook& workbook, const std::string& name) {
  if (name.empty()) return 1;
  const std::string wanted = text::UCase(name);
  for (int32_t sheet = 1; sheet <= workbook.SheetCount(); ++sheet) {
    // Sheet names are matched without regard to case, as the spreadsheet program does.
    if (text::UCase(workbook.SheetName(sheet)) == wanted) return sheet;
  }
  throw VbError(9);
}

// True when the user let the import go on; asks only when the file is older than allowed.
bool AcceptAge(SpreadsheetWorkbook& workbook, const Variant& days_allowed) {
  const double days = days_allowed.IsMissing() ? 0 : CDbl(days_allowed);
  if (days <= 0) return true;
  const double created = workbook.CreationDate();
  if (created + days >= Int(GetClock()->Now())) return true;
  const std::string prompt =
      "Erstellungsdatum der BLZ Datei: " + CStr(Variant::Date(created)) +
      "\r\rDie BLZ-Datei ist nicht aktuell. Bitte laden Sie die aktuelle Datei von der Seite der "
      "deutschen Bundesbank";
  return GetDialogs()->MessageBox(prompt, 1 + 64, kAgeWarningTitle) != kVbCancel;
}

}  // namespace

std::string Class1::GetColumnsFromExcelFile(const std::string& strFile, Table& aZiel,
                                            const std::string& strSheet, int32_t lngFirstRow,
                                            int16_t SortColumn, const std::string& SortDirection,
                                            const Variant& intDateWarnung) {
  const std::string file = HasFolder(strFile) ? strFile : GetAppPath() + "\\" + strFile;
  if (!CheckPathAndFile(file, "Error", "Fehler")) {
    LogLine(kFileMissing);
    return kFileMissing;
  }

  std::string result;
  int32_t number = 0;
  std::string description;
  const bool completed = TrapFailure(
      [&] {
        std::unique_ptr<SpreadsheetWorkbook> workbook =
            GetSpreadsheetApp()->Open(files::NativePath(ResolveAppRelative(file)));
        const int32_t sheet = ChooseSheet(*workbook, strSheet);
        if (!AcceptAge(*workbook, intDateWarnung)) return;  // the user cancelled: ""
        const SpreadsheetWorkbook::CellAddress last = workbook->LastCell(sheet);
        if (last.row < lngFirstRow) {
          result = "Keine Daten!";
          return;
        }
        if (SortColumn > 0) {
          workbook->SortRows(sheet, lngFirstRow, last.row, SortColumn, SortDirection == "Desc");
        }
        Table block = workbook->TakeBlock(sheet, lngFirstRow, 1, last.row, last.column);
        aZiel = std::move(block);
        result = "ok";
      },
      &number, &description);
  if (!completed) {
    LogLine("FEHLER: " + std::to_string(number) + ": " + description + ")");
    return "Error";
  }
  return result;
}

void Class1::TestGC() {
  Table discarded;
  GetColumnsFromExcelFile("D:\\test.xls", discarded, "", 2, 2, "Desc");
}

}  // namespace lastora
