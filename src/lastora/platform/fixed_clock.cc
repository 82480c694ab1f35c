#include "lastora/fixed_clock.h"

#include <cstdio>

#include "lastora/variant.h"

namespace lastora {
namespace {

class FixedClock : public Clock {
 public:
  explicit FixedClock(double now) : now_(now) {}
  double Now() override { return now_; }

 private:
  double now_;
};

}  // namespace

std::optional<double> ParseNow(const std::string& text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  char tail = 0;
  const int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day,
                                 &hour, &minute, &second, &tail);
  if (fields != 3 && fields != 5 && fields != 6) return std::nullopt;
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59 ||
      hour < 0 || minute < 0 || second < 0 || year < 1900) {
    return std::nullopt;
  }
  const double date = MakeDate(year, month, day);
  if (Day(date) != day) return std::nullopt;
  return date + MakeTime(hour, minute, second);
}

std::shared_ptr<Clock> MakeFixedClock(double now) { return std::make_shared<FixedClock>(now); }

}  // namespace lastora
