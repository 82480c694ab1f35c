#include "core/date_text.h"

#include "core/calendar.h"

namespace lastora::detail {

namespace {

// A cursor over the text; every reader leaves it unchanged when it does not match.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ == text_.size(); }

  // 1 to max_digits digits; *count receives how many were read.
  bool Number(int max_digits, int* value, int* count = nullptr) {
    size_t end = pos_;
    int result = 0;
    while (end < text_.size() && end - pos_ < static_cast<size_t>(max_digits) &&
           text_[end] >= '0' && text_[end] <= '9') {
      result = result * 10 + (text_[end] - '0');
      ++end;
    }
    // A longer run of digits is not a field of this width.
    if (end == pos_ || (end < text_.size() && text_[end] >= '0' && text_[end] <= '9')) {
      return false;
    }
    if (count != nullptr) *count = static_cast<int>(end - pos_);
    pos_ = end;
    *value = result;
    return true;
  }

  bool Char(char c) {
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  bool Blanks() {
    const size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    return pos_ > start;
  }

  char Peek(size_t ahead) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : 0; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// Two-digit years: 00-29 are 20xx, 30-99 are 19xx.
int WindowYear(int year, int digits) {
  if (digits > 2) return year;
  return year < 30 ? 2000 + year : 1900 + year;
}

bool ReadTime(Reader& r, double* time) {
  int hour = 0, minute = 0, second = 0;
  if (!r.Number(2, &hour) || !r.Char(':') || !r.Number(2, &minute)) return false;
  if (r.Char(':') && !r.Number(2, &second)) return false;
  if (hour > 23 || minute > 59 || second > 59) return false;
  *time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  return true;
}

bool ReadGermanDate(Reader& r, int64_t* day_serial) {
  int day = 0, month = 0, year = 0, year_digits = 0;
  if (!r.Number(2, &day) || !r.Char('.') || !r.Number(2, &month) || !r.Char('.') ||
      !r.Number(4, &year, &year_digits)) {
    return false;
  }
  year = WindowYear(year, year_digits);
  if (!IsValidCivil(year, month, day)) return false;
  *day_serial = DayFromCivil(year, month, day);
  return true;
}

bool ReadIsoDate(Reader& r, int64_t* day_serial) {
  int day = 0, month = 0, year = 0, year_digits = 0;
  if (!r.Number(4, &year, &year_digits) || year_digits != 4 || !r.Char('-') ||
      !r.Number(2, &month) || !r.Char('-') || !r.Number(2, &day)) {
    return false;
  }
  if (!IsValidCivil(year, month, day)) return false;
  *day_serial = DayFromCivil(year, month, day);
  return true;
}

// Which form the text has, from the separator behind its first run of digits.
char FirstSeparator(const Reader& r) {
  for (size_t ahead = 0;; ++ahead) {
    const char c = r.Peek(ahead);
    if (c < '0' || c > '9') return c;
  }
}

}  // namespace

bool ParseDateText(std::string_view text, double* serial) {
  Reader r(text);
  r.Blanks();
  int64_t day_serial = 0;
  double time = 0;
  const char separator = FirstSeparator(r);
  if (separator == ':') {
    if (!ReadTime(r, &time)) return false;
  } else {
    const bool date = separator == '.' ? ReadGermanDate(r, &day_serial)
                                       : separator == '-' && ReadIsoDate(r, &day_serial);
    if (!date) return false;
    // A time must be separated from the date by a blank.
    if (r.Blanks() && !r.AtEnd() && !ReadTime(r, &time)) return false;
  }
  r.Blanks();
  if (!r.AtEnd()) return false;
  *serial = JoinSerial(day_serial, time);
  return true;
}

void AppendPadded(std::string& out, int value, int width) {
  char digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0);
  for (int i = count; i < width; ++i) out.push_back('0');
  while (count > 0) out.push_back(digits[--count]);
}

std::string DateToText(double serial) {
  const DateParts parts = SplitSerial(serial);
  std::string out;
  out.reserve(19);
  if (parts.day_serial != 0) {
    AppendPadded(out, parts.day, 2);
    out.push_back('.');
    AppendPadded(out, parts.month, 2);
    out.push_back('.');
    AppendPadded(out, parts.year, 4);
    if (!parts.HasTime()) return out;
    out.push_back(' ');
  }
  AppendPadded(out, parts.hour, 2);
  out.push_back(':');
  AppendPadded(out, parts.minute, 2);
  out.push_back(':');
  AppendPadded(out, parts.second, 2);
  return out;
}

}  // namespace lastora::detail
