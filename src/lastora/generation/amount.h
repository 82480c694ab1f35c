// Amounts in whole cents, as every payment file carries them, and their texts.
#ifndef LASTORA_GENERATION_AMOUNT_H_
#define LASTORA_GENERATION_AMOUNT_H_

#include <cstdint>
#include <string>

namespace lastora::generation {

// The amount rounded to cents the way the platform shows it with two decimals: the number's
// 15-digit decimal text is rounded half away from zero, so 0.285 gives 29 cents although its
// binary value lies just below.
int64_t ToCents(double amount);

// Two decimals with the given separator and no grouping: 1250 cents read "12.50" or "12,50".
std::string CentsText(int64_t cents, char decimal_separator);

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_AMOUNT_H_
