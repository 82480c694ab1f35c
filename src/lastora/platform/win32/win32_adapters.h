// The Windows adapters of the ports: the platform's own dialogs, clock, XML parser, spreadsheet
// program and office programs.
#ifndef LASTORA_PLATFORM_WIN32_WIN32_ADAPTERS_H_
#define LASTORA_PLATFORM_WIN32_WIN32_ADAPTERS_H_

#include "lastora/platform.h"
#include "lastora/spreadsheet_app.h"
#include "platform/win32/automation_office.h"

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

}  // namespace lastora

#endif  // LASTORA_PLATFORM_WIN32_WIN32_ADAPTERS_H_
