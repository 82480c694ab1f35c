// The process-wide ports and their default adapters.
#include "lastora/platform.h"
#include "platform/libxml2/libxml2_parser.h"
#include "platform/port_slot.h"
#include "platform/posix/posix_adapters.h"

namespace lastora {
namespace {

using detail::PortSlot;

PortSlot<Dialogs, StderrDialogs>& DialogsSlot() {
  static PortSlot<Dialogs, StderrDialogs> slot;
  return slot;
}
PortSlot<Clock, SystemClock>& ClockSlot() {
  static PortSlot<Clock, SystemClock> slot;
  return slot;
}
PortSlot<XmlParser, LibXml2Parser>& XmlSlot() {
  static PortSlot<XmlParser, LibXml2Parser> slot;
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
