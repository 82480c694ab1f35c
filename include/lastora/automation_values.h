// Windows only: the values that cross an automation (COM) boundary. Cells travel as VARIANTs,
// tables as SAFEARRAYs of VARIANT (column-major, the caller's lower bounds kept), texts as BSTRs.
// Every conversion that fails throws VbError with the number the platform would report: 13 for a
// value of the wrong kind, 9 for an array with the wrong number of dimensions.
#ifndef LASTORA_AUTOMATION_VALUES_H_
#define LASTORA_AUTOMATION_VALUES_H_

#ifdef _WIN32

#include <oaidl.h>

#include <string>
#include <string_view>

#include "lastora/table.h"
#include "lastora/variant.h"

namespace lastora::automation {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);
// Embedded NULs are kept: a BSTR's length is its own, not the first NUL.
std::string FromBstr(BSTR text);
BSTR ToBstr(
    std::string_view utf8);  // the caller owns the result; throws VbError 7 when out of memory

// One cell. By-reference VARIANTs are followed; an omitted optional argument becomes Missing; an
// error value (a worksheet's #N/A) becomes the text the platform gives it, "Fehler 2042".
Variant FromVariant(const VARIANT& value);
// `out` is cleared first.
void ToVariant(const Variant& value, VARIANT* out);

// The array inside a VARIANT (by value or by reference), or nullptr when it holds none.
SAFEARRAY* ArrayOf(const VARIANT& value);

Table TableFromVariant(const VARIANT& value);
// As TableFromVariant, into `table`: its memory is used again where the shape allows, and a text a
// cell already holds is kept, so that converting the same sheet call after call touches no fresh
// memory and allocates nothing for the texts that stayed the same.
void ReadTable(const VARIANT& value, Table& table);
VariantArray ArrayFromVariant(const VARIANT& value);
// New arrays for results; the caller owns them.
SAFEARRAY* NewSafeArray(const Table& table);
SAFEARRAY* NewSafeArray(const VariantArray& array);

// Hands a run's table back to the caller's by-reference argument. Where the shape is unchanged,
// only the cells whose value differs from what the caller's array holds are written, so a cell the
// run never touched keeps its exact kind (currency, error value, ...). Otherwise the caller's array
// is replaced.
void WriteBackTable(const Table& result, VARIANT* argument);
// Replaces the caller's array by a new one. A fixed-size array (a VBA `Dim a(1 To 206)`) cannot
// be replaced: the cells are written into it in place when its bounds hold them, and otherwise
// VbError 9 is thrown before anything of it is touched.
void ReplaceArray(const VariantArray& result, VARIANT* argument);
// As ReplaceArray, but leaves the caller's array alone when the run left every cell as it was.
void WriteBackArray(const VariantArray& received, const VariantArray& result, VARIANT* argument);
void ReplaceTable(const Table& result, VARIANT* argument);

}  // namespace lastora::automation

#endif  // _WIN32

#endif  // LASTORA_AUTOMATION_VALUES_H_
