#include "lastora/collection_date.h"

#include <cmath>

#include "component/catalogue.h"
#include "component/message_ids.h"
#include "core/calendar.h"
#include "core/text.h"
#include "lastora/variant.h"

namespace lastora {
namespace {

// Easter Sunday of the Gregorian calendar (the anonymous algorithm of 1876).
int64_t EasterSunday(int year) {
  const int a = year % 19, b = year / 100, c = year % 100, d = b / 4, e = b % 4;
  const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
  const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
  const int m = (a + 11 * h + 22 * l) / 451;
  const int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
  return detail::DayFromCivil(year, month, day);
}

std::string DayText(int64_t day) {
  return Format(Variant::Date(static_cast<double>(day)), "DD.MM.YYYY");
}

// A date setting as a whole day; false when it is none.
bool DayOf(const SEPAVALUES& setting, int64_t* day) {
  const Variant value(text::Trim(setting.Value));
  if (setting.Value.empty() || !IsDate(value)) return false;
  *day = static_cast<int64_t>(std::floor(CDate(value)));
  return true;
}

}  // namespace

bool IsTarget2BusinessDay(int64_t day) {
  // Day 0, 30.12.1899, was a Saturday.
  const int64_t weekday = ((day % 7) + 7) % 7;
  if (weekday == 0 || weekday == 1) return false;
  const detail::DateParts parts = detail::SplitSerial(static_cast<double>(day));
  const int64_t easter = EasterSunday(parts.year);
  if (day == easter - 2 || day == easter + 1) return false;
  const int md = parts.month * 100 + parts.day;
  return md != 101 && md != 501 && md != 1225 && md != 1226;
}

int64_t EarliestCollectionDay(int64_t today, bool credit_transfer) {
  int64_t day = today;
  while (!IsTarget2BusinessDay(day)) ++day;
  if (credit_transfer) return day;
  // The business day on which the bank has the file must lie before the due date.
  ++day;
  while (!IsTarget2BusinessDay(day)) ++day;
  return day;
}

CollectionDateCheck CheckCollectionDate(const SEPAVARIABLEN& settings, double now) {
  CollectionDateCheck check;
  int64_t date = 0;
  if (!DayOf(settings.SepaADAT, &date)) return check;
  const auto today = static_cast<int64_t>(std::floor(now));
  const bool credit_transfer = text::Trim(settings.SepaAART.Value) == Message(msg::kCreditTransfer);
  const int64_t earliest = EarliestCollectionDay(today, credit_transfer);
  if (date < earliest) {
    check.stop = "SepaADAT " + DayText(date) +
                 (date < today      ? " liegt in der Vergangenheit"
                  : credit_transfer ? " ist kein TARGET2-Geschäftstag"
                                    : " ist zu früh: Lastschriften brauchen einen "
                                      "TARGET2-Geschäftstag Vorlauf") +
                 "; frühestens möglich ist der " + DayText(earliest);
  }
  int64_t first = 0, last = 0;
  if (DayOf(settings.SepaDAT1, &first) && DayOf(settings.SepaDAT2, &last) &&
      (date < first || date > last)) {
    check.warning = "SepaADAT " + DayText(date) + " liegt außerhalb des Abrechnungszeitraums " +
                    DayText(first) + " bis " + DayText(last) + " (SepaDAT1, SepaDAT2)";
  }
  return check;
}

}  // namespace lastora
