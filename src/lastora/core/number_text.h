// Number text under the regional separators: reading it, and writing a Double as the platform
// prints it.
#ifndef LASTORA_CORE_NUMBER_TEXT_H_
#define LASTORA_CORE_NUMBER_TEXT_H_

#include <string>
#include <string_view>

namespace lastora::detail {

enum class NumberTextResult { kNumber, kNotNumber, kOverflow };

// An optional sign, digits in which grouping separators are ignored, one optional decimal
// separator, an optional exponent, surrounding blanks allowed.
NumberTextResult ParseNumberText(std::string_view text, double* value);

// Up to 15 significant digits, decimal separator of the regional settings, no grouping.
std::string DoubleToText(double x);

// |x| rounded to 15 significant digits: value = 0.digits x 10^point, so `point` is the number of
// digits before the decimal point (negative or zero for values below 0.1). Zero has no digits.
struct SignificantDigits {
  std::string digits;  // no trailing zeros
  int point = 0;
};
SignificantDigits ToSignificantDigits(double x);

// Rounds half away from zero so that `decimals` digits after the decimal point remain.
void RoundDecimals(SignificantDigits& d, int decimals);

}  // namespace lastora::detail

#endif  // LASTORA_CORE_NUMBER_TEXT_H_
