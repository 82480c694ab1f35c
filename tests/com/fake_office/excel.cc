// The spreadsheet program: workbooks of sheets of text cells.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "objects.h"

namespace fake_office {
namespace {

constexpr long kLastRow = 1048576;
constexpr long kLastColumn = 16384;

struct OpenBook {
  DocumentModel model;
  std::wstring path;
  bool open = true;
  size_t active_sheet = 0;
};

struct ExcelState {
  std::shared_ptr<OpenBook> active;
  bool alerts = true;
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

// Excel's search patterns: "*" any run, "?" one character, "~" takes the next one literally.
bool Glob(const char* pattern, const char* text) {
  if (*pattern == '\0') return *text == '\0';
  if (*pattern == '*') return Glob(pattern + 1, text) || (*text != '\0' && Glob(pattern, text + 1));
  if (*text == '\0') return false;
  if (*pattern == '~' && pattern[1] != '\0') {
    return pattern[1] == *text && Glob(pattern + 2, text + 1);
  }
  return (*pattern == '?' || *pattern == *text) && Glob(pattern + 1, text + 1);
}

std::string Literal(const std::string& pattern) {
  std::string plain;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '~' && i + 1 < pattern.size()) {
      plain += pattern[++i];
    } else if (pattern[i] == '*' || pattern[i] == '?') {
      throw Failure{"Platzhalterzeichen beim Ersetzen werden hier nicht nachgebildet"};
    } else {
      plain += pattern[i];
    }
  }
  return plain;
}

enum class Counting { kCells, kRows, kColumns };

class Range : public Object {
 public:
  Range(std::shared_ptr<SheetModel> sheet, long top, long left, long bottom, long right,
        Counting counting = Counting::kCells)
      : Object("Range", {"Value", "Text", "Row", "Column", "Rows", "Columns", "Count", "Replace",
                         "Find", "Copy", "ClearContents", "RowHeight", "ColumnWidth"}),
        sheet_(std::move(sheet)),
        top_(top),
        left_(left),
        bottom_(bottom),
        right_(right),
        counting_(counting) {}

  const std::shared_ptr<SheetModel>& sheet() const { return sheet_; }
  long top() const { return top_; }
  long left() const { return left_; }

 protected:
  void Call(const std::string& member, bool put, const Args& args, VARIANT* result) override {
    if (member == "Value" || member == "Text") {
      if (!put) return Return(result, CellText(top_, left_));
      if (member == "Text") throw Failure{"Text wird hier nur gelesen"};
      const VARIANT& value = args.Put();
      const std::string text = AsEntered(
          V_VT(&value) == VT_BSTR ? Utf8(V_BSTR(&value), SysStringLen(V_BSTR(&value))) : "");
      for (long row = top_; row <= bottom_; ++row) {
        for (long column = left_; column <= right_; ++column) SetCell(row, column, text);
      }
    } else if (member == "Row") {
      Return(result, static_cast<double>(top_));
    } else if (member == "Column") {
      Return(result, static_cast<double>(left_));
    } else if (member == "Rows" || member == "Columns") {
      Return(result, new Range(sheet_, top_, left_, bottom_, right_,
                               member == "Rows" ? Counting::kRows : Counting::kColumns));
    } else if (member == "Count") {
      const double rows = bottom_ - top_ + 1, columns = right_ - left_ + 1;
      Return(result, counting_ == Counting::kRows      ? rows
                     : counting_ == Counting::kColumns ? columns
                                                       : rows * columns);
    } else if (member == "Replace") {
      Replace(Literal(args.Text(0, "What")), args.Text(1, "Replacement"));
      ReturnBool(result, true);
    } else if (member == "Find") {
      FindAfter(args, result);
    } else if (member == "Copy") {
      CopyTo(*dynamic_cast<Range*>(Require(args.Target(0, "Destination"))));
    } else if (member == "ClearContents") {
      for (auto& [place, text] : Block()) sheet_->cells.erase(place);
    } else {
      auto& sizes = member == "RowHeight" ? sheet_->heights : sheet_->widths;
      const long first = member == "RowHeight" ? top_ : left_;
      const long last = member == "RowHeight" ? bottom_ : right_;
      if (!put) {
        const auto size = sizes.find(first);
        return Return(result, size != sizes.end()     ? size->second
                              : member == "RowHeight" ? 15.0
                                                      : 8.43);
      }
      double number = 0;
      if (!AsNumber(args.Put(), &number)) throw Failure{member};
      for (long at = first; at <= last; ++at) sizes[at] = number;
    }
  }

