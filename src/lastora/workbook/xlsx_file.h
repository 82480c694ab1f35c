// Writing a table with its cell colours as an .xlsx workbook.
#ifndef LASTORA_WORKBOOK_XLSX_FILE_H_
#define LASTORA_WORKBOOK_XLSX_FILE_H_

#include <string>
#include <vector>

#include "lastora/table_files.h"

namespace lastora {

// One sheet: the header in row 1 (when given), then the cells; a colour number of the
// component's palette (3, 6, 16, 45) fills the cell. Replaces the file atomically.
void WriteXlsx(const std::string& path, const ColouredTable& table,
               const std::vector<std::string>& header);

}  // namespace lastora

#endif  // LASTORA_WORKBOOK_XLSX_FILE_H_
