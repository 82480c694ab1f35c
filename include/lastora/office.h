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
