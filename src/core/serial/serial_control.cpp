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
    PortEvent event = PortEvent::Closed;
    if (now) event = portConnecting() ? PortEvent::Connecting : PortEvent::Opened;
    raisePortEvent(event, {});
  }
  if (open && !was && !result) raisePortEvent(PortEvent::OpenFailed, result.error());
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

void SerialControl::raisePortEvent(PortEvent event, const std::string& why) {
  tell([event, &why](SerialListener& l) { l.portEvent(event, why); });
}

void SerialControl::raiseLineWarning(const std::string& text, bool refused) {
  tell([&text, refused](SerialListener& l) { l.lineWarning(text, refused); });
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
