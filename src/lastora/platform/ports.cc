// The process-wide ports and their default adapters.
#include "lastora/platform.h"
#include "platform/default_adapters.h"
#include "platform/port_slot.h"

namespace lastora {
namespace {

using detail::PortSlot;

PortSlot<Dialogs, detail::DefaultDialogs>& DialogsSlot() {
  static PortSlot<Dialogs, detail::DefaultDialogs> slot;
  return slot;
}
PortSlot<Clock, detail::DefaultClock>& ClockSlot() {
  static PortSlot<Clock, detail::DefaultClock> slot;
  return slot;
}
PortSlot<XmlParser, detail::DefaultXmlParser>& XmlSlot() {
  static PortSlot<XmlParser, detail::DefaultXmlParser> slot;
  return slot;
}

}  // namespace

std::shared_ptr<Dialogs> GetDialogs() { return DialogsSlot().Get(); }
std::shared_ptr<Clock> GetClock() { return ClockSlot().Get(); }
std::shared_ptr<XmlParser> GetXmlParser() { return XmlSlot().Get(); }

std::shared_ptr<Dialogs> SetDialogs(std::shared_ptr<Dialogs> dialogs) {
  return DialogsSlot().Set(std::move(dialogs));
}
std::shared_ptr<Clock> SetClock(std::shared_ptr<Clock> clock) {
  return ClockSlot().Set(std::move(clock));
}
std::shared_ptr<XmlParser> SetXmlParser(std::shared_ptr<XmlParser> parser) {
  return XmlSlot().Set(std::move(parser));
}

}  // namespace lastora
