// Texts of an exact width in characters, as remittance lines need them.
#ifndef LASTORA_PROCESSING_FIXED_WIDTH_H_
#define LASTORA_PROCESSING_FIXED_WIDTH_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace lastora::processing {

// The text filled with blanks and cut to exactly `width` characters: PadRight with a blank fill,
// without the detour through Variants that would cost more than the rest of a row's work.
std::string FixedWidth(std::string_view text, size_t width);

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_FIXED_WIDTH_H_
