#include "platform/win32/automation_office.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "core/cell_reference.h"
#include "lastora/automation_values.h"
#include "lastora/vb_error.h"
#include "platform/win32/dispatch_call.h"

namespace lastora {
namespace {

using win32::AutoObject;
using win32::Value;
using Named = std::vector<std::pair<const wchar_t*, Value>>;

constexpr long kMinimised = 2;
constexpr long kManualCalculation = -4135;
constexpr long kLookInValues = -4163;
constexpr long kLookAtPart = 2;
constexpr long kByRows = 1;
constexpr long kNext = 1;
constexpr long kReplaceAll = 2;
constexpr long kPrintFromTo = 3;
constexpr long kRelativeToPage = 1;
constexpr long kInFrontOfText = 4;
constexpr long kBehindText = 5;
constexpr long kDoNotSaveChanges = 0;
constexpr char kLogoMark[] = "Vereinslogo";
constexpr char kSettingsSheet[] = "Settings";

Value Text(const std::string& utf8) { return Value(automation::Wide(utf8).c_str()); }
std::string TextOf(const Value& value) { return CStr(automation::FromVariant(value.ref())); }
double NumberOf(const Value& value) { return CDbl(automation::FromVariant(value.ref())); }
int32_t WholeOf(const Value& value) { return CLng(automation::FromVariant(value.ref())); }

// Word's search boxes give "^" a meaning of its own ("^&" is the text found, "^p" a paragraph):
// a member called "Gebr. Bäcker ^& Söhne" must come out as written.
std::string WordLiteral(const std::string& text) {
  std::string literal;
  for (char c : text) {
    literal += c;
    if (c == '^') literal += '^';
  }
  return literal;
}

// Excel's search takes "*" and "?" as wildcards and "~" as their escape.
std::string ExcelLiteral(const std::string& text) {
  std::string literal;
  for (char c : text) {
    if (c == '*' || c == '?' || c == '~') literal += '~';
    literal += c;
  }
  return literal;
}

std::string CellName(int32_t row, int32_t column) {
  return detail::ColumnLetters(column) + std::to_string(row);
}

// The copy replaces the target only once it is whole, so a good document of that name is not
// lost to a copy that fails half way.
void CopyReplacing(const std::string& from, const std::string& to) {
  const std::wstring source = automation::Wide(from);
  const std::wstring target = automation::Wide(to);
  const std::wstring partial = target + L".~tmp";
  if (!CopyFileW(source.c_str(), partial.c_str(), FALSE)) {
    const DWORD error = GetLastError();
    const int32_t number = error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ? 76 : 75;
    throw VbError(number, VbErrorDescription(number) + ": " + to);
  }
  if (!MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(partial.c_str());
    throw VbError(75, VbErrorDescription(75) + ": " + to);
  }
}

// Shapes are walked from the last, so that the pictures added at the end are not visited and a
// deleted shape moves none of those still to come. Word alone knows text wrapping and page-relative
// positions; Excel places shapes on the sheet's cells.
void ReplaceLogosIn(AutoObject shapes, const LogoPlacement& logo, bool word) {
  for (int32_t index = WholeOf(shapes.Get(L"Count")); index >= 1; --index) {
    AutoObject old = shapes.GetObject(L"Item", {Value(long{index})});
    const Value name = old.Get(L"Name");
    if (TextOf(name).find(kLogoMark) == std::string::npos) continue;
    if (word) old.Call(L"ZOrder", {Value(kInFrontOfText)});
    Named where{{L"FileName", Text(logo.picture_path)},
                {L"LinkToFile", Value::Bool(false)},
                {L"SaveWithDocument", Value::Bool(true)},
                {L"Left", Value(long{logo.left})},
                {L"Top", Value(long{logo.top})}};
    if (!word) {
      // Excel wants a size; -1 keeps the picture's own.
      where.emplace_back(L"Width", Value(-1L));
      where.emplace_back(L"Height", Value(-1L));
    }
    Value added = shapes.Call(L"AddPicture", {}, std::move(where));
    std::optional<AutoObject> picture = win32::ObjectOrNothing(added);
    if (!picture) throw VbError(91);
    const double width = NumberOf(picture->Get(L"Width"));
    const double height = NumberOf(picture->Get(L"Height"));
    if (width > 0 && height > 0) {
      const double ratio = std::min(logo.width / width, logo.height / height);
      picture->Put(L"Width", Value::Double(width * ratio));
      picture->Put(L"Height", Value::Double(height * ratio));
    }
    if (word) {
      picture->Put(L"RelativeHorizontalPosition", Value(kRelativeToPage));
      picture->Put(L"RelativeVerticalPosition", Value(kRelativeToPage));
      picture->Call(L"ZOrder", {Value(kBehindText)});
    }
    picture->Put(L"Top", old.Get(L"Top"));
    picture->Put(L"Left", old.Get(L"Left"));
    old.Call(L"Delete");
    picture->Put(L"Name", name);
  }
}

// Sets the application's printer for the guard's lifetime: Word's printer is the user's
// default printer, which the user should find as it was after the run.
class PrinterChoice {
 public:
  PrinterChoice(AutoObject application, const std::string& printer)
      : application_(std::move(application)) {
    if (printer.empty()) return;
    previous_.emplace(application_.Get(L"ActivePrinter"));
    application_.Put(L"ActivePrinter", Text(printer));
  }
  PrinterChoice(const PrinterChoice&) = delete;
  PrinterChoice& operator=(const PrinterChoice&) = delete;
  ~PrinterChoice() {
    if (!previous_) return;
    try {
      application_.Put(L"ActivePrinter", *previous_);
    } catch (...) {
    }
  }

