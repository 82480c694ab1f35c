// The process-wide spreadsheet program.
#include "import/reader_spreadsheet_app.h"
#include "lastora/spreadsheet_app.h"
#include "platform/port_slot.h"

namespace lastora {
namespace {

detail::PortSlot<SpreadsheetApp, ReaderSpreadsheetApp>& SpreadsheetSlot() {
  static detail::PortSlot<SpreadsheetApp, ReaderSpreadsheetApp> slot;
  return slot;
}

}  // namespace

std::shared_ptr<SpreadsheetApp> GetSpreadsheetApp() { return SpreadsheetSlot().Get(); }

std::shared_ptr<SpreadsheetApp> SetSpreadsheetApp(std::shared_ptr<SpreadsheetApp> app) {
  return SpreadsheetSlot().Set(std::move(app));
}

}  // namespace lastora
