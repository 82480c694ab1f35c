#include "generation/amount.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace lastora::generation {

int64_t ToCents(double amount) {
  char digits[64];
  const int length = std::snprintf(digits, sizeof digits, "%.15g", std::fabs(amount));
  const bool negative = amount < 0;
  // Exponent forms only occur far outside the amounts a payment carries.
  if (length <= 0 || std::strpbrk(digits, "eEn") != nullptr) {
    return static_cast<int64_t>(std::llround(amount * 100.0));
  }
  int64_t whole = 0;
  const char* p = digits;
  for (; *p != '\0' && *p != '.'; ++p) whole = whole * 10 + (*p - '0');
  int64_t cents = whole * 100;
  if (*p == '.') ++p;
  int decimals = 0;
  for (; *p != '\0' && decimals < 2; ++p, ++decimals) {
    cents += (*p - '0') * (decimals == 0 ? 10 : 1);
  }
  if (*p >= '5' && *p <= '9') ++cents;
  return negative ? -cents : cents;
}

std::string CentsText(int64_t cents, char decimal_separator) {
  const bool negative = cents < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(cents) : cents;
  std::string text = negative ? "-" : "";
  text += std::to_string(magnitude / 100);
  text += decimal_separator;
  text += static_cast<char>('0' + magnitude % 100 / 10);
  text += static_cast<char>('0' + magnitude % 10);
  return text;
}

}  // namespace lastora::generation
