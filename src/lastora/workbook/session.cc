#include "lastora/session.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace lastora {
namespace {

constexpr const char* kHomeVariable = "LASTORA_HOME";

}  // namespace

ScopedSession::ScopedSession(const SessionOptions& options, std::shared_ptr<Dialogs> dialogs) {
  if (!options.now.empty()) {
    const std::optional<double> now = ParseNow(options.now);
    if (!now) throw std::invalid_argument("kein Zeitpunkt JJJJ-MM-TT hh:mm:ss: " + options.now);
    previous_clock_ = SetClock(MakeFixedClock(*now));
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
