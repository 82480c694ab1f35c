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

// Plain documents pass a quick scan; libxml2 parses the rest and words the reasons.
class LibXml2Parser : public XmlParser {
 public:
  Result LoadFile(const std::string& path) override;
  Result LoadFileBytes(const std::string& path, std::string_view bytes) override;
  // libxml2's own verdict, without the quick scan, which must never contradict it.
  static Result Parse(std::string_view bytes);
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_POSIX_POSIX_ADAPTERS_H_
