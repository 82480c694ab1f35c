// A spreadsheet workbook (.xlsx, .xlsm) edited in its package: cell texts read and written,
// the "Settings" sheet of label templates removed before saving.
#ifndef LASTORA_PLATFORM_POSIX_XLSX_DOCUMENT_H_
#define LASTORA_PLATFORM_POSIX_XLSX_DOCUMENT_H_

#include <string>
#include <vector>

#include "lastora/office.h"
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

  ZipPackage package_;
  std::vector<std::string> shared_strings_;
  std::vector<Sheet> sheets_;
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_POSIX_XLSX_DOCUMENT_H_
