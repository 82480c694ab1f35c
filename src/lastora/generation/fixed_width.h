// Fields of fixed width in characters, appended to a growing document. Widths count characters
// (code points), so a name with umlauts lines up in the Windows-1252 file just as a plain one.
// Left-aligned fields are text::AppendPadRight.
#ifndef LASTORA_GENERATION_FIXED_WIDTH_H_
#define LASTORA_GENERATION_FIXED_WIDTH_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace lastora::generation {

// Appends the value right-aligned, filled on the left with `fill`; a longer value keeps only its
// last `width` characters.
void AppendRightAligned(std::string& out, std::string_view value, size_t width, char fill = ' ');
// As AppendRightAligned, but a longer value is kept whole: a number is never cut, the record
// comes out too long instead and its length check reports it.
void AppendZeroFilled(std::string& out, std::string_view digits, size_t width);

// The same as a text of its own, for values that are used more than once.
std::string RightAligned(std::string_view value, size_t width, char fill = ' ');

// Upper case as the fixed-record formats want names and purpose lines; plain ASCII texts, the
// usual case after the processing run's cleaning, are changed in place.
std::string UpperCase(std::string value);

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_FIXED_WIDTH_H_
