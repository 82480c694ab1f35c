#include "core/calendar.h"

#include <algorithm>
#include <cmath>

#include "lastora/variant.h"
#include "lastora/vb_error.h"

namespace lastora::detail {

namespace {

// Days from 1970-01-01 to 1899-12-30 counted backwards.
constexpr int64_t kUnixEpochSerial = 25569;
constexpr int64_t kSecondsPerDay = 86400;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

struct Civil {
  int64_t year;
  int month;
  int day;
};

// The proleptic Gregorian calendar by eras of 400 years (H. Hinnant's day algorithms).
Civil CivilFromDay(int64_t day_serial) {
  const int64_t z = day_serial - kUnixEpochSerial + 719468;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2), month, day};
}

bool IsLeap(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

int64_t DayFromCivil(int64_t year, int month, int day) {
  const int64_t y = year - (month <= 2);
  const int64_t era = FloorDiv(y, 400);
  const int64_t yoe = y - era * 400;
  const int64_t mp = month > 2 ? month - 3 : month + 9;
  const int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + kUnixEpochSerial;
}

int DaysInMonth(int64_t year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

bool IsValidCivil(int64_t year, int month, int day) {
  return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

bool InDateRange(double serial) {
  return std::isfinite(serial) && serial > static_cast<double>(kFirstDay - 1) &&
         serial < static_cast<double>(kLastDay + 1);
}

DateParts SplitSerial(double serial) {
  if (!InDateRange(serial)) throw VbError(6);
  DateParts parts;
  parts.day_serial = static_cast<int64_t>(std::trunc(serial));
  const double time = std::fabs(serial - static_cast<double>(parts.day_serial));
  int64_t seconds = std::llround(time * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {
    // Rounded up to the next midnight: the next day away from the epoch.
    seconds -= kSecondsPerDay;
    parts.day_serial += serial < 0 ? -1 : 1;
  }
  const Civil civil = CivilFromDay(parts.day_serial);
  parts.year = static_cast<int>(civil.year);
  parts.month = civil.month;
  parts.day = civil.day;
  parts.hour = static_cast<int>(seconds / 3600);
  parts.minute = static_cast<int>(seconds / 60 % 60);
  parts.second = static_cast<int>(seconds % 60);
  return parts;
}

double JoinSerial(int64_t day_serial, double time) {
  const auto day = static_cast<double>(day_serial);
  return day_serial < 0 ? day - time : day + time;
}

}  // namespace lastora::detail

namespace lastora {

namespace {

using detail::DateParts;
using detail::SplitSerial;

// Whole days of the serial from its own year, month and day; VbError 5 outside the range.
double CheckedDay(int64_t year, int month, int day) {
  const int64_t day_serial = detail::DayFromCivil(year, month, 1) + (static_cast<int64_t>(day) - 1);
  if (day_serial < detail::kFirstDay || day_serial > detail::kLastDay) throw VbError(5);
  return static_cast<double>(day_serial);
}

}  // namespace

double MakeDate(int year, int month, int day) {
  int64_t y = year;
  // Two-digit years follow the platform's window, as DateSerial does.
  if (y >= 0 && y <= 29) y += 2000;
  if (y >= 30 && y <= 99) y += 1900;
  const int64_t months = y * 12 + (static_cast<int64_t>(month) - 1);
  const int64_t normal_year = months >= 0 ? months / 12 : -((11 - months) / 12);
  const int normal_month = static_cast<int>(months - normal_year * 12) + 1;
  if (normal_year < 0 || normal_year > 10000) throw VbError(5);
  return CheckedDay(normal_year, normal_month, day);
}

double MakeTime(int hour, int minute, int second) {
  const int64_t seconds =
      static_cast<int64_t>(hour) * 3600 + static_cast<int64_t>(minute) * 60 + second;
  return static_cast<double>(seconds) / 86400.0;
}

int Year(double serial) { return SplitSerial(serial).year; }
int Month(double serial) { return SplitSerial(serial).month; }
int Day(double serial) { return SplitSerial(serial).day; }
int Hour(double serial) { return SplitSerial(serial).hour; }
int Minute(double serial) { return SplitSerial(serial).minute; }
int Second(double serial) { return SplitSerial(serial).second; }

double AddMonths(double serial, int months) {
  if (!detail::InDateRange(serial)) throw VbError(5);
  // The time of day is carried over unrounded; only the calendar day moves.
  const double whole = std::trunc(serial);
  const double time = std::fabs(serial - whole);
  const DateParts parts = SplitSerial(whole);
  const int64_t total = static_cast<int64_t>(parts.year) * 12 + (parts.month - 1) + months;
  const int64_t year = total / 12;
  const int month = static_cast<int>(total % 12) + 1;
  if (year < 100 || year > 9999) throw VbError(5);
  const int day = std::min(parts.day, detail::DaysInMonth(year, month));
  return detail::JoinSerial(static_cast<int64_t>(CheckedDay(year, month, day)), time);
}

}  // namespace lastora
