// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/serial_control.h"

#include <algorithm>

namespace vqx {

Result SerialControl::setPortOpen(bool open) {
  const bool was = portOpen();
  Result result = changePortOpen(open);
  const bool now = portOpen();
  if (was != now) {
    const PortEvent event = now ? PortEvent::Opened : PortEvent::Closed;
    tell([event](SerialListener& l) { l.portEvent(event, {}); });
  }
  if (open && !was && !result) {
    tell([&result](SerialListener& l) { l.portEvent(PortEvent::OpenFailed, result.error()); });
  }
  return result;
}

void SerialControl::addListener(SerialListener& listener) {
  if (std::find(listeners_.begin(), listeners_.end(), &listener) == listeners_.end()) {
    listeners_.push_back(&listener);
  }
}

void SerialControl::removeListener(SerialListener& listener) {
  std::erase(listeners_, &listener);
}

void SerialControl::raiseCommEvent() {
  tell([](SerialListener& l) { l.commEvent(); });
}

void SerialControl::raiseDeviceLost(const std::string& description) {
  tell([&description](SerialListener& l) { l.deviceLost(description); });
}

// A listener may come or go while it is told something: those told are the ones listening when
// the event came, less any that stopped listening meanwhile.
template <typename Event>
void SerialControl::tell(const Event& event) {
  const std::vector<SerialListener*> listening = listeners_;
  for (SerialListener* listener : listening) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) {
      event(*listener);
    }
  }
}

}  // namespace vqx
