#include <algorithm>
#include <string>

#include "core/cell_reference.h"
#include "lastora/automation_values.h"
#include "lastora/vb_error.h"
#include "platform/win32/dispatch_call.h"
#include "platform/win32/win32_adapters.h"

namespace lastora {
namespace {

using win32::AutoObject;
using win32::Value;

constexpr int32_t kColumnIV = 256;

class ExcelWorkbook : public SpreadsheetWorkbook {
 public:
  ExcelWorkbook(std::unique_ptr<win32::ComApartment> apartment, AutoObject excel,
                AutoObject workbook)
      : apartment_(std::move(apartment)),
        excel_(std::move(excel)),
        workbook_(std::move(workbook)) {}
  ExcelWorkbook(const ExcelWorkbook&) = delete;
  ExcelWorkbook& operator=(const ExcelWorkbook&) = delete;
  // Excel keeps running invisibly unless told to quit, whatever went wrong before.
  ~ExcelWorkbook() override {
    win32::CloseWorkbookUnsaved(workbook_);
    try {
      excel_.Call(L"Quit");
    } catch (...) {
    }
  }

  int32_t SheetCount() override {
    return CLng(automation::FromVariant(workbook_.GetObject(L"Sheets").Get(L"Count").ref()));
  }
  std::string SheetName(int32_t sheet) override {
    return CStr(automation::FromVariant(Sheet(sheet).Get(L"Name").ref()));
  }
  double CreationDate() override {
    AutoObject property =
        workbook_.GetObject(L"BuiltinDocumentProperties", {Value(L"Creation Date")});
    return CDate(automation::FromVariant(property.Get(L"Value").ref()));
  }
  CellAddress LastCell(int32_t sheet) override {
    AutoObject last = Sheet(sheet).GetObject(L"UsedRange").GetObject(L"SpecialCells", {Value(11L)});
    return {CLng(automation::FromVariant(last.Get(L"Row").ref())),
            CLng(automation::FromVariant(last.Get(L"Column").ref()))};
  }
  void SortRows(int32_t sheet, int32_t first_row, int32_t last_row, int32_t key_column,
                bool descending) override {
    // Columns A to IV were every column a sheet had; a wider sheet is sorted up to its last used
    // column, so that no cell stays behind while the rest of its row moves.
    const int32_t last_column = std::max(kColumnIV, LastCell(sheet).column);
    AutoObject worksheet = Sheet(sheet);
    const std::wstring address = L"A" + std::to_wstring(first_row) + L":" +
                                 automation::Wide(detail::ColumnLetters(last_column)) +
                                 std::to_wstring(last_row);
    AutoObject block = worksheet.GetObject(L"Range", {Value(address.c_str())});
    AutoObject key =
        worksheet.GetObject(L"Cells", {Value(long{first_row}), Value(long{key_column})});
    block.Call(L"Sort", {},
               {{L"Key1", key.AsValue()},
                {L"Order1", Value(descending ? 2L : 1L)},
                {L"Header", Value(0L)},
                {L"OrderCustom", Value(1L)},
                {L"MatchCase", Value::Bool(false)},
                {L"Orientation", Value(1L)},
                {L"DataOption1", Value(0L)}});
  }
  Table ReadBlock(int32_t sheet, int32_t first_row, int32_t first_column, int32_t last_row,
                  int32_t last_column) override {
    AutoObject worksheet = Sheet(sheet);
    AutoObject from =
        worksheet.GetObject(L"Cells", {Value(long{first_row}), Value(long{first_column})});
    AutoObject to =
        worksheet.GetObject(L"Cells", {Value(long{last_row}), Value(long{last_column})});
    Value values = worksheet.GetObject(L"Range", {from.AsValue(), to.AsValue()}).Get(L"Value");
    if (automation::ArrayOf(values.ref()) != nullptr)
      return automation::TableFromVariant(values.ref());
    // A block of one cell comes back as a lone value.
    Table single(1, 1);
    single.At(1, 1) = automation::FromVariant(values.ref());
    return single;
  }

 private:
  AutoObject Sheet(int32_t sheet) { return workbook_.GetObject(L"Sheets", {Value(long{sheet})}); }

  // Declared first so that it outlives the objects below.
  std::unique_ptr<win32::ComApartment> apartment_;
  AutoObject excel_;
  AutoObject workbook_;
};

}  // namespace

std::unique_ptr<SpreadsheetWorkbook> ExcelSpreadsheetApp::Open(const std::string& path) {
  auto apartment = std::make_unique<win32::ComApartment>();
  AutoObject excel = AutoObject::Create(L"Excel.Application");
  try {
    excel.Put(L"DisplayAlerts", Value::Bool(false));
    const std::wstring wide_path = automation::Wide(path);
    AutoObject workbook =
        excel.GetObject(L"Workbooks").GetObject(L"Open", {Value(wide_path.c_str())});
    excel.Put(L"ScreenUpdating", Value::Bool(false));
    return std::make_unique<ExcelWorkbook>(std::move(apartment), std::move(excel),
                                           std::move(workbook));
  } catch (...) {
    try {
      excel.Call(L"Quit");
    } catch (...) {
    }
    throw;
  }
}

}  // namespace lastora
