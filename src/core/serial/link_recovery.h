#pragma once

#include <optional>

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
// The window calls check() now and then (at most once a second) while waiting() is true; a
// check with the device still away costs one failed open.
class LinkRecovery {
 public:
  enum class Outcome {
    Idle,      // not waiting: nothing was tried
    Waiting,   // the device is still away; waiting goes on
    Reopened,  // the port is open again: set the check mark of the port menu entry
    Dropped,   // the port was changed meanwhile (opened, or another port number): waiting ended
  };

  // The device of the open port vanished and the control closed the port; the loss has been
  // reported. Waits for the device of the port number the control has now.
  void deviceLost(const SerialControl& serial);
  // The operator took the port in hand: nothing is reopened until the next loss.
  void cancel() { port_.reset(); }
  bool waiting() const { return port_.has_value(); }

  // One attempt to get the lost device back. A failure is not reported.
  Outcome check(SerialControl& serial);

 private:
  std::optional<int> port_;  // the port number whose device was lost, while waiting
};

}  // namespace vqx
