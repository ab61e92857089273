// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/link_recovery.h"

#include "serial/network_address.h"
#include "serial/network_link.h"

namespace vqx {

void LinkRecovery::deviceLost(const SerialControl& serial) {
  // A port that is open again already (the operator was quicker) needs nothing.
  if (serial.portOpen()) {
    port_.reset();
    return;
  }
  port_ = serial.commPort();
  lost_ = serial.openedDevice();
  stranger_ = {};
  trying_ = false;
  failedTries_ = 0;
  skipChecks_ = 0;
}

LinkRecovery::Outcome LinkRecovery::check(SerialControl& serial) {
  if (!port_) return Outcome::Idle;
  if (trying_) {
    if (serial.portConnecting()) return Outcome::Waiting;
    trying_ = false;
    if (!serial.portOpen()) return failedTry();
    port_.reset();
    return Outcome::Reopened;
  }
  // Whoever opened the port or chose another one meanwhile has decided; the wait is over.
  if (serial.portOpen() || serial.commPort() != *port_) {
    port_.reset();
    return Outcome::Dropped;
  }
  if (skipChecks_ > 0) {
    --skipChecks_;
    return Outcome::Waiting;
  }
  if (!lost_.device.empty()) {
    const DeviceIdentity now = serial.deviceAtPort();
    if (now.device.empty()) return Outcome::Waiting;  // nothing there yet
    const bool namedAnew = !now.name.empty() && now.name != lost_.name;
    if (now.device != lost_.device && !namedAnew) {
      if (now.device == stranger_.device) return Outcome::Waiting;  // reported already
      stranger_ = now;
      return Outcome::Stranger;
    }
  }
  // Opening with the control's current settings is the whole recovery; the description of a
  // failure (device still away, not yet accessible, busy) is of no use to anybody here.
  if (!serial.setPortOpen(true) || !serial.portOpen()) return failedTry();
  if (serial.portConnecting()) {
    trying_ = true;
    return Outcome::Waiting;
  }
  port_.reset();
  return Outcome::Reopened;
}

LinkRecovery::Outcome LinkRecovery::failedTry() {
  if (isNetworkAddress(lost_.path)) skipChecks_ = reconnectDelay(++failedTries_).count() - 1;
  return Outcome::Waiting;
}

std::string LinkRecovery::strangerReport() const {
  return "A different device is now at " + stranger_.path +
         ": it has been left alone. Open the port from the Port menu to use it.";
}

}  // namespace vqx