 private:
  AutoObject application_;
  std::optional<Value> previous_;
};

class WordDocument : public OfficeDocument {
 public:
  WordDocument(AutoObject word, AutoObject document, std::string path)
      : word_(std::move(word)), document_(std::move(document)), path_(std::move(path)) {}
  WordDocument(const WordDocument&) = delete;
  WordDocument& operator=(const WordDocument&) = delete;
  ~WordDocument() override {
    if (!open_) return;
    try {
      document_.Call(L"Close", {}, Closing());
    } catch (...) {
    }
  }

  std::vector<std::string> StoryTexts() override {
    std::vector<std::string> texts;
    for (AutoObject& story : Stories()) texts.push_back(TextOf(story.Get(L"Text")));
    return texts;
  }

  void ReplaceAll(const std::string& find, const std::string& replacement) override {
    for (AutoObject& story : Stories()) {
      if (TextOf(story.Get(L"Text")).find(find) == std::string::npos) continue;
      story.GetObject(L"Find").Call(L"Execute", {},
                                    {{L"FindText", Text(WordLiteral(find))},
                                     {L"ReplaceWith", Text(WordLiteral(replacement))},
                                     {L"Replace", Value(kReplaceAll)}});
    }
  }

  std::vector<TemplateCell> PlaceholderCells() override { throw NotADocumentMember(); }
  void SetCellText(const TemplateCell&) override { throw NotADocumentMember(); }
  std::vector<std::string> SheetRowTexts(const std::string&, int32_t, int32_t) override {
    throw NotADocumentMember();
  }
  SheetExtent UsedExtent() override { throw NotADocumentMember(); }
  void LayOutLabels(const LabelSheet&) override { throw NotADocumentMember(); }
  bool HasSheet(const std::string&) override { return false; }

  void ReplaceLogos(const LogoPlacement& logo) override {
    ReplaceLogosIn(document_.GetObject(L"Shapes"), logo, true);
  }

  void PrintOut(int32_t copies, const std::string& printer, bool first_page_only) override {
    const PrinterChoice choice(word_, printer);
    // In the foreground: Word would otherwise still be spooling when the run closes the document.
    Named how{{L"Background", Value::Bool(false)},
              {L"FileName", Text(path_)},
              {L"Copies", Value(long{copies})}};
    if (first_page_only) {
      how.emplace_back(L"Range", Value(kPrintFromTo));
      how.emplace_back(L"From", Value(L"1"));
      how.emplace_back(L"To", Value(L"1"));
    }
    document_.Call(L"PrintOut", {}, std::move(how));
  }

  // The working file is saved in place and copied under the final name: Word then keeps the
  // template's format whatever its version calls that format.
  void SaveAs(const std::string& path) override {
    document_.Call(L"Save");
    open_ = false;
    document_.Call(L"Close", {}, Closing());
    CopyReplacing(path_, path);
  }

 private:
  static Named Closing() { return {{L"SaveChanges", Value(kDoNotSaveChanges)}}; }
  static VbError NotADocumentMember() { return VbError(438); }
  std::vector<AutoObject> Stories() { return document_.GetObject(L"StoryRanges").Items(); }

