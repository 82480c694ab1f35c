// The spreadsheet program: workbooks of sheets of cells, kept as keyed in and read back typed.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "dispatch_object.h"

namespace fake_office {
namespace {

constexpr long kLastRow = 1048576;
constexpr long kLastColumn = 16384;

struct OpenBook {
  DocumentModel model;
  bool open = true;
  size_t active_sheet = 0;
};

struct ExcelState {
  std::shared_ptr<OpenBook> active;
};

std::shared_ptr<OpenBook> ActiveBook(const ExcelState& state) {
  if (!state.active || !state.active->open) throw Failure{"Keine Arbeitsmappe ist aktiv"};
  return state.active;
}

// Excel turns what looks like a number into one, dropping leading zeros; an apostrophe in
// front keeps a text as typed.
std::string AsEntered(const std::string& text) {
  if (!text.empty() && text[0] == '\'') return text.substr(1);
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || text[0] == ' ') return text;
  char shown[32];
  std::snprintf(shown, sizeof shown, "%g", number);
  return shown;
}

// The value a cell holds, of the kind Excel gives it (see fake_office.h).
void CellValue(const std::string& text, VARIANT* out) {
  VariantInit(out);
  if (text.empty()) return;
  if (text[0] == '\'') return Return(out, text.substr(1));
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  if (end == text.c_str() + text.size() && text[0] != ' ') return Return(out, number);
  int day = 0, month = 0, year = 0, used = 0;
  if (std::sscanf(text.c_str(), "%2d.%2d.%4d%n", &day, &month, &year, &used) == 3 &&
      static_cast<size_t>(used) == text.size()) {
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
    V_VT(out) = VT_DATE;
    if (SystemTimeToVariantTime(&date, &V_DATE(out))) return;
  }
  Return(out, text);
}

// "B7" as (row, column); a part that is no cell address fails as Excel's Range does.
std::pair<long, long> CellAt(const std::string& part) {
  char letters[4] = "";
  long row = 0, column = 0;
  int used = 0;
  if (std::sscanf(part.c_str(), "%3[A-Z]%ld%n", letters, &row, &used) == 2) {
    for (const char* c = letters; *c != '\0'; ++c) column = column * 26 + (*c - 'A' + 1);
  }
  if (static_cast<size_t>(used) != part.size() || row < 1 || row > kLastRow || column < 1 ||
      column > kLastColumn) {
    throw Failure{"Die Methode Range ist fehlgeschlagen: " + part};
  }
  return {row, column};
}

// The used block's corners: (top, left) and (bottom, right); all 1 on an empty sheet.
std::pair<std::pair<long, long>, std::pair<long, long>> UsedBlock(const SheetModel& sheet) {
  if (sheet.cells.empty()) return {{1, 1}, {1, 1}};
  long top = kLastRow, left = kLastColumn, bottom = 1, right = 1;
  for (const auto& [place, text] : sheet.cells) {
    top = std::min(top, place.first);
    bottom = std::max(bottom, place.first);
    left = std::min(left, place.second);
    right = std::max(right, place.second);
  }
  return {{top, left}, {bottom, right}};
}

std::pair<long, long> LastCell(const SheetModel& sheet) { return UsedBlock(sheet).second; }

class Range : public Object {
 public:
  Range(std::shared_ptr<SheetModel> sheet, long top, long left, long bottom, long right)
      : Object("Range", {"Value", "Row", "Column", "Replace", "Find", "SpecialCells", "Sort"}),
        sheet_(std::move(sheet)),
        top_(top),
        left_(left),
        bottom_(bottom),
        right_(right) {}

  long top() const { return top_; }
  long left() const { return left_; }

 protected:
  void Call(const std::string& member, bool put, const Args& args, VARIANT* result) override {
    if (member == "Value" && !put) return Values(result);
    if (member == "Value") {
      const VARIANT& value = args.Put();
      // The run fills single cells.
      SetCell(top_, left_,
              AsEntered(V_VT(&value) == VT_BSTR ? Utf8(V_BSTR(&value), SysStringLen(V_BSTR(&value)))
                                                : ""));
    } else if (member == "Row") {
      Return(result, static_cast<double>(top_));
    } else if (member == "Column") {
      Return(result, static_cast<double>(left_));
    } else if (member == "Replace") {
      Replace(args.Text(0, "What"), args.Text(1, "Replacement"));
      ReturnBool(result, true);
    } else if (member == "Find") {
      FindAfter(args, result);
    } else if (member == "SpecialCells") {
      // Only the last cell is served: the corner of the sheet's used block, wherever asked.
      if (args.Number(0, "Type") != 11) throw Failure{"Nur SpecialCells(11) ist nachgebildet"};
      const auto [bottom, right] = LastCell(*sheet_);
      Return(result, new Range(sheet_, bottom, right, bottom, right));
    }
    // Sorting is Excel's own: the import's call log shows what Excel is asked for.
  }

