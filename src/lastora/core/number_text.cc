#include "core/number_text.h"

#include <charconv>
#include <cmath>

#include "lastora/variant.h"
#include "lastora/vb_error.h"

namespace lastora::detail {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What the scan of a number text learnt beyond its clean form: where its first significant
// digit stands, to tell an overflow from an underflow when the value leaves the double range.
struct Scan {
  std::string clean;   // "-123.45e6" for from_chars
  long magnitude = 0;  // digits before the point, counted from the first non-zero digit
  bool seen_nonzero = false;
};

bool ScanMantissa(std::string_view text, size_t& i, Scan& scan) {
  const Regional& regional = CurrentRegional();
  size_t digits = 0;
  bool seen_decimal = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      ++digits;
      scan.clean.push_back(c);
      if (c != '0') scan.seen_nonzero = true;
      if (!seen_decimal && scan.seen_nonzero) ++scan.magnitude;
      if (seen_decimal && !scan.seen_nonzero) --scan.magnitude;
    } else if (c == regional.decimal_separator && !seen_decimal) {
      seen_decimal = true;
      scan.clean.push_back('.');
    } else if (c == regional.grouping_separator && !seen_decimal) {
      // Grouping separators are ignored wherever they stand in the integer part.
    } else {
      break;
    }
  }
  return digits > 0;
}

bool ScanExponent(std::string_view text, size_t& i, Scan& scan) {
  if (i >= text.size() || (text[i] != 'e' && text[i] != 'E')) return true;
  scan.clean.push_back('e');
  ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    scan.clean.push_back(text[i]);
    ++i;
  }
  long exponent = 0;
  const size_t first = i;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    scan.clean.push_back(text[i]);
    if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
  }
  scan.magnitude += negative ? -exponent : exponent;
  return i > first;
}

}  // namespace

NumberTextResult ParseNumberText(std::string_view text, double* value) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  const std::string_view body = text.substr(begin, end - begin);

  Scan scan;
  scan.clean.reserve(body.size());
  size_t i = 0;
  if (i < body.size() && (body[i] == '+' || body[i] == '-')) {
    if (body[i] == '-') scan.clean.push_back('-');
    ++i;
  }
  if (!ScanMantissa(body, i, scan) || !ScanExponent(body, i, scan) || i != body.size()) {
    return NumberTextResult::kNotNumber;
  }
  double parsed = 0;
  const char* first = scan.clean.data();
  const char* last = first + scan.clean.size();
  const auto [ptr, ec] = std::from_chars(first, last, parsed);
  if (ec == std::errc::result_out_of_range) {
    if (scan.seen_nonzero && scan.magnitude > 0) return NumberTextResult::kOverflow;
    parsed = 0;  // too small for a double: the platform reads it as zero
  } else if (ec != std::errc() || ptr != last) {
    return NumberTextResult::kNotNumber;
  }
  *value = parsed;
  return NumberTextResult::kNumber;
}

namespace {

constexpr size_t kSignificant = 15;

// Digits and point of a to_chars scientific text ("1.2345e+03", "5e-07").
SignificantDigits FromScientific(std::string_view text) {
  SignificantDigits d;
  const size_t e = text.find('e');
  for (size_t i = 0; i < e; ++i) {
    if (text[i] != '.') d.digits.push_back(text[i]);
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  int exponent = 0;
  const char* exponent_first = text.data() + e + 1;
  if (*exponent_first == '+') ++exponent_first;
  std::from_chars(exponent_first, text.data() + text.size(), exponent);
  d.point = exponent + 1;
  return d;
}

void AppendExponent(std::string& out, int exponent) {
  out.push_back('E');
  out.push_back(exponent < 0 ? '-' : '+');
  const int magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude < 10) out.push_back('0');
  out.append(std::to_string(magnitude));
}

}  // namespace

SignificantDigits ToSignificantDigits(double x) {
  if (x == 0 || !std::isfinite(x)) return SignificantDigits{};
  const double magnitude = std::fabs(x);
  char buffer[40];
  // For a normal double the shortest text that reads back as x is closer to it than half a unit
  // in the 16th digit, so when it has at most 15 digits it is also the 15-digit rounding, and it
  // is faster to produce. Subnormals carry too few bits for that.
  std::to_chars_result result{};
  if (std::isnormal(x)) {
    result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    SignificantDigits d = FromScientific(std::string_view(buffer, result.ptr - buffer));
    if (d.digits.size() <= kSignificant) return d;
  }
  result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                         kSignificant - 1);
  return FromScientific(std::string_view(buffer, result.ptr - buffer));
}

std::string DoubleToText(double x) {
  if (!std::isfinite(x)) throw VbError(6);
  if (x == 0) return "0";  // also for -0
  // Amounts and counts are mostly whole: below 1E+15 their digits are exactly those of the
  // integer, without searching for the shortest text.
  constexpr double kWholeDigitsBelow = 1e15;
  if (std::fabs(x) < kWholeDigitsBelow && std::trunc(x) == x) {
    char buffer[20];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<int64_t>(x)).ptr;
    return std::string(buffer, end);
  }
  const SignificantDigits d = ToSignificantDigits(x);
  const char decimal = CurrentRegional().decimal_separator;
  const int exponent = d.point - 1;
  const auto length = static_cast<int>(d.digits.size());
  std::string out;
  if (x < 0) out.push_back('-');
  // The platform prints fixed from 1E-04 up to below 1E+15, otherwise a mantissa and an
  // exponent of at least two digits ("1E+15", "1,5E-07"), as printf's %.15g does.
  if (exponent < -4 || exponent >= static_cast<int>(kSignificant)) {
    out.push_back(d.digits[0]);
    if (length > 1) {
      out.push_back(decimal);
      out.append(d.digits, 1);
    }
    AppendExponent(out, exponent);
  } else if (d.point <= 0) {
    out.push_back('0');
    out.push_back(decimal);
    out.append(static_cast<size_t>(-d.point), '0');
    out.append(d.digits);
  } else if (d.point >= length) {
    out.append(d.digits);
    out.append(static_cast<size_t>(d.point - length), '0');
  } else {
    out.append(d.digits, 0, static_cast<size_t>(d.point));
    out.push_back(decimal);
    out.append(d.digits, static_cast<size_t>(d.point));
  }
  return out;
}

void RoundDecimals(SignificantDigits& d, int decimals) {
  const long keep = static_cast<long>(d.point) + decimals;
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  if (keep >= static_cast<long>(d.digits.size())) return;
  const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
  d.digits.resize(static_cast<size_t>(keep));
  if (up) {
    size_t i = d.digits.size();
    while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
    if (i == 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.point;
    } else {
      ++d.digits[i - 1];
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

}  // namespace lastora::detail
