// A spreadsheet workbook (.xlsx, .xlsm) edited in its package: cell texts read and written,
// label sheets laid out, the club's logo put in, the "Settings" sheet of label templates
// removed before saving.
#ifndef LASTORA_PLATFORM_POSIX_XLSX_DOCUMENT_H_
#define LASTORA_PLATFORM_POSIX_XLSX_DOCUMENT_H_

#include <optional>
#include <string>
#include <vector>

#include "lastora/office.h"
#include "platform/posix/package_parts.h"
#include "platform/posix/xml_part.h"
#include "platform/posix/zip_package.h"

namespace lastora {

class XlsxDocument {
 public:
  // VbError 75 when the bytes are no workbook package.
  XlsxDocument(std::string_view bytes, const std::string& source);

  // The text of every cell that holds one, sheet by sheet.
  std::vector<std::string> CellTexts() const;
  void ReplaceAll(const std::string& find, const std::string& replacement);
  // The cells of the first sheet whose text contains "<<", row by row.
  std::vector<TemplateCell> PlaceholderCells() const;
  // Writes the text into a cell of the first sheet (as an inline string).
  void SetCellText(const TemplateCell& cell);
  // Columns 1 to `columns` of a row of the named sheet ("" where there is nothing).
  std::vector<std::string> SheetRowTexts(const std::string& sheet, int32_t row,
                                         int32_t columns) const;
  SheetExtent UsedExtent() const;
  void LayOutLabels(const LabelSheet& plan);
  void ReplaceLogos(const LogoPlacement& logo);
  bool HasSheet(const std::string& name) const;
  // Without the "Settings" sheet.
  std::string Write();

 private:
  struct Sheet {
    std::string name;
    std::string rel_id;
    std::string part;
    XmlDocPtr doc;
    bool changed = false;
  };

  std::string CellText(const xmlNode* cell) const;
  void RemoveSheet(size_t index);
  void SetPrintArea(const Sheet& sheet, const std::string& range);
  void RepeatDrawings(const Sheet& sheet, const LabelSheet& plan);
  std::vector<std::string> DrawingParts(const Sheet& sheet) const;
  void ReplaceLogosIn(const std::string& part, const LogoPlacement& logo,
                      std::optional<LogoExtent>& extent);

  ZipPackage package_;
  std::vector<std::string> shared_strings_;
  std::vector<Sheet> sheets_;
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_POSIX_XLSX_DOCUMENT_H_
