// Fuzz targets that drive the import must never stop for a question: every dialog is answered
// with its default, silently.
#ifndef LASTORA_FUZZ_SILENT_DIALOGS_H_
#define LASTORA_FUZZ_SILENT_DIALOGS_H_

#include <memory>
#include <string>

#include "lastora/platform.h"

namespace lastora::fuzz {

class SilentDialogs : public Dialogs {
 public:
  int MessageBox(const std::string&, int, const std::string&) override { return kVbOK; }
  std::string InputBox(const std::string&, const std::string&,
                       const std::string& default_text) override {
    return default_text;
  }
};

// Installs the silent dialogs once per process.
inline void SilenceDialogs() {
  static const bool installed = [] {
    SetDialogs(std::make_shared<SilentDialogs>());
    return true;
  }();
  (void)installed;
}

}  // namespace lastora::fuzz

#endif  // LASTORA_FUZZ_SILENT_DIALOGS_H_
