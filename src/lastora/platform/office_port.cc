// The process-wide office and its default adapter.
#include "lastora/office.h"
#include "platform/default_adapters.h"
#include "platform/port_slot.h"

namespace lastora {
namespace {

detail::PortSlot<Office, detail::DefaultOffice>& OfficeSlot() {
  static detail::PortSlot<Office, detail::DefaultOffice> slot;
  return slot;
}

}  // namespace

std::shared_ptr<Office> GetOffice() { return OfficeSlot().Get(); }

std::shared_ptr<Office> SetOffice(std::shared_ptr<Office> office) {
  return OfficeSlot().Set(std::move(office));
}

}  // namespace lastora
