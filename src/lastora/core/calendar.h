// Date serials: days since 1899-12-30, the fraction the time of day. For serials before that day
// the platform reads the day towards zero and the fraction as a positive time (-1.25 is
// 29.12.1899 06:00).
#ifndef LASTORA_CORE_CALENDAR_H_
#define LASTORA_CORE_CALENDAR_H_

#include <cstdint>

namespace lastora::detail {

// The platform's date range: 01.01.0100 to 31.12.9999.
inline constexpr int64_t kFirstDay = -657434;
inline constexpr int64_t kLastDay = 2958465;

int64_t DayFromCivil(int64_t year, int month, int day);
bool IsValidCivil(int64_t year, int month, int day);
int DaysInMonth(int64_t year, int month);

struct DateParts {
  int64_t day_serial = 0;  // whole days, after rounding the time to the second
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool HasTime() const { return hour != 0 || minute != 0 || second != 0; }
};

// VbError 6 for a serial outside the platform's range (or not a number).
DateParts SplitSerial(double serial);
bool InDateRange(double serial);

// The serial of a whole day and a time of day in [0, 1).
double JoinSerial(int64_t day_serial, double time);

}  // namespace lastora::detail

#endif  // LASTORA_CORE_CALENDAR_H_