 private:
  static Object* Require(Object* object) {
    if (dynamic_cast<Range*>(object) == nullptr) throw Failure{"Bereich erwartet"};
    return object;
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
  void FindAfter(const Args& args, VARIANT* result) {
    auto* after = dynamic_cast<Range*>(Require(args.Target(1, "After")));
    const bool whole = args.Number(3, "LookAt", 2) == 1;
    // Searching for part of a cell is searching for the whole cell with any text around it.
    std::string pattern = whole ? "" : "*";
    pattern += args.Text(0, "What");
    if (!whole) pattern += '*';
    std::vector<std::pair<long, long>> hits;
    for (const auto& [place, text] : Block()) {
      if (Glob(pattern.c_str(), text.c_str())) hits.push_back(place);
    }
    if (hits.empty()) return ReturnNothing(result);
    const std::pair<long, long> start{after->top(), after->left()};
    auto next = std::upper_bound(hits.begin(), hits.end(), start);
    if (next == hits.end()) next = hits.begin();
    Return(result, new Range(sheet_, next->first, next->second, next->first, next->second));
  }
  void CopyTo(const Range& target) {
    const long down = target.top_ - top_, across = target.left_ - left_;
    for (long row = top_; row <= bottom_; ++row) {
      for (long column = left_; column <= right_; ++column) {
        target.sheet_->cells.erase({row + down, column + across});
      }
    }
    for (const auto& [place, text] : Block()) {
      target.sheet_->cells[{place.first + down, place.second + across}] = text;
    }
  }

  std::shared_ptr<SheetModel> sheet_;
  long top_, left_, bottom_, right_;
  Counting counting_;
};

class PageBreaks : public Object {
 public:
  explicit PageBreaks(std::shared_ptr<SheetModel> sheet)
      : Object("HPageBreaks", {"Add"}), sheet_(std::move(sheet)) {}

 protected:
  void Call(const std::string&, bool, const Args& args, VARIANT*) override {
    auto* before = dynamic_cast<Range*>(args.Target(0, "Before"));
    if (before == nullptr) throw Failure{"Bereich erwartet"};
    sheet_->breaks.push_back(before->top() - 1);
  }

 private:
  std::shared_ptr<SheetModel> sheet_;
};

class Sheet : public Object {
 public:
  Sheet(std::shared_ptr<ExcelState> state, std::shared_ptr<OpenBook> book,
        std::shared_ptr<SheetModel> sheet)
      : Object("Sheet", {"Name", "Cells", "UsedRange", "Rows", "Columns", "Range", "Shapes",
                         "Activate", "Delete", "HPageBreaks"}),
        state_(std::move(state)),
        book_(std::move(book)),
        sheet_(std::move(sheet)) {}