  AutoObject word_;
  AutoObject document_;
  std::string path_;
  bool open_ = true;
};

class ExcelWorkbook : public OfficeDocument {
 public:
  ExcelWorkbook(AutoObject excel, AutoObject workbook)
      : excel_(std::move(excel)), workbook_(std::move(workbook)) {}
  ExcelWorkbook(const ExcelWorkbook&) = delete;
  ExcelWorkbook& operator=(const ExcelWorkbook&) = delete;
  ~ExcelWorkbook() override { win32::CloseWorkbookUnsaved(workbook_); }

  // Each sheet's used block in one call: a real Excel answers every call across processes, so a
  // call per cell grows with the sheet. Empty cells hold no text to search.
  std::vector<std::string> StoryTexts() override {
    std::vector<std::string> texts;
    const auto add = [&texts](const Variant& cell) {
      if (std::string text = CStr(cell); !text.empty()) texts.push_back(std::move(text));
    };
    for (int32_t index = 1; index <= SheetCount(); ++index) {
      const Value values = Sheet(Value(long{index})).GetObject(L"UsedRange").Get(L"Value");
      // A used block of one cell comes back as a lone value.
      if (automation::ArrayOf(values.ref()) == nullptr) {
        add(automation::FromVariant(values.ref()));
        continue;
      }
      const Table block = automation::TableFromVariant(values.ref());
      for (int32_t row = block.RowLower(); row <= block.RowUpper(); ++row) {
        for (int32_t column = block.ColLower(); column <= block.ColUpper(); ++column) {
          add(block.At(row, column));
        }
      }
    }
    return texts;
  }

  void ReplaceAll(const std::string& find, const std::string& replacement) override {
    for (int32_t index = 1; index <= SheetCount(); ++index) {
      Sheet(Value(long{index}))
          .GetObject(L"Cells")
          .Call(L"Replace", {},
                {{L"What", Text(ExcelLiteral(find))}, {L"Replacement", Text(replacement)}});
    }
  }

  std::vector<TemplateCell> PlaceholderCells() override {
    std::vector<TemplateCell> cells = FindAll("<<");
    std::sort(cells.begin(), cells.end(), [](const TemplateCell& a, const TemplateCell& b) {
      return std::pair(a.row, a.column) < std::pair(b.row, b.column);
    });
    return cells;
  }

  // The leading apostrophe keeps the text a text: Excel would otherwise take "01234" for a
  // number and drop its zero, or "=..." from a member's field for a formula.
  void SetCellText(const TemplateCell& cell) override {
    CellOf(Sheet(Value(1L)), cell.row, cell.column)
        .Put(L"Value", Text(cell.text.empty() ? cell.text : "'" + cell.text));
  }

  std::vector<std::string> SheetRowTexts(const std::string& sheet, int32_t row,
                                         int32_t columns) override {
    AutoObject named = Sheet(Text(sheet));
    std::vector<std::string> texts;
    for (int32_t column = 1; column <= columns; ++column) {
      texts.push_back(TextOf(CellOf(named, row, column).Get(L"Text")));
    }
    return texts;
  }

  SheetExtent UsedExtent() override { return ExtentOf(Sheet(Value(1L))); }

  void LayOutLabels(const LabelSheet& plan) override;

  bool HasSheet(const std::string& name) override {
    for (int32_t index = 1; index <= SheetCount(); ++index) {
      if (TextOf(Sheet(Value(long{index})).Get(L"Name")) == name) return true;
    }
    return false;
  }

  void ReplaceLogos(const LogoPlacement& logo) override {
    ReplaceLogosIn(Sheet(Value(1L)).GetObject(L"Shapes"), logo, false);
  }

  void PrintOut(int32_t copies, const std::string& printer, bool first_page_only) override {
    // Calculation is manual while the run fills cells; formulas must show the member's values.
    excel_.Call(L"Calculate");
    workbook_.GetObject(L"Windows", {Value(1L)}).Call(L"Activate");
    Named how;
    if (first_page_only) {
      how.emplace_back(L"From", Value(1L));
      how.emplace_back(L"To", Value(1L));
    }
    how.emplace_back(L"Copies", Value(long{copies}));
    how.emplace_back(L"Collate", Value::Bool(true));
    // Excel takes the printer for this job alone and leaves the user's default as it is.
    if (!printer.empty()) how.emplace_back(L"ActivePrinter", Text(printer));
    excel_.GetObject(L"ActiveWindow")
        .GetObject(L"SelectedSheets")
        .Call(L"PrintOut", {}, std::move(how));
  }

