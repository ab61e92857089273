#include "serial/link_recovery.h"

namespace vqx {

void LinkRecovery::deviceLost(const SerialControl& serial) {
  // A port that is open again already (the operator was quicker) needs nothing.
  if (serial.portOpen()) {
    port_.reset();
    return;
  }
  port_ = serial.commPort();
}

LinkRecovery::Outcome LinkRecovery::check(SerialControl& serial) {
  if (!port_) return Outcome::Idle;
  // Whoever opened the port or chose another one meanwhile has decided; the wait is over.
  if (serial.portOpen() || serial.commPort() != *port_) {
    port_.reset();
    return Outcome::Dropped;
  }
  // Opening with the control's current settings is the whole recovery; the description of a
  // failure (device still away, not yet accessible, busy) is of no use to anybody here.
  if (!serial.setPortOpen(true) || !serial.portOpen()) return Outcome::Waiting;
  port_.reset();
  return Outcome::Reopened;
}

}  // namespace vqx
