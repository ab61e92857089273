// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "serial/serial_control.h"

namespace vqx {

// Link recovery: when the device under an open port vanishes (a USB adapter pulled out, a
// simulator stopped), the serial control closes the port and the loss is reported once. From
// then on the program waits for the device to come back and reopens the port with the settings
// in force, without a second report and without the operator doing anything.
//
// Only a loss starts the wait. Anything the operator does to the port (opening or closing it
// from the menu, the Exit command, the panel's Function+Pip reset, another port number in the
// port settings dialog) ends it, so a port the operator closed stays closed.
//
// Only the device that was lost is taken up again: the system may give a lost terminal's name to
// another terminal at once, and a different adapter may be plugged in where the lost one was. A
// device counts as the lost one when its identity (see DeviceIdentity) is the same, or when the
// port's name is a link made anew since the loss: whoever provides the device named it again. A
// different device is reported once and left alone, and waiting goes on. When the control tells
// no identity, whatever is there is taken.
//
// The window calls check() now and then (once a second) while waiting() is true; a check with
// the device still away costs a look at its name, or one failed open. A device server on the
// network cannot be looked at without a connection: it is tried at once, then after each failed
// try at the delay reconnectDelay() gives, counted in checks. Its identity is its address, so only
// the address that was lost is tried. An opening that takes time is followed over the next checks
// (check again as soon as it has ended).
class LinkRecovery {
 public:
  enum class Outcome {
    Idle,      // not waiting: nothing was tried
    Waiting,   // the device is still away; waiting goes on
    Reopened,  // the port is open again: set the check mark of the port menu entry
    Dropped,   // the port was changed meanwhile (opened, or another port number): waiting ended
    Stranger,  // a different device is at the port's name: report strangerReport() once
  };

  // The device of the open port vanished and the control closed the port; the loss has been
  // reported. Waits for that device at the port number the control has now.
  void deviceLost(const SerialControl& serial);
  // The operator took the port in hand: nothing is reopened until the next loss.
  void cancel() {
    port_.reset();
    trying_ = false;
  }
  bool waiting() const { return port_.has_value(); }

  // One attempt to get the lost device back. A failure is not reported.
  Outcome check(SerialControl& serial);

  // What the operator is told of the different device found by the latest check.
  std::string strangerReport() const;

 private:
  Outcome failedTry();

  std::optional<int> port_;  // the port number whose device was lost, while waiting
  DeviceIdentity lost_;
  DeviceIdentity stranger_;  // the different device reported last
  bool trying_ = false;      // an opening of ours is under way
  int failedTries_ = 0;      // in a row, of a device server
  long long skipChecks_ = 0;  // before a device server is tried again
};

// Added to the loss report when the port is open again.
inline constexpr const char* kDeviceBack = "The device is back: the port is open again.";

}  // namespace vqx
