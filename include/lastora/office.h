// Port: the word processor and the spreadsheet program that fill, print and save mail-merge
// documents. The run relies on these operations only; whether a platform drives an office suite
// through automation or edits the files itself is the adapter's business.
#ifndef LASTORA_OFFICE_H_
#define LASTORA_OFFICE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "lastora/export.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

enum class DocumentKind { kWordProcessor, kSpreadsheet };

// Where the logo goes: every picture or shape whose name contains "Vereinslogo" is replaced by
// the picture, scaled by the smaller of the two ratios so that it fits width x height (points)
// with its proportions kept, at the old shape's place and under the old shape's name.
struct LogoPlacement {
  std::string picture_path;
  double width = 51;
  double height = 66;
  int32_t left = 10;  // where the picture is added before it takes the old shape's place
  int32_t top = 10;
};

// A cell of a spreadsheet template, numbered from 1, with its text.
struct TemplateCell {
  int32_t row = 1;
  int32_t column = 1;
  std::string text;
};

// The used part of a sheet, counted from its first cell: the rows and columns up to the last cell
// that exists.
struct SheetExtent {
  int32_t rows = 0;
  int32_t columns = 0;
};

// One label on a label sheet: the place of its block's top-left cell and the block's filled
// cells, numbered within the block as the template holds them.
struct Label {
  int32_t top_row = 1;
  int32_t left_column = 1;
  std::vector<TemplateCell> cells;
};

// The labels of a label template on its first sheet. The block of block_rows x block_columns
// cells at the sheet's top left is one label; it is repeated at every label's place with its
// formats, merged cells and pictures. Every label row gets the block's row heights (also where
// no label is filled, so that the labels stay on their places on the paper), every label column
// the block's column widths.
struct LabelSheet {
  int32_t block_rows = 1;
  int32_t block_columns = 1;
  int32_t label_rows = 1;  // label rows on the sheet, filled or not
  int32_t labels_across = 1;
  std::vector<double> row_heights;    // points, per block row; 0 keeps the template's height
  std::vector<double> column_widths;  // characters, per block column; 0 keeps the template's
  std::vector<int32_t> page_breaks;   // sheet rows after which a new page begins
  std::vector<Label> labels;
};

// An open document. Destroying it closes it without saving. Every failure throws VbError.
class OfficeDocument {
 public:
  virtual ~OfficeDocument() = default;

  // The text of every story (body, headers, footers, notes, text boxes) of a word-processor
  // document; the text of every cell of a workbook's sheets.
  virtual std::vector<std::string> StoryTexts() = 0;
  // Replaces every occurrence in every story (or cell). The replacement takes the formatting of
  // the text it replaces.
  virtual void ReplaceAll(const std::string& find, const std::string& replacement) = 0;
  // Spreadsheets: the cells whose text contains "<<", in reading order of the first sheet.
  virtual std::vector<TemplateCell> PlaceholderCells() = 0;
  virtual void SetCellText(const TemplateCell& cell) = 0;
  // Spreadsheets: the texts of columns 1 to `columns` in one row of the named sheet, "" for an
  // empty cell.
  virtual std::vector<std::string> SheetRowTexts(const std::string& sheet, int32_t row,
                                                 int32_t columns) = 0;
  // Spreadsheets: the used part of the first sheet.
  virtual SheetExtent UsedExtent() = 0;
  // Spreadsheets: the first sheet becomes the label sheet. VbError 1004 naming the cell when the
  // template holds text outside the block, which would otherwise be lost or overwritten.
  virtual void LayOutLabels(const LabelSheet& sheet) = 0;
  // True when the workbook has a sheet of that name (a word-processor document has none).
  virtual bool HasSheet(const std::string& name) = 0;
  virtual void ReplaceLogos(const LogoPlacement& logo) = 0;
  // Sends the document to the printer (the system's default when `printer` is empty);
  // first_page_only prints page 1 alone.
  virtual void PrintOut(int32_t copies, const std::string& printer, bool first_page_only) = 0;
  // Saves under the path (replacing a file of that name) in the template's format. A workbook
  // loses its "Settings" sheet first.
  virtual void SaveAs(const std::string& path) = 0;
};

// The office applications of one run. A run opens what it needs and calls Quit at its end on
// every path; after Quit no application the run started is left running.
class Office {
 public:
  virtual ~Office() = default;
  virtual std::unique_ptr<OfficeDocument> Open(const std::string& path, DocumentKind kind) = 0;
  // The spreadsheet program's status bar; adapters without one may ignore it.
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void Quit() = 0;
};

// The process-wide office; never null (the file engines stand in by default). Shared, so that
// a run keeps the office it started with even if another thread installs a new one meanwhile.
std::shared_ptr<Office> GetOffice();
// Installs another one and returns the one it replaces; nullptr restores the default.
std::shared_ptr<Office> SetOffice(std::shared_ptr<Office> office);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_OFFICE_H_