 private:
  // A lone cell as a lone value, a block as a 2-D array from 1, column-major, as Excel gives both.
  void Values(VARIANT* result) const {
    if (top_ == bottom_ && left_ == right_) return CellValue(CellText(top_, left_), result);
    const ULONG rows = static_cast<ULONG>(bottom_ - top_ + 1);
    const ULONG columns = static_cast<ULONG>(right_ - left_ + 1);
    if (static_cast<double>(rows) * columns > 1e7) throw Failure{"Nicht genügend Arbeitsspeicher"};
    SAFEARRAYBOUND bounds[2] = {{rows, 1}, {columns, 1}};
    SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
    VARIANT* cells = nullptr;
    SafeArrayAccessData(array, reinterpret_cast<void**>(&cells));
    for (const auto& [place, text] : Block()) {
      CellValue(text, &cells[static_cast<size_t>(place.second - left_) * rows +
                             static_cast<size_t>(place.first - top_)]);
    }
    SafeArrayUnaccessData(array);
    V_VT(result) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(result) = array;
  }
  std::string CellText(long row, long column) const {
    const auto cell = sheet_->cells.find({row, column});
    return cell == sheet_->cells.end() ? "" : cell->second;
  }
  void SetCell(long row, long column, const std::string& text) {
    if (text.empty())
      sheet_->cells.erase({row, column});
    else
      sheet_->cells[{row, column}] = text;
  }
  std::map<std::pair<long, long>, std::string> Block() const {
    std::map<std::pair<long, long>, std::string> block;
    for (const auto& [place, text] : sheet_->cells) {
      if (place.first >= top_ && place.first <= bottom_ && place.second >= left_ &&
          place.second <= right_) {
        block.emplace(place, text);
      }
    }
    return block;
  }
  void Replace(const std::string& what, const std::string& replacement) {
    if (what.empty()) throw Failure{"Suchtext fehlt"};
    for (auto [place, text] : Block()) {
      for (size_t at = text.find(what); at != std::string::npos;
           at = text.find(what, at + replacement.size())) {
        text.replace(at, what.size(), replacement);
      }
      SetCell(place.first, place.second, text);
    }
  }
  // Searches for part of a cell.
  void FindAfter(const Args& args, VARIANT* result) {
    auto* after = dynamic_cast<Range*>(args.Target(1, "After"));
    if (after == nullptr) throw Failure{"Bereich erwartet"};
    const std::string what = args.Text(0, "What");
    std::vector<std::pair<long, long>> hits;
    for (const auto& [place, text] : Block()) {
      if (text.find(what) != std::string::npos) hits.push_back(place);
    }
    if (hits.empty()) return ReturnNothing(result);
    const std::pair<long, long> start{after->top(), after->left()};
    auto next = std::upper_bound(hits.begin(), hits.end(), start);
    if (next == hits.end()) next = hits.begin();
    Return(result, new Range(sheet_, next->first, next->second, next->first, next->second));
  }

