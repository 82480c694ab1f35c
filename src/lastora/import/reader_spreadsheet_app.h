// The spreadsheet program made of file readers: no office program needed.
#ifndef LASTORA_IMPORT_READER_SPREADSHEET_APP_H_
#define LASTORA_IMPORT_READER_SPREADSHEET_APP_H_

#include "lastora/spreadsheet_app.h"

namespace lastora {

// Opens .xlsx/.xlsm and .ods packages, .xls workbooks, .csv files and the Bundesbank's
// fixed-width bank-code .txt file. The format is told by the file's first bytes where it has a
// signature, otherwise by its extension.
class ReaderSpreadsheetApp : public SpreadsheetApp {
 public:
  std::unique_ptr<SpreadsheetWorkbook> Open(const std::string& path) override;
};

}  // namespace lastora

#endif  // LASTORA_IMPORT_READER_SPREADSHEET_APP_H_