 protected:
  void Call(const std::string& member, bool put, const Args& args, VARIANT* result) override {
    if (put) throw Failure{"Eigenschaft wird hier nur gelesen"};
    if (member == "Name") return Return(result, sheet_->name);
    if (member == "Shapes") return Return(result, NewShapes(sheet_->shapes));
    if (member == "HPageBreaks") return Return(result, new PageBreaks(sheet_));
    if (member == "Cells" && args.Has(0, "RowIndex")) {
      const long row = static_cast<long>(args.Number(0, "RowIndex"));
      const long column = static_cast<long>(args.Number(1, "ColumnIndex"));
      return Return(result, new Range(sheet_, row, column, row, column));
    }
    if (member == "Cells") return Return(result, new Range(sheet_, 1, 1, kLastRow, kLastColumn));
    if (member == "Rows" || member == "Columns") {
      const long at = static_cast<long>(args.Number(0, "Index"));
      return Return(result, member == "Rows" ? new Range(sheet_, at, 1, at, kLastColumn)
                                             : new Range(sheet_, 1, at, kLastRow, at));
    }
    if (member == "Range") {
      auto* from = dynamic_cast<Range*>(args.Target(0, "Cell1"));
      auto* to = dynamic_cast<Range*>(args.Target(1, "Cell2"));
      if (from == nullptr || to == nullptr) throw Failure{"Bereich erwartet"};
      return Return(result, new Range(sheet_, from->top(), from->left(), to->top(), to->left()));
    }
    if (member == "UsedRange") return Return(result, UsedRange());
    const auto& sheets = book_->model.sheets;
    const size_t index =
        static_cast<size_t>(std::find(sheets.begin(), sheets.end(), sheet_) - sheets.begin());
    if (index == sheets.size()) throw Failure{"Das Blatt ist gelöscht"};
    if (member == "Activate") {
      book_->active_sheet = index;
    } else {
      if (state_->alerts) throw Failure{"Excel fragt vor dem Löschen nach (DisplayAlerts ist an)"};
      book_->model.sheets.erase(book_->model.sheets.begin() + static_cast<long>(index));
      book_->active_sheet = 0;
    }
  }

 private:
  Object* UsedRange() const {
    if (sheet_->cells.empty()) return new Range(sheet_, 1, 1, 1, 1);
    long top = kLastRow, left = kLastColumn, bottom = 1, right = 1;
    for (const auto& [place, text] : sheet_->cells) {
      top = std::min(top, place.first);
      bottom = std::max(bottom, place.first);
      left = std::min(left, place.second);
      right = std::max(right, place.second);
    }
    return new Range(sheet_, top, left, bottom, right);
  }

  std::shared_ptr<ExcelState> state_;
  std::shared_ptr<OpenBook> book_;
  std::shared_ptr<SheetModel> sheet_;
};

class Sheets : public Object {
 public:
  Sheets(std::shared_ptr<ExcelState> state, std::shared_ptr<OpenBook> book)
      : Object("Sheets", {"Count", "Item", "PrintOut"}),
        state_(std::move(state)),
        book_(std::move(book)) {}

  static Object* Item(const std::shared_ptr<ExcelState>& state,
                      const std::shared_ptr<OpenBook>& book, const Args& args) {
    const auto& sheets = book->model.sheets;
    const std::string name = args.Text(0, "Index");
    for (const auto& sheet : sheets) {
      if (_stricmp(sheet->name.c_str(), name.c_str()) == 0) return new Sheet(state, book, sheet);
    }
    const double index = args.Number(0, "Index", 0);
    char* end = nullptr;
    std::strtod(name.c_str(), &end);
    if (*end != '\0' || index < 1 || index > static_cast<double>(sheets.size())) {
      throw Failure{"Index außerhalb des gültigen Bereichs: " + name};
    }
    return new Sheet(state, book, sheets[static_cast<size_t>(index) - 1]);
  }

 protected:
  void Call(const std::string& member, bool, const Args& args, VARIANT* result) override {
    if (member == "Count") return Return(result, static_cast<double>(book_->model.sheets.size()));
    if (member == "Item") return Return(result, Item(state_, book_, args));
    // The selected sheet is the active one; what it holds goes to the print record.
    DocumentModel printed;
    printed.sheets.push_back(book_->model.sheets.at(book_->active_sheet));
    LogPrint("@print Sheets copies=" + args.Text(2, "Copies", "1") +
             " from=" + args.Text(0, "From") + " to=" + args.Text(1, "To") +
             " collate=" + args.Text(6, "Collate") + " printer=" + args.Text(4, "ActivePrinter") +
             "\n" + WriteDocument(printed));
  }

 private:
  std::shared_ptr<ExcelState> state_;
  std::shared_ptr<OpenBook> book_;
};

class Window : public Object {
 public:
  Window(std::shared_ptr<ExcelState> state, std::shared_ptr<OpenBook> book)
      : Object("Window", {"Activate", "SelectedSheets"}),
        state_(std::move(state)),
        book_(std::move(book)) {}

