// Variant: the platform's dynamically typed cell value, and the conversions between its kinds
// under the regional settings (German by default: decimal comma, "DD.MM.YYYY").
#ifndef LASTORA_VARIANT_H_
#define LASTORA_VARIANT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace lastora {

enum class VarType { kEmpty, kNull, kMissing, kBoolean, kInteger, kLong, kDouble, kDate, kString };

// A date is the platform's serial: days since 1899-12-30, the fraction being the time of day.
struct DateSerial {
  double value = 0;
};

class Variant {
 public:
  Variant() = default;                                 // Empty
  Variant(bool b) : v_(b) {}                           // NOLINT: implicit like the platform
  Variant(int16_t i) : v_(i) {}                        // NOLINT: Integer
  Variant(int32_t l) : v_(l) {}                        // NOLINT: Long
  Variant(double d) : v_(d) {}                         // NOLINT: Double
  Variant(DateSerial d) : v_(d) {}                     // NOLINT: Date
  Variant(std::string s) : v_(std::move(s)) {}         // NOLINT: String
  Variant(std::string_view s) : v_(std::string(s)) {}  // NOLINT: String
  Variant(const char* s) : v_(std::string(s)) {}       // NOLINT: String

  static Variant Null() { return Variant(NullTag{}); }
  static Variant Missing() { return Variant(MissingTag{}); }
  static Variant Date(double serial) { return Variant(DateSerial{serial}); }

  // Inline: every cell of every row asks this first. The alternatives of v_ are declared in the
  // order of VarType.
  VarType type() const { return static_cast<VarType>(v_.index()); }
  bool IsEmpty() const { return type() == VarType::kEmpty; }
  bool IsNull() const { return type() == VarType::kNull; }
  bool IsMissing() const { return type() == VarType::kMissing; }
  bool IsString() const { return type() == VarType::kString; }
  bool IsDate() const { return type() == VarType::kDate; }
  bool IsBoolean() const { return type() == VarType::kBoolean; }
  // Integer, Long or Double (the numeric kinds; Boolean and Date are not counted here).
  bool IsNumber() const;

  // Direct access; throws VbError 13 when the kind does not match.
  bool AsBool() const;
  int16_t AsInteger() const;
  int32_t AsLong() const;
  double AsDouble() const;
  double AsDate() const;
  const std::string& AsString() const;

 private:
  struct NullTag {};
  struct MissingTag {};
  explicit Variant(NullTag t) : v_(t) {}
  explicit Variant(MissingTag t) : v_(t) {}
  friend bool SameKindAndValue(const Variant& a, const Variant& b);
  std::variant<std::monostate, NullTag, MissingTag, bool, int16_t, int32_t, double, DateSerial,
               std::string>
      v_;
};

// Exact equality of kind and value (for tests and tables, not the platform's "=").
bool SameKindAndValue(const Variant& a, const Variant& b);
inline bool operator==(const Variant& a, const Variant& b) { return SameKindAndValue(a, b); }

// --- Conversions under the regional settings; a failed conversion throws VbError (13, 6 or 94).
std::string CStr(const Variant& v);
double CDbl(const Variant& v);
int32_t CLng(const Variant& v);  // round half to even; 6 on overflow
int16_t CInt(const Variant& v);  // round half to even; 6 on overflow
double CDate(const Variant& v);  // date serial
bool CBool(const Variant& v);
bool IsNumeric(const Variant& v);
bool IsDate(const Variant& v);
double Int(double x);  // rounds towards minus infinity
double Fix(double x);  // rounds towards zero
Variant Int(const Variant& v);
Variant Fix(const Variant& v);

// Formats a value with one of the patterns the system uses: "0.00", "0", "0000", "DD.MM.YYYY",
// "DD.MM.YY", "YYYY-MM-DD", "hh:mm:ss", "YYYYMMDD", "YYYYMMDDhhmmss", "ddmmyy", "ddmmyyyy".
// Numbers round half away from zero; text is read as a number or a date first. Empty gives "".
// VbError 5 for another pattern, 13 for a value that is no number (no date), 94 for Null.
std::string Format(const Variant& v, std::string_view pattern);

// The platform's Variant comparison: numbers numerically, strings by code point, a number is less
// than a string, Empty is 0 against a number and "" against a string. Null compares as unknown:
// throws VbError 94.
int Compare(const Variant& a, const Variant& b);  // <0, 0, >0

// --- Dates.
double MakeDate(int year, int month, int day);  // serial; month/day overflow rolls like DateSerial
double MakeTime(int hour, int minute, int second);
int Year(double serial);
int Month(double serial);
int Day(double serial);
int Hour(double serial);
int Minute(double serial);
int Second(double serial);
// Adds whole months; the day is clamped to the last day of the target month (DateAdd "m").
double AddMonths(double serial, int months);

// --- Regional settings (process-wide; German unless a test or front end changes them).
struct Regional {
  char decimal_separator = ',';
  char grouping_separator = '.';
  std::string true_text = "Wahr";
  std::string false_text = "Falsch";
};
const Regional& CurrentRegional();
void SetRegional(const Regional& regional);

}  // namespace lastora

#endif  // LASTORA_VARIANT_H_
