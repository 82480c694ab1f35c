// Ports: everything besides plain files that touches the outside world. Each port has a POSIX
// adapter installed by default; tests and front ends replace them process-wide.
#ifndef LASTORA_PLATFORM_H_
#define LASTORA_PLATFORM_H_

#include <memory>
#include <string>

#include "lastora/export.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

// The platform's message box and input box.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // style: the platform's message-box style number (16 critical, 48 exclamation, 64 information,
  // 32 question, 4 Yes/No, 1 OK/Cancel, 16384 Help). An empty title means the platform's default.
  // Returns the button pressed: 1 OK, 2 Cancel, 6 Yes, 7 No.
  virtual int MessageBox(const std::string& prompt, int style, const std::string& title) = 0;
  // Returns the text entered, or "" when the user cancels.
  virtual std::string InputBox(const std::string& prompt, const std::string& title,
                               const std::string& default_text) = 0;
};

// Message-box buttons and styles.
inline constexpr int kVbOK = 1;
inline constexpr int kVbCancel = 2;
inline constexpr int kVbYes = 6;
inline constexpr int kVbNo = 7;

class Clock {
 public:
  virtual ~Clock() = default;
  // Local date and time as a date serial (days since 1899-12-30, fraction = time of day).
  virtual double Now() = 0;
};

// The XML parser that tests a file for well-formedness.
class XmlParser {
 public:
  virtual ~XmlParser() = default;
  struct Result {
    bool ok = true;
    std::string reason;  // the parser's reason, when not ok
    long line = 0;       // the line of the fault, when not ok
  };
  virtual Result LoadFile(const std::string& path) = 0;
};

// Process-wide ports. Never null: the POSIX adapters stand in until something else is installed.
// The caller shares ownership, so a port replaced by another thread stays usable while held:
// `GetClock()->Now()` keeps the clock alive for the call.
std::shared_ptr<Dialogs> GetDialogs();
std::shared_ptr<Clock> GetClock();
std::shared_ptr<XmlParser> GetXmlParser();

// Install a port; returns the one it replaces (so a test can put it back). nullptr restores the
// default adapter.
std::shared_ptr<Dialogs> SetDialogs(std::shared_ptr<Dialogs> dialogs);
std::shared_ptr<Clock> SetClock(std::shared_ptr<Clock> clock);
std::shared_ptr<XmlParser> SetXmlParser(std::shared_ptr<XmlParser> parser);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_PLATFORM_H_
