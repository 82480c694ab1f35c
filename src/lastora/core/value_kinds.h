// The numeric reading of a Variant shared by the conversions, Format and Compare.
#ifndef LASTORA_CORE_VALUE_KINDS_H_
#define LASTORA_CORE_VALUE_KINDS_H_

#include "lastora/variant.h"

namespace lastora::detail {

// CDbl's reading: Empty 0, Boolean -1/0, a Date its serial, a String its number text;
// VbError 94 for Null, 13 for Missing or text that is no number, 6 for a number too large.
double NumberOf(const Variant& v);

// Throws the platform's error for Null (94) and Missing (13); other kinds pass.
void RequireValue(const Variant& v);

}  // namespace lastora::detail

#endif  // LASTORA_CORE_VALUE_KINDS_H_
