// The process-wide spreadsheet program.
#include "lastora/spreadsheet_app.h"
#include "platform/default_adapters.h"
#include "platform/port_slot.h"

namespace lastora {
namespace {

detail::PortSlot<SpreadsheetApp, detail::DefaultSpreadsheetApp>& SpreadsheetSlot() {
  static detail::PortSlot<SpreadsheetApp, detail::DefaultSpreadsheetApp> slot;
  return slot;
}

}  // namespace

std::shared_ptr<SpreadsheetApp> GetSpreadsheetApp() { return SpreadsheetSlot().Get(); }

std::shared_ptr<SpreadsheetApp> SetSpreadsheetApp(std::shared_ptr<SpreadsheetApp> app) {
  return SpreadsheetSlot().Set(std::move(app));
}

}  // namespace lastora
