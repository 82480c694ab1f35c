// The POSIX adapters of the ports.
#ifndef LASTORA_PLATFORM_POSIX_POSIX_ADAPTERS_H_
#define LASTORA_PLATFORM_POSIX_POSIX_ADAPTERS_H_

#include "lastora/platform.h"

namespace lastora {

// Non-interactive: every dialog is written to stderr and answered with its default button
// (the first one) or its default text.
class StderrDialogs : public Dialogs {
 public:
  int MessageBox(const std::string& prompt, int style, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& default_text) override;
};

class SystemClock : public Clock {
 public:
  double Now() override;
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_POSIX_POSIX_ADAPTERS_H_