  void SaveAs(const std::string& path) override {
    excel_.Put(L"DisplayAlerts", Value::Bool(false));
    if (HasSheet(kSettingsSheet)) Sheet(Text(kSettingsSheet)).Call(L"Delete");
    excel_.Call(L"Calculate");
    workbook_.Call(L"SaveAs", {}, {{L"FileName", Text(path)}});
  }

 private:
  int32_t SheetCount() { return WholeOf(workbook_.GetObject(L"Sheets").Get(L"Count")); }
  AutoObject Sheet(Value which) { return workbook_.GetObject(L"Sheets", {std::move(which)}); }
  static AutoObject CellOf(AutoObject sheet, int32_t row, int32_t column) {
    return sheet.GetObject(L"Cells", {Value(long{row}), Value(long{column})});
  }
  static SheetExtent ExtentOf(AutoObject sheet) {
    AutoObject used = sheet.GetObject(L"UsedRange");
    return {WholeOf(used.GetObject(L"Rows").Get(L"Count")),
            WholeOf(used.GetObject(L"Columns").Get(L"Count"))};
  }
  std::vector<TemplateCell> FindAll(const std::string& what);

  AutoObject excel_;
  AutoObject workbook_;
};

// Find goes round the sheet and starts again at its first hit: the walk ends at the first cell
// met twice.
std::vector<TemplateCell> ExcelWorkbook::FindAll(const std::string& what) {
  AutoObject sheet = Sheet(Value(1L));
  sheet.Call(L"Activate");
  AutoObject cells = sheet.GetObject(L"Cells");
  std::vector<TemplateCell> found;
  std::set<std::pair<int32_t, int32_t>> seen;
  AutoObject after = excel_.GetObject(L"ActiveCell");
  while (true) {
    Value hit_value = cells.Call(L"Find", {},
                                 {{L"What", Text(what)},
                                  {L"After", after.AsValue()},
                                  {L"LookIn", Value(kLookInValues)},
                                  {L"LookAt", Value(kLookAtPart)},
                                  {L"SearchOrder", Value(kByRows)},
                                  {L"SearchDirection", Value(kNext)},
                                  {L"MatchCase", Value::Bool(false)}});
    std::optional<AutoObject> hit = win32::ObjectOrNothing(hit_value);
    if (!hit) break;
    TemplateCell cell{WholeOf(hit->Get(L"Row")), WholeOf(hit->Get(L"Column")),
                      TextOf(hit->Get(L"Value"))};
    if (!seen.emplace(cell.row, cell.column).second) break;
    found.push_back(std::move(cell));
    after = *hit;
  }
  return found;
}

void ExcelWorkbook::LayOutLabels(const LabelSheet& plan) {
  const int32_t rows = plan.block_rows;
  const int32_t columns = plan.block_columns;
  for (const TemplateCell& cell : FindAll("*")) {
    if (cell.row > rows || cell.column > columns) {
      throw VbError(1004, "Etiketten: In Zelle " + CellName(cell.row, cell.column) +
                              " steht etwas außerhalb des Etiketts (A1:" + CellName(rows, columns) +
                              "). Bitte im Blatt Settings Zeilen und Spalten je Etikett "
                              "passend angeben.");
    }
  }
  AutoObject sheet = Sheet(Value(1L));
  // The block's own sizes, read before any copy changes the sheet.
  std::vector<Value> heights;
  std::vector<Value> widths;
  for (int32_t row = 1; row <= rows; ++row) {
    const double wanted = static_cast<size_t>(row) <= plan.row_heights.size()
                              ? plan.row_heights[static_cast<size_t>(row - 1)]
                              : 0;
    heights.push_back(wanted > 0 ? Value::Double(wanted)
                                 : sheet.GetObject(L"Rows", {Value(long{row})}).Get(L"RowHeight"));
  }
  for (int32_t column = 1; column <= columns; ++column) {
    const double wanted = static_cast<size_t>(column) <= plan.column_widths.size()
                              ? plan.column_widths[static_cast<size_t>(column - 1)]
                              : 0;
    widths.push_back(wanted > 0
                         ? Value::Double(wanted)
                         : sheet.GetObject(L"Columns", {Value(long{column})}).Get(L"ColumnWidth"));
  }
  AutoObject block = sheet.GetObject(
      L"Range", {CellOf(sheet, 1, 1).AsValue(), CellOf(sheet, rows, columns).AsValue()});
  bool block_holds_a_label = false;
  for (const Label& label : plan.labels) {
    if (label.top_row == 1 && label.left_column == 1) {
      block_holds_a_label = true;
    } else {
      block.Call(L"Copy", {},
                 {{L"Destination", CellOf(sheet, label.top_row, label.left_column).AsValue()}});
    }
  }
  // A label paper already partly used leaves the first places empty.
  if (!block_holds_a_label) block.Call(L"ClearContents");
  for (const Label& label : plan.labels) {
    for (const TemplateCell& cell : label.cells) {
      SetCellText({label.top_row + cell.row - 1, label.left_column + cell.column - 1, cell.text});
    }
  }
  for (int32_t row = 1; row <= plan.label_rows * rows; ++row) {
    sheet.GetObject(L"Rows", {Value(long{row})})
        .Put(L"RowHeight", heights[static_cast<size_t>((row - 1) % rows)]);
  }
  for (int32_t column = 1; column <= plan.labels_across * columns; ++column) {
    sheet.GetObject(L"Columns", {Value(long{column})})
        .Put(L"ColumnWidth", widths[static_cast<size_t>((column - 1) % columns)]);
  }
  for (int32_t after_row : plan.page_breaks) {
    sheet.GetObject(L"HPageBreaks")
        .Call(L"Add", {},
              {{L"Before", sheet.GetObject(L"Rows", {Value(long{after_row + 1})}).AsValue()}});
  }
}

}  // namespace

// Declared in this order so that the apartment outlives the programs.
struct AutomationOffice::Programs {
  std::unique_ptr<win32::ComApartment> apartment;
  std::optional<AutoObject> word;
  std::optional<AutoObject> excel;

