#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

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

// One run of the pattern: a field letter repeated, or a single literal character.
struct DateToken {
  Field field = Field::kLiteral;
  int width = 0;  // digits: 1 or 2, for the year 2 or 4
  char literal = 0;
  size_t end = 0;  // where the next token starts
};

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

// False for a character or a run length that the patterns do not use.
bool TokenAt(std::string_view pattern, size_t pos, DateToken* token) {
  const char c = Lower(pattern[pos]);
  if (c == '.' || c == '-' || c == ':' || c == ' ') {
    *token = {Field::kLiteral, 0, c, pos + 1};
    return true;
  }
  size_t end = pos;
  while (end < pattern.size() && Lower(pattern[end]) == c) ++end;
  token->width = static_cast<int>(end - pos);
  token->end = end;
  return FieldOf(c, token->width, &token->field);
}

bool IsDatePattern(std::string_view pattern) {
  bool any_field = false;
  DateToken token;
  for (size_t pos = 0; pos < pattern.size(); pos = token.end) {
    if (!TokenAt(pattern, pos, &token)) return false;
    any_field = any_field || token.field != Field::kLiteral;
  }
  return any_field;
}

Field NextField(std::string_view pattern, size_t pos) {
  DateToken token;
  for (; pos < pattern.size(); pos = token.end) {
    TokenAt(pattern, pos, &token);
    if (token.field != Field::kLiteral) return token.field;
  }
  return Field::kLiteral;
}

double SerialForFormat(const Variant& v) {
  if (v.IsString()) {
    double serial = 0;
    if (detail::ParseDateText(v.AsString(), &serial)) return serial;
  }
  return CDate(v.IsString() ? Variant(detail::NumberOf(v)) : v);
}

int ValueOf(const detail::DateParts& parts, Field field, int width) {
  switch (field) {
    case Field::kDay:
      return parts.day;
    case Field::kMonth:
      return parts.month;
    case Field::kYear:
      return width == 2 ? parts.year % 100 : parts.year;
    case Field::kHour:
      return parts.hour;
    case Field::kMinute:
      return parts.minute;
    case Field::kSecond:
      return parts.second;
    case Field::kLiteral:
      break;
  }
  return 0;
}

// The pattern has passed IsDatePattern.
std::string FormatDate(double serial, std::string_view pattern) {
  const detail::DateParts parts = detail::SplitSerial(serial);
  std::string out;
  Field previous = Field::kLiteral;
  DateToken token;
  for (size_t pos = 0; pos < pattern.size(); pos = token.end) {
    TokenAt(pattern, pos, &token);
    Field field = token.field;
    // "m" means minutes right after an hour or right before seconds, as on the platform.
    if (field == Field::kMonth &&
        (previous == Field::kHour || NextField(pattern, token.end) == Field::kSecond)) {
      field = Field::kMinute;
    }
    if (field == Field::kLiteral) {
      out.push_back(token.literal);
      continue;
    }
    detail::AppendPadded(out, ValueOf(parts, field, token.width), token.width);
    previous = field;
  }
  return out;
}

}  // namespace

std::string Format(const Variant& v, std::string_view pattern) {
  NumberPattern number;
  const bool is_number = ParseNumberPattern(pattern, &number);
  if (!is_number && !IsDatePattern(pattern)) throw VbError(5);
  detail::RequireValue(v);
  // An empty cell stays empty, as on the platform, rather than showing 0 or 30.12.1899.
  if (v.IsEmpty()) return std::string();
  if (is_number) return FormatNumber(detail::NumberOf(v), number);
  return FormatDate(SerialForFormat(v), pattern);
}

}  // namespace lastora
