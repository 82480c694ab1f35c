#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "core/calendar.h"
#include "core/date_text.h"
#include "core/number_text.h"
#include "core/value_kinds.h"
#include "lastora/variant.h"
#include "lastora/vb_error.h"

namespace lastora {

namespace {

// --- Number patterns: "0", "0.00", "0000" and the like.

struct NumberPattern {
  int integer_digits = 0;
  int decimals = 0;
};

bool ParseNumberPattern(std::string_view pattern, NumberPattern* out) {
  size_t i = 0;
  while (i < pattern.size() && pattern[i] == '0') ++i;
  out->integer_digits = static_cast<int>(i);
  if (i == 0) return false;
  if (i == pattern.size()) return true;
  if (pattern[i] != '.') return false;
  const size_t first_decimal = ++i;
  while (i < pattern.size() && pattern[i] == '0') ++i;
  out->decimals = static_cast<int>(i - first_decimal);
  return i == pattern.size() && out->decimals > 0;
}

// Rounds the value's 15 significant digits half away from zero, as the platform's Format does,
// so an amount like 2,675 prints as "2,68" although its binary value lies just below.
std::string FormatNumber(double x, const NumberPattern& pattern) {
  if (!std::isfinite(x)) throw VbError(6);
  detail::SignificantDigits d = detail::ToSignificantDigits(x);
  detail::RoundDecimals(d, pattern.decimals);
  const auto digit_at = [&d](long index) {
    return index >= 0 && index < static_cast<long>(d.digits.size())
               ? d.digits[static_cast<size_t>(index)]
               : '0';
  };
  std::string out;
  // No sign on a value that rounds to zero: "-0,00" would read as a debit of nothing.
  if (x < 0 && !d.digits.empty()) out.push_back('-');
  const int integer_digits = std::max(d.point, 0);
  for (int i = integer_digits; i < pattern.integer_digits; ++i) out.push_back('0');
  for (long i = 0; i < integer_digits; ++i) out.push_back(digit_at(i));
  if (pattern.decimals > 0) {
    out.push_back(CurrentRegional().decimal_separator);
    for (long i = 0; i < pattern.decimals; ++i) out.push_back(digit_at(d.point + i));
  }
  return out;
}

// --- Date patterns: runs of d, m, y, h, n, s (any case) between ". - :" and blanks.

enum class Field { kLiteral, kDay, kMonth, kYear, kHour, kMinute, kSecond };

struct DateToken {
  Field field = Field::kLiteral;
  int width = 0;  // digits (1 or 2; 2 or 4 for the year)
  char literal = 0;
};

bool IsLiteral(char c) { return c == '.' || c == '-' || c == ':' || c == ' '; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool FieldOf(char letter, int width, Field* field) {
  switch (letter) {
    case 'd':
      *field = Field::kDay;
      return width <= 2;
    case 'm':
      *field = Field::kMonth;
      return width <= 2;
    case 'y':
      *field = Field::kYear;
      return width == 2 || width == 4;
    case 'h':
      *field = Field::kHour;
      return width <= 2;
    case 'n':
      *field = Field::kMinute;
      return width <= 2;
    case 's':
      *field = Field::kSecond;
      return width <= 2;
    default:
      return false;
  }
}

// "m" means minutes right after an hour or right before seconds, as on the platform.
void ResolveMinutes(std::vector<DateToken>& tokens) {
  Field previous = Field::kLiteral;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].field == Field::kLiteral) continue;
    if (tokens[i].field == Field::kMonth) {
      Field next = Field::kLiteral;
      for (size_t j = i + 1; j < tokens.size() && next == Field::kLiteral; ++j) {
        next = tokens[j].field;
      }
      if (previous == Field::kHour || next == Field::kSecond) tokens[i].field = Field::kMinute;
    }
    previous = tokens[i].field;
  }
}

bool ParseDatePattern(std::string_view pattern, std::vector<DateToken>* tokens) {
  bool any_field = false;
  for (size_t i = 0; i < pattern.size();) {
    const char c = Lower(pattern[i]);
    if (IsLiteral(c)) {
      tokens->push_back({Field::kLiteral, 0, pattern[i]});
      ++i;
      continue;
    }
    size_t end = i;
    while (end < pattern.size() && Lower(pattern[end]) == c) ++end;
    DateToken token;
    token.width = static_cast<int>(end - i);
    if (!FieldOf(c, token.width, &token.field)) return false;
    tokens->push_back(token);
    any_field = true;
    i = end;
  }
  ResolveMinutes(*tokens);
  return any_field;
}

double SerialForFormat(const Variant& v) {
  if (v.IsString()) {
    double serial = 0;
    if (detail::ParseDateText(v.AsString(), &serial)) return serial;
  }
  return CDate(v.IsString() ? Variant(detail::NumberOf(v)) : v);
}

std::string FormatDate(double serial, const std::vector<DateToken>& tokens) {
  const detail::DateParts parts = detail::SplitSerial(serial);
  std::string out;
  for (const DateToken& token : tokens) {
    switch (token.field) {
      case Field::kLiteral:
        out.push_back(token.literal);
        break;
      case Field::kDay:
        detail::AppendPadded(out, parts.day, token.width);
        break;
      case Field::kMonth:
        detail::AppendPadded(out, parts.month, token.width);
        break;
      case Field::kYear:
        detail::AppendPadded(out, token.width == 2 ? parts.year % 100 : parts.year, token.width);
        break;
      case Field::kHour:
        detail::AppendPadded(out, parts.hour, token.width);
        break;
      case Field::kMinute:
        detail::AppendPadded(out, parts.minute, token.width);
        break;
      case Field::kSecond:
        detail::AppendPadded(out, parts.second, token.width);
        break;
    }
  }
  return out;
}

}  // namespace

std::string Format(const Variant& v, std::string_view pattern) {
  NumberPattern number;
  if (ParseNumberPattern(pattern, &number)) return FormatNumber(detail::NumberOf(v), number);
  std::vector<DateToken> tokens;
  if (ParseDatePattern(pattern, &tokens)) {
    detail::RequireValue(v);
    return FormatDate(SerialForFormat(v), tokens);
  }
  throw VbError(5);
}

}  // namespace lastora
