// The options every command shares and the platform they set up for one run of the program:
// the clock, the dialogs and the program folder.
#ifndef LASTORA_CLI_SESSION_H_
#define LASTORA_CLI_SESSION_H_

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "lastora/platform.h"

namespace lastora::cli {

struct GlobalOptions {
  std::string now;   // "YYYY-MM-DD hh:mm:ss": a fixed clock for reproducible files
  bool yes = false;  // answer every dialog with its default
  std::string home;  // the program folder (log folder, templates)
};

// The date serial of a --now text; nullopt when it is not "YYYY-MM-DD[ hh:mm[:ss]]".
std::optional<double> ParseNow(const std::string& text);

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

// Installs the options' clock, dialogs and program folder; puts the previous ones back when it
// ends, so an in-process caller finds its platform as it left it.
class ScopedSession {
 public:
  ScopedSession(const GlobalOptions& options, std::ostream& err);
  ~ScopedSession();
  ScopedSession(const ScopedSession&) = delete;
  ScopedSession& operator=(const ScopedSession&) = delete;

 private:
  std::shared_ptr<Clock> previous_clock_;
  bool clock_set_ = false;
  std::shared_ptr<Dialogs> previous_dialogs_;
  std::optional<ScopedHome> home_;
};

}  // namespace lastora::cli

#endif  // LASTORA_CLI_SESSION_H_
