// The adapters each port starts with on this platform, until a test or a front end replaces them.
#ifndef LASTORA_PLATFORM_DEFAULT_ADAPTERS_H_
#define LASTORA_PLATFORM_DEFAULT_ADAPTERS_H_

#ifdef _WIN32
#include "platform/win32/win32_adapters.h"
#else
#include "import/reader_spreadsheet_app.h"
#include "platform/libxml2/libxml2_parser.h"
#include "platform/posix/file_office.h"
#include "platform/posix/posix_adapters.h"
#endif

namespace lastora::detail {

#ifdef _WIN32
using DefaultDialogs = Win32Dialogs;
using DefaultClock = Win32Clock;
using DefaultXmlParser = MsxmlParser;
using DefaultSpreadsheetApp = ExcelSpreadsheetApp;
using DefaultOffice = AutomationOffice;
#else
using DefaultDialogs = StderrDialogs;
using DefaultClock = SystemClock;
using DefaultXmlParser = LibXml2Parser;
using DefaultSpreadsheetApp = ReaderSpreadsheetApp;
using DefaultOffice = FileOffice;
#endif

}  // namespace lastora::detail

#endif  // LASTORA_PLATFORM_DEFAULT_ADAPTERS_H_
