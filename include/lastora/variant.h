// Variant: the platform's dynamically typed cell value, and the conversions between its kinds
// under the regional settings (German by default: decimal comma, "DD.MM.YYYY").
#ifndef LASTORA_VARIANT_H_
#define LASTORA_VARIANT_H_

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "lastora/export.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

enum class VarType : uint8_t {
  kEmpty,
  kNull,
  kMissing,
  kBoolean,
  kInteger,
  kLong,
  kDouble,
  kDate,
  kString
};

// A date is the platform's serial: days since 1899-12-30, the fraction being the time of day.
struct DateSerial {
  double value = 0;
};

// Sixteen bytes: result tables of 100,000 rows hold millions of cells, most of them empty or short,
// and every byte of a cell is memory that a run has to touch. A text of up to 14 bytes is kept in
// the cell itself, a longer one in a block of its own.
class alignas(8) Variant {
 public:
  Variant() = default;                                     // Empty
  Variant(bool b) { Set(VarType::kBoolean, b); }           // NOLINT: implicit like the platform
  Variant(int16_t i) { Set(VarType::kInteger, i); }        // NOLINT: Integer
  Variant(int32_t l) { Set(VarType::kLong, l); }           // NOLINT: Long
  Variant(double d) { Set(VarType::kDouble, d); }          // NOLINT: Double
  Variant(DateSerial d) { Set(VarType::kDate, d.value); }  // NOLINT: Date
  Variant(std::string_view s) { SetText(s); }              // NOLINT: String
  Variant(const std::string& s) { SetText(s); }            // NOLINT: String
  Variant(const char* s) { SetText(s); }                   // NOLINT: String

  Variant(const Variant& other);
  Variant(Variant&& other) noexcept : bytes_(other.bytes_) { other.bytes_ = {}; }
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept {
    if (this != &other) {
      Release();
      bytes_ = other.bytes_;
      other.bytes_ = {};
    }
    return *this;
  }
  ~Variant() { Release(); }

  static Variant Null() { return Variant(VarType::kNull); }
  static Variant Missing() { return Variant(VarType::kMissing); }
  static Variant Date(double serial) { return Variant(DateSerial{serial}); }

  // Inline: every cell of every row asks this first.
  VarType type() const { return static_cast<VarType>(bytes_[kTypeByte]); }
  bool IsEmpty() const { return type() == VarType::kEmpty; }
  bool IsNull() const { return type() == VarType::kNull; }
  bool IsMissing() const { return type() == VarType::kMissing; }
  bool IsString() const { return type() == VarType::kString; }
  bool IsDate() const { return type() == VarType::kDate; }
  bool IsBoolean() const { return type() == VarType::kBoolean; }
  // Integer, Long or Double (the numeric kinds; Boolean and Date are not counted here).
  bool IsNumber() const;

  // Direct access; throws VbError 13 when the kind does not match. The text is valid while the
  // cell holds it.
  bool AsBool() const;
  int16_t AsInteger() const;
  int32_t AsLong() const;
  double AsDouble() const;
  double AsDate() const;
  std::string_view AsString() const;

 private:
  // Byte 0 holds the kind, byte 1 the length of a text kept in place (or kLongText), bytes 2 to 15
  // that text; a value or the address of a long text lies in bytes 8 to 15.
  static constexpr size_t kSize = 16;
  static constexpr size_t kTypeByte = 0;
  static constexpr size_t kShortSizeByte = 1;
  static constexpr size_t kShortTextByte = 2;
  static constexpr size_t kPayloadByte = 8;
  static constexpr size_t kLongestShortText = kSize - kShortTextByte;
  static constexpr unsigned char kLongText = 0xFF;

  explicit Variant(VarType kind) { bytes_[kTypeByte] = static_cast<unsigned char>(kind); }
  template <typename T>
  void Set(VarType kind, T value) {
    bytes_[kTypeByte] = static_cast<unsigned char>(kind);
    std::memcpy(bytes_.data() + kPayloadByte, &value, sizeof value);
  }
  template <typename T>
  T Get() const {
    T value;
    std::memcpy(&value, bytes_.data() + kPayloadByte, sizeof value);
    return value;
  }
  template <typename T>
  T GetChecked(VarType kind) const;  // VbError 13 for another kind
  bool HoldsLongText() const {
    return type() == VarType::kString && bytes_[kShortSizeByte] == kLongText;
  }
  void SetText(std::string_view text);
  void Release() noexcept {
    if (HoldsLongText()) ReleaseLongText();
  }
  void ReleaseLongText() noexcept;

  std::array<unsigned char, kSize> bytes_{};
};
static_assert(sizeof(Variant) == 16);

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

// --- Regional settings (per thread; German unless a test or front end changes them).
struct Regional {
  char decimal_separator = ',';
  char grouping_separator = '.';
  std::string true_text = "Wahr";
  std::string false_text = "Falsch";
};
const Regional& CurrentRegional();
void SetRegional(const Regional& regional);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_VARIANT_H_