  void EnterApartment() {
    if (!apartment) apartment = std::make_unique<win32::ComApartment>();
  }

  // A program is kept from the moment it exists, so that Quit ends it even when a setting fails.
  AutoObject& Word() {
    if (!word) {
      EnterApartment();
      word = AutoObject::Create(L"Word.Application");
      word->Put(L"Visible", Value::Bool(false));
      word->Put(L"ScreenUpdating", Value::Bool(false));
      word->Put(L"WindowState", Value(kMinimised));
    }
    return *word;
  }

  AutoObject& Excel() {
    if (!excel) {
      EnterApartment();
      excel = AutoObject::Create(L"Excel.Application");
      excel->Put(L"ScreenUpdating", Value::Bool(false));
      excel->Put(L"DisplayAlerts", Value::Bool(false));
    }
    return *excel;
  }
};

AutomationOffice::AutomationOffice() : programs_(std::make_unique<Programs>()) {}

AutomationOffice::~AutomationOffice() { Quit(); }

std::unique_ptr<OfficeDocument> AutomationOffice::Open(const std::string& path, DocumentKind kind) {
  const Value file = Text(path);
  if (kind == DocumentKind::kWordProcessor) {
    AutoObject& word = programs_->Word();
    AutoObject document = word.GetObject(L"Documents").GetObject(L"Open", {file});
    return std::make_unique<WordDocument>(word, std::move(document), path);
  }
  AutoObject& excel = programs_->Excel();
  AutoObject workbook = excel.GetObject(L"Workbooks").GetObject(L"Open", {file});
  auto opened = std::make_unique<ExcelWorkbook>(excel, std::move(workbook));
  // Excel refuses a calculation mode while no workbook is open.
  excel.Put(L"Calculation", Value(kManualCalculation));
  return opened;
}

void AutomationOffice::SetStatusText(const std::string& text) {
  if (programs_->excel) programs_->excel->Put(L"StatusBar", Text(text));
}

void AutomationOffice::Quit() {
  std::optional<AutoObject>& excel = programs_->excel;
  if (excel) {
    try {
      excel->Put(L"DisplayAlerts", Value::Bool(false));
    } catch (...) {
    }
    try {
      excel->Call(L"Quit");
    } catch (...) {
    }
    excel.reset();
  }
  std::optional<AutoObject>& word = programs_->word;
  if (word) {
    // Word asks about unsaved documents before it quits; nobody is there to answer.
    try {
      word->Call(L"Quit", {}, {{L"SaveChanges", Value(kDoNotSaveChanges)}});
    } catch (...) {
    }
    word.reset();
  }
  programs_->apartment.reset();
}

}  // namespace lastora