  std::shared_ptr<SheetModel> sheet_;
  long top_, left_, bottom_, right_;
};

// By two cells, or by an address ("A2:IV9", "B7").
Object* RangeOf(const std::shared_ptr<SheetModel>& sheet, const Args& args) {
  const VARIANT* first = args.Find(0, "Cell1");
  if (first != nullptr && V_VT(first) == VT_BSTR) {
    const std::string address = args.Text(0, "Cell1");
    const size_t colon = address.find(':');
    const auto from = CellAt(address.substr(0, colon));
    const auto to = colon == std::string::npos ? from : CellAt(address.substr(colon + 1));
    return new Range(sheet, std::min(from.first, to.first), std::min(from.second, to.second),
                     std::max(from.first, to.first), std::max(from.second, to.second));
  }
  auto* from = dynamic_cast<Range*>(args.Target(0, "Cell1"));
  auto* to = dynamic_cast<Range*>(args.Target(1, "Cell2"));
  if (from == nullptr || to == nullptr) throw Failure{"Bereich erwartet"};
  return new Range(sheet, from->top(), from->left(), to->top(), to->left());
}

Object* NewSheet(std::shared_ptr<OpenBook> book, std::shared_ptr<SheetModel> sheet) {
  return NewObject("Sheet", {"Name", "Cells", "UsedRange", "Range", "Activate"},
                   [=](auto& member, bool put, auto& args, VARIANT* result) {
                     if (put) throw Failure{"Eigenschaft wird hier nur gelesen"};
                     if (member == "Name") return Return(result, sheet->name);
                     if (member == "Cells" && args.Has(0, "RowIndex")) {
                       const long row = static_cast<long>(args.Number(0, "RowIndex"));
                       const long column = static_cast<long>(args.Number(1, "ColumnIndex"));
                       return Return(result, new Range(sheet, row, column, row, column));
                     }
                     if (member == "Cells")
                       return Return(result, new Range(sheet, 1, 1, kLastRow, kLastColumn));
                     if (member == "Range") return Return(result, RangeOf(sheet, args));
                     if (member == "UsedRange") {
                       const auto [top_left, bottom_right] = UsedBlock(*sheet);
                       return Return(result, new Range(sheet, top_left.first, top_left.second,
                                                       bottom_right.first, bottom_right.second));
                     }
                     auto& sheets = book->model.sheets;
                     const auto at = std::find(sheets.begin(), sheets.end(), sheet);
                     book->active_sheet = static_cast<size_t>(at - sheets.begin());
                   });
}

// A sheet by its number from 1.
Object* SheetItem(const std::shared_ptr<OpenBook>& book, const Args& args) {
  const auto& sheets = book->model.sheets;
  const double index = args.Number(0, "Index");
  if (index < 1 || index > static_cast<double>(sheets.size())) {
    throw Failure{"Index außerhalb des gültigen Bereichs: " + args.Text(0, "Index")};
  }
  return NewSheet(book, sheets[static_cast<size_t>(index) - 1]);
}

Object* NewSheets(std::shared_ptr<OpenBook> book) {
  return NewObject(
      "Sheets", {"Count", "PrintOut"}, [=](auto& member, bool, auto& args, VARIANT* result) {
        if (member == "Count")
          return Return(result, static_cast<double>(book->model.sheets.size()));
        // The selected sheet is the active one; what it holds goes to the print
        // record.
        DocumentModel printed;
        printed.sheets.push_back(book->model.sheets.at(book->active_sheet));
        LogPrint("@print Sheets copies=" + args.Text(2, "Copies", "1") +
                 " from=" + args.Text(0, "From") + " to=" + args.Text(1, "To") +
                 " collate=" + args.Text(6, "Collate") +
                 " printer=" + args.Text(4, "ActivePrinter") + "\n" + WriteDocument(printed));
      });
}

Object* NewWindow(std::shared_ptr<ExcelState> state, std::shared_ptr<OpenBook> book) {
  return NewObject("Window", {"Activate", "SelectedSheets"},
                   [=](auto& member, bool, auto&, VARIANT* result) {
                     if (member == "Activate")
                       state->active = book;
                     else
                       Return(result, NewSheets(book));
                   });
}

// The workbook's "Creation Date", the one built-in property kept.
Object* NewCreationDate(std::shared_ptr<OpenBook> book) {
  return NewObject("DocumentProperty", {"Value"}, [=](auto&, bool put, auto&, VARIANT* result) {
    if (put) throw Failure{"Eigenschaft wird hier nur gelesen"};
    // Excel fails the read of a property the file never stored.
    if (book->model.created == 0) throw Failure{"Automatisierungsfehler", 440};
    V_VT(result) = VT_DATE;
    V_DATE(result) = book->model.created;
  });
}

Object* NewWorkbook(std::shared_ptr<ExcelState> state, std::shared_ptr<OpenBook> book) {
  return NewObject(
      "Workbook", {"Sheets", "Windows", "SaveAs", "Close", "BuiltinDocumentProperties"},
      [=](auto& member, bool, auto& args, VARIANT* result) {
        if (!book->open) throw Failure{"Die Arbeitsmappe ist geschlossen"};
        if (member == "Sheets") {
          return Return(result, args.Has(0, "Index") ? SheetItem(book, args) : NewSheets(book));
        }
        if (member == "Windows") return Return(result, NewWindow(state, book));
        if (member == "BuiltinDocumentProperties") {
          const std::string name = args.Text(0, "Index");
          if (_stricmp(name.c_str(), "Creation Date") != 0) {
            throw Failure{"Ungültiges Argument: " + name};
          }
          return Return(result, NewCreationDate(book));
        }
        if (member == "SaveAs") {
          if (!SaveDocument(Wide(args.Text(0, "FileName")), book->model)) {
            throw Failure{"Speichern misslungen"};
          }
          return;
        }
        book->open = false;
        if (state->active == book) state->active.reset();
      });
}

Object* NewWorkbooks(std::shared_ptr<ExcelState> state) {
  return NewObject("Workbooks", {"Open"}, [=](auto&, bool, auto& args, VARIANT* result) {
    auto book = std::make_shared<OpenBook>();
    if (!LoadDocument(Wide(args.Text(0, "FileName")), book->model) || book->model.sheets.empty()) {
      throw Failure{"Excel konnte die Datei nicht öffnen: " + args.Text(0, "FileName")};
    }
    state->active = book;
    Return(result, NewWorkbook(state, book));
  });
}

}  // namespace

Object* NewExcel() {
  Log("Excel.Application created");
  auto state = std::make_shared<ExcelState>();
  return NewObject(
      "Excel",
      {"ScreenUpdating", "Calculation", "DisplayAlerts", "StatusBar", "Workbooks", "ActiveWindow",
       "ActiveCell", "Calculate", "Quit"},
      [state](auto& member, bool put, auto&, VARIANT* result) {
        if (member == "Workbooks") return Return(result, NewWorkbooks(state));
        if (member == "ActiveWindow") return Return(result, NewWindow(state, ActiveBook(*state)));
        if (member == "ActiveCell") {
          const std::shared_ptr<OpenBook> book = ActiveBook(*state);
          return Return(result, new Range(book->model.sheets.at(book->active_sheet), 1, 1, 1, 1));
        }
        // Excel refuses a calculation mode while no workbook is open.
        if (member == "Calculation" && put) ActiveBook(*state);
      });
}

}  // namespace fake_office
