#include "core/cents.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "lastora/vb_error.h"

namespace lastora::money {
namespace {

// Beyond this an amount has lost its cents in a double anyway; it is treated as the platform
// treats a number too large for its type.
constexpr double kLargestCents = 1e15;
// Below this many cents the 15-digit text has at least eight decimals.
constexpr double kQuickLimit = 1e9;
// An amount this close to whole cents shows, in its 15-digit text, either zeros or nines from
// the third decimal on, and both round to those cents.
constexpr double kQuickTolerance = 1e-4;

int64_t CentsOfDecimalText(double amount) {
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

}  // namespace

// Almost every amount is a number of whole cents plus binary noise; only the rest needs the
// costly decimal text.
int64_t ToCents(double amount) {
  const double scaled = std::fabs(amount) * 100.0;
  if (!(scaled < kLargestCents)) throw VbError(6);
  if (scaled < kQuickLimit) {
    const double whole = std::nearbyint(scaled);
    if (std::fabs(scaled - whole) < kQuickTolerance) {
      const auto cents = static_cast<int64_t>(whole);
      return amount < 0 ? -cents : cents;
    }
  }
  return CentsOfDecimalText(amount);
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

}  // namespace lastora::money
