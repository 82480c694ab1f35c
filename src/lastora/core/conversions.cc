#include <cmath>
#include <string>

#include "core/calendar.h"
#include "core/date_text.h"
#include "core/number_text.h"
#include "core/text.h"
#include "core/value_kinds.h"
#include "lastora/variant.h"
#include "lastora/vb_error.h"

namespace lastora {

namespace detail {

void RequireValue(const Variant& v) {
  if (v.IsNull()) throw VbError(94);
  if (v.IsMissing()) throw VbError(13);
}

double NumberOf(const Variant& v) {
  switch (v.type()) {
    case VarType::kEmpty:
      return 0;
    case VarType::kBoolean:
      return v.AsBool() ? -1 : 0;
    case VarType::kInteger:
      return v.AsInteger();
    case VarType::kLong:
      return v.AsLong();
    case VarType::kDouble:
      return v.AsDouble();
    case VarType::kDate:
      return v.AsDate();
    case VarType::kString: {
      double value = 0;
      switch (ParseNumberText(v.AsString(), &value)) {
        case NumberTextResult::kNumber:
          return value;
        case NumberTextResult::kOverflow:
          throw VbError(6);
        case NumberTextResult::kNotNumber:
          break;
      }
      throw VbError(13);
    }
    case VarType::kNull:
    case VarType::kMissing:
      break;
  }
  RequireValue(v);
  throw VbError(13);
}

}  // namespace detail

namespace {

// Banker's rounding, which CLng and CInt use; x - floor(x) is exact for every double.
double RoundHalfEven(double x) {
  const double lower = std::floor(x);
  const double fraction = x - lower;
  if (fraction > 0.5) return lower + 1;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2) == 0 ? lower : lower + 1;
}

// VbError 6 when the rounded value does not fit (NaN never fits).
template <typename Int>
Int RoundToInteger(const Variant& v, double lowest, double highest) {
  if (v.type() == VarType::kInteger || v.type() == VarType::kLong) {
    const int64_t exact = v.type() == VarType::kInteger ? v.AsInteger() : v.AsLong();
    if (exact < lowest || exact > highest) throw VbError(6);
    return static_cast<Int>(exact);
  }
  const double rounded = RoundHalfEven(detail::NumberOf(v));
  if (!(rounded >= lowest && rounded <= highest)) throw VbError(6);
  return static_cast<Int>(rounded);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool BoolFromText(std::string_view text) {
  const std::string word = text::Trim(text);
  const Regional& regional = CurrentRegional();
  // The German and English words are both accepted, whatever the regional settings say.
  for (std::string_view yes :
       {std::string_view(regional.true_text), std::string_view("True"), std::string_view("Wahr")}) {
    if (EqualsIgnoringAsciiCase(word, yes)) return true;
  }
  for (std::string_view no : {std::string_view(regional.false_text), std::string_view("False"),
                              std::string_view("Falsch")}) {
    if (EqualsIgnoringAsciiCase(word, no)) return false;
  }
  return detail::NumberOf(Variant(text)) != 0;
}

double CheckedSerial(double serial) {
  if (!detail::InDateRange(serial)) throw VbError(6);
  return serial;
}

}  // namespace

std::string CStr(const Variant& v) {
  switch (v.type()) {
    case VarType::kEmpty:
      return std::string();
    case VarType::kBoolean:
      return v.AsBool() ? CurrentRegional().true_text : CurrentRegional().false_text;
    case VarType::kInteger:
      return std::to_string(v.AsInteger());
    case VarType::kLong:
      return std::to_string(v.AsLong());
    case VarType::kDouble:
      return detail::DoubleToText(v.AsDouble());
    case VarType::kDate:
      return detail::DateToText(v.AsDate());
    case VarType::kString:
      return std::string(v.AsString());
    case VarType::kNull:
    case VarType::kMissing:
      break;
  }
  detail::RequireValue(v);
  throw VbError(13);
}

double CDbl(const Variant& v) { return detail::NumberOf(v); }

int32_t CLng(const Variant& v) { return RoundToInteger<int32_t>(v, -2147483648.0, 2147483647.0); }

int16_t CInt(const Variant& v) { return RoundToInteger<int16_t>(v, -32768.0, 32767.0); }

double CDate(const Variant& v) {
  if (v.IsDate()) return v.AsDate();
  if (v.IsString()) {
    double serial = 0;
    if (!detail::ParseDateText(v.AsString(), &serial)) throw VbError(13);
    return serial;
  }
  return CheckedSerial(detail::NumberOf(v));
}

bool CBool(const Variant& v) {
  if (v.IsString()) return BoolFromText(v.AsString());
  if (v.IsBoolean()) return v.AsBool();
  return detail::NumberOf(v) != 0;
}

bool IsNumeric(const Variant& v) {
  switch (v.type()) {
    case VarType::kEmpty:
    case VarType::kBoolean:
    case VarType::kInteger:
    case VarType::kLong:
    case VarType::kDouble:
      return true;
    case VarType::kString: {
      double ignored = 0;
      return detail::ParseNumberText(v.AsString(), &ignored) == detail::NumberTextResult::kNumber;
    }
    case VarType::kNull:
    case VarType::kMissing:
    case VarType::kDate:
      return false;  // the platform does not count a Date as numeric
  }
  return false;
}

bool IsDate(const Variant& v) {
  if (v.IsDate()) return true;
  double ignored = 0;
  return v.IsString() && detail::ParseDateText(v.AsString(), &ignored);
}

double Int(double x) { return std::floor(x); }
double Fix(double x) { return std::trunc(x); }

namespace {

// Int and Fix keep the kind of their argument as the platform does: whole-number kinds stay,
// Empty and Boolean become Integer, text becomes Double, Null stays Null.
template <typename Round>
Variant RoundKeepingKind(const Variant& v, Round round) {
  switch (v.type()) {
    case VarType::kNull:
      return Variant::Null();
    case VarType::kEmpty:
      return Variant(int16_t{0});
    case VarType::kBoolean:
      return Variant(static_cast<int16_t>(v.AsBool() ? -1 : 0));
    case VarType::kInteger:
    case VarType::kLong:
      return v;
    case VarType::kDate:
      return Variant::Date(round(v.AsDate()));
    default:
      return Variant(round(detail::NumberOf(v)));
  }
}

}  // namespace

Variant Int(const Variant& v) {
  return RoundKeepingKind(v, [](double x) { return Int(x); });
}
Variant Fix(const Variant& v) {
  return RoundKeepingKind(v, [](double x) { return Fix(x); });
}

}  // namespace lastora
