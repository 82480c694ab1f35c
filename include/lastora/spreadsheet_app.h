// Port: the spreadsheet program that opens a workbook and hands out one sheet's values. The
// component relies on these operations only; how a platform provides them (an office program's
// automation, or file readers) is the adapter's business.
#ifndef LASTORA_SPREADSHEET_APP_H_
#define LASTORA_SPREADSHEET_APP_H_

#include <cstdint>
#include <memory>
#include <string>

#include "lastora/export.h"
#include "lastora/table.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

// An open workbook. Destroying it closes it without saving. Worksheets are numbered from 1; any
// operation on a sheet that does not exist, and any fault of the file, throws VbError.
class SpreadsheetWorkbook {
 public:
  struct CellAddress {
    int32_t row = 1;
    int32_t column = 1;
  };

  virtual ~SpreadsheetWorkbook() = default;

  virtual int32_t SheetCount() = 0;
  virtual std::string SheetName(int32_t sheet) = 0;
  // The "Creation Date" property as a date serial.
  virtual double CreationDate() = 0;
  // The last row and the last column that hold a value; (1, 1) for an empty sheet.
  virtual CellAddress LastCell(int32_t sheet) = 0;
  // Sorts the whole rows first_row..last_row by the key column, as the spreadsheet's own sort
  // does when it is left to guess whether the first row of the block is a header.
  virtual void SortRows(int32_t sheet, int32_t first_row, int32_t last_row, int32_t key_column,
                        bool descending) = 0;
  // The values of the block as a table indexed from 1 in both directions.
  virtual Table ReadBlock(int32_t sheet, int32_t first_row, int32_t first_column, int32_t last_row,
                          int32_t last_column) = 0;
  // ReadBlock when nothing will read the block again: a workbook that holds the cells itself may
  // hand them over instead of copying them, leaving those cells empty.
  virtual Table TakeBlock(int32_t sheet, int32_t first_row, int32_t first_column, int32_t last_row,
                          int32_t last_column) {
    return ReadBlock(sheet, first_row, first_column, last_row, last_column);
  }
};

class SpreadsheetApp {
 public:
  virtual ~SpreadsheetApp() = default;
  // Opens a workbook for reading; throws VbError when the file cannot be opened as one.
  virtual std::unique_ptr<SpreadsheetWorkbook> Open(const std::string& path) = 0;
};

// The process-wide spreadsheet program; never null (the file readers stand in by default).
std::shared_ptr<SpreadsheetApp> GetSpreadsheetApp();
// Installs another one and returns the one it replaces; nullptr restores the default.
std::shared_ptr<SpreadsheetApp> SetSpreadsheetApp(std::shared_ptr<SpreadsheetApp> app);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_SPREADSHEET_APP_H_
