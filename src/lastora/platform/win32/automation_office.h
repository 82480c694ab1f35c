// Word and Excel through automation, for the mail merge. Each program is started when the run
// first needs it and at most once per run; Quit ends both, whatever happened before.
#ifndef LASTORA_PLATFORM_WIN32_AUTOMATION_OFFICE_H_
#define LASTORA_PLATFORM_WIN32_AUTOMATION_OFFICE_H_

#include <memory>
#include <string>

#include "lastora/office.h"

namespace lastora {

class AutomationOffice : public Office {
 public:
  AutomationOffice();
  AutomationOffice(const AutomationOffice&) = delete;
  AutomationOffice& operator=(const AutomationOffice&) = delete;
  ~AutomationOffice() override;

  // VbError 429 when the program cannot be started, as a script's CreateObject reports it.
  std::unique_ptr<OfficeDocument> Open(const std::string& path, DocumentKind kind) override;
  void SetStatusText(const std::string& text) override;
  void Quit() override;

 private:
  // The running programs; kept out of this header, which the platform's other adapters share
  // without the system's headers.
  struct Programs;
  std::unique_ptr<Programs> programs_;
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_WIN32_AUTOMATION_OFFICE_H_
