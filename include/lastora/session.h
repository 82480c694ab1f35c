// The platform a caller sets up around its runs: the clock, the dialogs and the program folder.
#ifndef LASTORA_SESSION_H_
#define LASTORA_SESSION_H_

#include <memory>
#include <optional>
#include <string>

#include "lastora/export.h"
#include "lastora/fixed_clock.h"
#include "lastora/platform.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

struct SessionOptions {
  std::string
      now;  // "YYYY-MM-DD hh:mm:ss": a fixed clock for reproducible files; empty: the system's
  std::string home;  // the program folder (log folder, templates); empty: as found
};

// Points GetAppPath at a folder (through LASTORA_HOME) for its lifetime.
class ScopedHome {
 public:
  explicit ScopedHome(const std::string& folder);
  ~ScopedHome();
  ScopedHome(const ScopedHome&) = delete;
  ScopedHome& operator=(const ScopedHome&) = delete;

 private:
  std::optional<std::string> previous_;
};

// Installs the options' clock and program folder and the caller's dialogs; puts the previous ones
// back when it ends, so an in-process caller finds its platform as it left it. A `now` that
// ParseNow does not take is std::invalid_argument.
class ScopedSession {
 public:
  ScopedSession(const SessionOptions& options, std::shared_ptr<Dialogs> dialogs);
  ~ScopedSession();
  ScopedSession(const ScopedSession&) = delete;
  ScopedSession& operator=(const ScopedSession&) = delete;

 private:
  std::shared_ptr<Clock> previous_clock_;
  bool clock_set_ = false;
  std::shared_ptr<Dialogs> previous_dialogs_;
  std::optional<ScopedHome> home_;
};

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_SESSION_H_
