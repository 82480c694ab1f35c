// Sheets as Excel hands them to a macro: 2-D SAFEARRAYs of VARIANT with the range's bounds,
// column-major, cells of the kinds a worksheet holds; and the settings column as a 1-D array.
// The arrays are laid out here by hand, apart from the server's own table conversion, so that a
// fault in that one cannot hide itself by being undone on the way back. Single cells cross with the
// library's cell conversion: a cell of the wrong kind shows in the kinds the comparison with the
// Linux library's copy holds, and a wrong text in the bytes of the files the run writes.
#ifndef LASTORA_TESTS_COM_SHEET_ARRAYS_H_
#define LASTORA_TESTS_COM_SHEET_ARRAYS_H_

// clang-format off
#include <windows.h>  // first: the OLE headers build on its types
// clang-format on
#include <oleauto.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "lastora/table.h"
#include "lastora/variant.h"

namespace lastora::testing {

// A table from (1, 1) of the rows' texts; "" leaves a cell empty.
Table Rows(std::initializer_list<std::vector<std::string>> rows);

// `out` must be empty; it receives a new array of the table's shape and bounds.
void PutRange(const Table& table, VARIANT* out);
void PutArray(const VariantArray& array, VARIANT* out);

// What the caller's variable holds after a call; Empty gives an array without cells.
Table RangeOf(const VARIANT& holder);
VariantArray ArrayOf(const VARIANT& holder);

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_COM_SHEET_ARRAYS_H_
