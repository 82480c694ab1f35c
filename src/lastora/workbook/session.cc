#include "lastora/session.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "lastora/variant.h"

namespace lastora {
namespace {

constexpr const char* kHomeVariable = "LASTORA_HOME";

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

ScopedSession::ScopedSession(const SessionOptions& options, std::shared_ptr<Dialogs> dialogs) {
  if (!options.now.empty()) {
    const std::optional<double> now = ParseNow(options.now);
    if (!now) throw std::invalid_argument("kein Zeitpunkt JJJJ-MM-TT hh:mm:ss: " + options.now);
    previous_clock_ = SetClock(std::make_shared<FixedClock>(*now));
    clock_set_ = true;
  }
  previous_dialogs_ = SetDialogs(std::move(dialogs));
  if (!options.home.empty()) home_.emplace(options.home);
}

ScopedSession::~ScopedSession() {
  if (clock_set_) SetClock(previous_clock_);
  SetDialogs(previous_dialogs_);
}

ScopedHome::ScopedHome(const std::string& folder) {
  if (const char* home = std::getenv(kHomeVariable)) previous_ = home;
  const std::string absolute = std::filesystem::absolute(folder).string();
  setenv(kHomeVariable, absolute.c_str(), 1);
}

ScopedHome::~ScopedHome() {
  if (previous_) {
    setenv(kHomeVariable, previous_->c_str(), 1);
  } else {
    unsetenv(kHomeVariable);
  }
}

}  // namespace lastora
