// Which number formats make a spreadsheet number a date.
#ifndef LASTORA_IMPORT_NUMBER_FORMATS_H_
#define LASTORA_IMPORT_NUMBER_FORMATS_H_

#include <string_view>

namespace lastora::detail {

// id: the format number; code: its format text when the workbook defines one ("" for the
// built-in formats).
bool IsDateFormat(int id, std::string_view code);

}  // namespace lastora::detail

#endif  // LASTORA_IMPORT_NUMBER_FORMATS_H_
