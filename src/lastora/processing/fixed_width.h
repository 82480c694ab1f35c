// Texts of an exact width in characters, as remittance lines need them.
#ifndef LASTORA_PROCESSING_FIXED_WIDTH_H_
#define LASTORA_PROCESSING_FIXED_WIDTH_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace lastora::processing {

// Appends the text filled with blanks and cut to exactly `width` characters: PadRight with a
// blank fill, without the detour through Variants and temporary texts that would cost more than
// the rest of a row's work.
void AppendFixedWidth(std::string& out, std::string_view text, size_t width);

std::string FixedWidth(std::string_view text, size_t width);

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_FIXED_WIDTH_H_
