// The Windows adapters of the ports: the platform's own dialogs, clock, XML parser and
// spreadsheet program.
#ifndef LASTORA_PLATFORM_WIN32_WIN32_ADAPTERS_H_
#define LASTORA_PLATFORM_WIN32_WIN32_ADAPTERS_H_

#include "lastora/office.h"
#include "lastora/platform.h"
#include "lastora/spreadsheet_app.h"

namespace lastora {

class Win32Dialogs : public Dialogs {
 public:
  int MessageBox(const std::string& prompt, int style, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& default_text) override;
};

class Win32Clock : public Clock {
 public:
  double Now() override;
};

// MSXML 6.0 through COM; well-formedness only (no validation, no external resources).
class MsxmlParser : public XmlParser {
 public:
  Result LoadFile(const std::string& path) override;
};

// Excel through automation; throws VbError 429 when Excel cannot be started.
class ExcelSpreadsheetApp : public SpreadsheetApp {
 public:
  std::unique_ptr<SpreadsheetWorkbook> Open(const std::string& path) override;
};

// Word and Excel automation for the mail merge is not built yet: until it is, a mail merge on
// Windows ends with the failure the run reports when the office programs cannot be started.
class UnavailableOffice : public Office {
 public:
  std::unique_ptr<OfficeDocument> Open(const std::string& path, DocumentKind kind) override;
  void SetStatusText(const std::string&) override {}
  void Quit() override {}
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_WIN32_WIN32_ADAPTERS_H_
