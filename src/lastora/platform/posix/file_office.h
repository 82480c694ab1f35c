// The POSIX office: the system's own .docx/.xlsx engines; legacy .doc/.xls templates and
// printing through LibreOffice and the CUPS print command when they are installed.
#ifndef LASTORA_PLATFORM_POSIX_FILE_OFFICE_H_
#define LASTORA_PLATFORM_POSIX_FILE_OFFICE_H_

#include "lastora/office.h"

namespace lastora {

class FileOffice : public Office {
 public:
  std::unique_ptr<OfficeDocument> Open(const std::string& path, DocumentKind kind) override;
  // There is no status bar: the run's progress is not shown.
  void SetStatusText(const std::string&) override {}
  // Every program the engines start ends within the call that starts it.
  void Quit() override {}
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_POSIX_FILE_OFFICE_H_
