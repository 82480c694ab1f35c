#include "lastora/read_failure.h"

#include <exception>
#include <memory>

#include "core/text.h"
#include "lastora/spreadsheet_app.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

constexpr char kBareFailure[] = "Error";

// 0 when the workbook has no sheet of that name (compared as the import compares).
int32_t SheetIndex(SpreadsheetWorkbook& workbook, const std::string& name) {
  if (name.empty()) return 1;
  for (int32_t sheet = 1; sheet <= workbook.SheetCount(); ++sheet) {
    if (text::UCase(workbook.SheetName(sheet)) == text::UCase(name)) return sheet;
  }
  return 0;
}

std::string SheetNames(SpreadsheetWorkbook& workbook) {
  std::string names;
  for (int32_t sheet = 1; sheet <= workbook.SheetCount(); ++sheet) {
    names += (sheet > 1 ? ", " : "") + workbook.SheetName(sheet);
  }
  return names;
}

}  // namespace

std::string ReadFailureReason(const std::string& path, const std::string& sheet,
                              int32_t first_row) {
  try {
    std::unique_ptr<SpreadsheetWorkbook> workbook = GetSpreadsheetApp()->Open(path);
    const int32_t index = SheetIndex(*workbook, sheet);
    if (index == 0) {
      return "Tabellenblatt \"" + sheet + "\" fehlt (vorhanden: " + SheetNames(*workbook) + ")";
    }
    const SpreadsheetWorkbook::CellAddress last = workbook->LastCell(index);
    if (last.row >= first_row) workbook->ReadBlock(index, first_row, 1, last.row, last.column);
  } catch (const VbError& e) {
    return e.description();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

std::string WithReadFailureReason(const std::string& result, const std::string& path,
                                  const std::string& sheet, int32_t first_row) {
  if (result != kBareFailure) return result;
  const std::string reason = ReadFailureReason(path, sheet, first_row);
  return reason.empty() ? result : result + ": " + reason;
}

}  // namespace lastora
