// Money in whole cents, as every payment file carries it, and its texts. Every amount that goes
// into a file or is read from one becomes cents here, by one rounding rule.
#ifndef LASTORA_CORE_CENTS_H_
#define LASTORA_CORE_CENTS_H_

#include <cstdint>
#include <string>

namespace lastora::money {

// The amount rounded to cents the way the platform shows it with two decimals: the number's
// 15-digit decimal text is rounded half away from zero, so 0.285 gives 29 cents although its
// binary value lies just below. A decimal text read as a number ("0.285" in a file) thus gets
// the cents its digits say. VbError 6 for amounts of 10^13 and more, or no number at all.
int64_t ToCents(double amount);

// Two decimals with the given separator and no grouping: 1250 cents read "12.50" or "12,50".
std::string CentsText(int64_t cents, char decimal_separator);

}  // namespace lastora::money

#endif  // LASTORA_CORE_CENTS_H_
