// How the processing run reads and marks the cells of the member table.
#ifndef LASTORA_PROCESSING_CELLS_H_
#define LASTORA_PROCESSING_CELLS_H_

#include <string>
#include <string_view>

#include "lastora/variant.h"

namespace lastora::processing {

// Empty, Null or the empty text: a cell the user left blank. Null never comes from a worksheet;
// treating it as blank keeps a scripted caller's Null from ending the run.
bool IsBlankCell(const Variant& cell);

// The cell's text (CStr), without a copy's detour for cells that already hold text.
std::string CellText(const Variant& cell);

// The cell's text without a copy: a view of the cell's own text, or of its conversion placed in
// `storage`. Valid while the cell and the storage are.
std::string_view CellTextView(const Variant& cell, std::string& storage);

// The cell as a number; a blank cell counts as 0. Text that is not a number throws VbError 13.
double CellNumber(const Variant& cell);

// Appends a row message to an error or warning cell, after ", " when it already holds text.
void AppendRowMessage(Variant& cell, const std::string& message);

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_CELLS_H_