 protected:
  void Call(const std::string& member, bool, const Args&, VARIANT* result) override {
    if (member == "Activate")
      state_->active = book_;
    else
      Return(result, new Sheets(state_, book_));
  }

 private:
  std::shared_ptr<ExcelState> state_;
  std::shared_ptr<OpenBook> book_;
};

class Workbook : public Object {
 public:
  Workbook(std::shared_ptr<ExcelState> state, std::shared_ptr<OpenBook> book)
      : Object("Workbook", {"Sheets", "Windows", "SaveAs", "Close"}),
        state_(std::move(state)),
        book_(std::move(book)) {}

 protected:
  void Call(const std::string& member, bool, const Args& args, VARIANT* result) override {
    if (!book_->open) throw Failure{"Die Arbeitsmappe ist geschlossen"};
    if (member == "Sheets") {
      return Return(result, args.Has(0, "Index") ? Sheets::Item(state_, book_, args)
                                                 : new Sheets(state_, book_));
    }
    if (member == "Windows") return Return(result, new Window(state_, book_));
    if (member == "SaveAs") {
      const std::wstring path = Wide(args.Text(0, "FileName"));
      if (state_->alerts && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        throw Failure{"Excel fragt, ob die Datei ersetzt werden soll (DisplayAlerts ist an)"};
      }
      if (!SaveDocument(path, book_->model)) throw Failure{"Speichern misslungen"};
      book_->path = path;
      return;
    }
    if (args.Number(0, "SaveChanges", 0) != 0) SaveDocument(book_->path, book_->model);
    book_->open = false;
    if (state_->active == book_) state_->active.reset();
  }

 private:
  std::shared_ptr<ExcelState> state_;
  std::shared_ptr<OpenBook> book_;
};

class Workbooks : public Object {
 public:
  explicit Workbooks(std::shared_ptr<ExcelState> state)
      : Object("Workbooks", {"Open"}), state_(std::move(state)) {}

 protected:
  void Call(const std::string&, bool, const Args& args, VARIANT* result) override {
    auto book = std::make_shared<OpenBook>();
    book->path = Wide(args.Text(0, "FileName"));
    if (!LoadDocument(book->path, book->model) || book->model.sheets.empty()) {
      throw Failure{"Excel konnte die Datei nicht öffnen: " + args.Text(0, "FileName")};
    }
    state_->active = book;
    Return(result, new Workbook(state_, book));
  }

 private:
  std::shared_ptr<ExcelState> state_;
};

class Excel : public Object {
 public:
  Excel()
      : Object("Excel", {"ScreenUpdating", "Calculation", "DisplayAlerts", "StatusBar", "Workbooks",
                         "ActiveWorkbook", "ActiveWindow", "ActiveCell", "Calculate", "Quit"}) {
    Log("Excel.Application created");
  }

 protected:
  void Call(const std::string& member, bool put, const Args& args, VARIANT* result) override {
    if (member == "Workbooks") return Return(result, new Workbooks(state_));
    if (member == "ActiveWorkbook")
      return Return(result, new Workbook(state_, ActiveBook(*state_)));
    if (member == "ActiveWindow") return Return(result, new Window(state_, ActiveBook(*state_)));
    if (member == "ActiveCell") {
      const std::shared_ptr<OpenBook> book = ActiveBook(*state_);
      return Return(result, new Range(book->model.sheets.at(book->active_sheet), 1, 1, 1, 1));
    }
    if (member == "DisplayAlerts" && put) state_->alerts = V_BOOL(&args.Put()) != VARIANT_FALSE;
    // Excel refuses a calculation mode while no workbook is open.
    if (member == "Calculation" && put) ActiveBook(*state_);
  }

 private:
  std::shared_ptr<ExcelState> state_ = std::make_shared<ExcelState>();
};

}  // namespace

Object* NewExcel() { return new Excel(); }

}  // namespace fake_office
