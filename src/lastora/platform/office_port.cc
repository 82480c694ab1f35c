// The process-wide office and its default adapter.
#include "lastora/office.h"
#include "platform/port_slot.h"
#include "platform/posix/file_office.h"

namespace lastora {
namespace {

detail::PortSlot<Office, FileOffice>& OfficeSlot() {
  static detail::PortSlot<Office, FileOffice> slot;
  return slot;
}

}  // namespace

std::shared_ptr<Office> GetOffice() { return OfficeSlot().Get(); }

std::shared_ptr<Office> SetOffice(std::shared_ptr<Office> office) {
  return OfficeSlot().Set(std::move(office));
}

}  // namespace lastora
