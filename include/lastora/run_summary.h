// The figures a caller shows after a run, taken from the settings record and the table the runs
// returned: amounts as the user reads them, the rows with findings, and a checker's stated and
// counted figures side by side.
#ifndef LASTORA_RUN_SUMMARY_H_
#define LASTORA_RUN_SUMMARY_H_

#include <cstdint>
#include <string>
#include <vector>

#include "lastora/export.h"
#include "lastora/settings.h"
#include "lastora/table.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

// An amount text of the component in the form "0.00" of the regional settings; "0,00" for an
// empty text, the text itself when it is no number.
std::string MoneyText(const std::string& amount);

// A row whose error (26) or warning (27) column holds something.
struct RowFinding {
  int32_t row = 0;   // 1-based row of the table
  std::string name;  // the member (column 21), else the account holder (column 3)
  std::string errors;
  std::string warnings;
};
std::vector<RowFinding> RowFindings(const Table& values);

// One figure of a file check: what the file states and what the checker counted.
struct CheckedFigure {
  std::string label;
  std::string stated;
  std::string counted;
  bool same = false;  // numerically equal when both are numbers, else as texts
};
// The count ("Anzahl") and the sum ("Summe", as MoneyText) of the last check.
std::vector<CheckedFigure> CheckedFigures(const SEPAVARIABLEN& record);

// Whether the SEPA checker loaded its document(s): otherwise the record still holds the
// settings' values, which would pass for the file's.
bool SepaFilesRead(const SEPAVARIABLEN& record, bool two_files);

// Whether the DTAUS checker read the file's header, which it has once it counted payments in a
// check that started with the figures cleared (as `Workbook::CheckDtaus` does): otherwise the
// record still holds the settings' creditor and date, which would pass for the file's.
bool DtausHeaderRead(const SEPAVARIABLEN& record);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_RUN_SUMMARY_H_
