// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace vqx {

// CommEvent codes of the serial control.
enum CommEventCode : int {
  kCommEventNone = 0,
  kCommEventSend = 1,
  kCommEventReceive = 2,
  kCommEventCts = 3,
  kCommEventDsr = 4,
  kCommEventCd = 5,
  kCommEventRing = 6,
  kCommEventEof = 7,
  kCommErrorBreak = 1001,
  kCommErrorFrame = 1004,
  kCommErrorOverrun = 1006,
  kCommErrorRxOver = 1008,
  kCommErrorRxParity = 1009,
  kCommErrorTxFull = 1010,
};

// Design values of the control, in force until stored settings are applied.
inline constexpr int kDesignCommPort = 1;
inline constexpr const char* kDesignSettings = "9600,n,8,1";
inline constexpr int kSendQueueSize = 512;
inline constexpr int kReceiveQueueSize = 1024;

// What tells one device from another under the same name, so that link recovery takes up the
// device that was lost and nothing else that appears under its name (see LinkRecovery).
struct DeviceIdentity {
  std::string path;  // where it is, as the operator reads it
  // The name itself when it is a link: a link made anew in its place (a by-id name made again as
  // an adapter is plugged in, a simulator's link) differs. Empty for a plain device path.
  std::string name;
  // The device: a USB adapter's vendor, product and serial number, else its device number and
  // when its node was made. Empty when nothing is there, or when it cannot be told.
  std::string device;
};

class SerialListener;

// The serial communications control (MSComm1 of the device's panel program). Characters are
// bytes: a std::string holds one character per byte, its code the byte value 0 to 255.
// Every write may fail with a text description and then leaves the property as it was.
//
// What happens on the line reaches every listener (SerialListener), in the order they began to
// listen: the program's window, the link's supervision, the traffic record, any other front end.
class SerialControl {
 public:
  virtual ~SerialControl() = default;

  virtual bool portOpen() const = 0;
  // True opens the port with the current CommPort, Settings and Handshaking; false closes it
  // and drops the output still queued (outBufferCount), never a byte that has gone. Whoever asks
  // (the port toggle, the port settings dialog, link recovery, the close sequence), the listeners
  // hear of each opening, closing and failed opening.
  //
  // A port whose opening takes time (a device server on the network) is open from the request on,
  // and connecting (portConnecting) until the connection is made or fails: the listeners hear
  // Connecting, then Opened, or OpenFailed with the port closed again. Meanwhile output waits in
  // the send queue, and closing the port gives the attempt up.
  Result setPortOpen(bool open);
  virtual bool portConnecting() const { return false; }

  virtual int commPort() const = 0;
  virtual Result setCommPort(int port) = 0;

  // "speed,parity,data bits,stop bits", parity reported in lower case.
  virtual std::string settings() const = 0;
  virtual Result setSettings(const std::string& settings) = 0;

  // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both.
  virtual int handshaking() const = 0;
  virtual Result setHandshaking(long long handshaking) = 0;

  // Queues each byte for sending, in order; a text the send queue has no room for is refused
  // whole.
  virtual Result output(std::string_view bytes) = 0;
  // Bytes the send queue can still take: an output() of at most this many is taken whole.
  virtual int sendQueueRoom() const = 0;
  // Bytes still queued for sending: those in the send queue and those the system has taken but
  // not yet put on the line. 0 means the line has everything.
  virtual int outBufferCount() const = 0;
  // Returns and removes the bytes received so far.
  virtual std::string input() = 0;
  // Code of the event being raised.
  virtual int commEvent() const = 0;

  // The device now at the current port number's name, and the one the port was last open on.
  virtual DeviceIdentity deviceAtPort() const { return {}; }
  virtual DeviceIdentity openedDevice() const { return {}; }

  enum class PortEvent { Opened, Closed, OpenFailed, Connecting };

  // A listener hears every event from now on until it stops listening, which it does before it
  // goes. Listening twice counts once.
  void addListener(SerialListener& listener);
  void removeListener(SerialListener& listener);

 protected:
  virtual Result changePortOpen(bool open) = 0;
  // OnComm: received bytes wait, or the line changed or failed; commEvent() says which.
  void raiseCommEvent();
  // The device vanished while the port was open (adapter unplugged, far end gone); the control
  // has closed the port by then. Raised once, with the description.
  void raiseDeviceLost(const std::string& description);
  // A port event that came from the line, not from a call of setPortOpen(): the end of an opening
  // that took time.
  void raisePortEvent(PortEvent event, const std::string& why);
  // The open port's line settings may not be what the operator chose (see SerialListener).
  void raiseLineWarning(const std::string& text, bool refused);

 private:
  template <typename Event>
  void tell(const Event& event);

  std::vector<SerialListener*> listeners_;
};

// What the serial control tells, each event between other events of the user-interface thread.
class SerialListener {
 public:
  virtual ~SerialListener() = default;
  // OnComm: received bytes wait for input(), or the line changed or failed; commEvent() says
  // which. One listener reads the bytes (the status receiver); the others may look at the code.
  virtual void commEvent() {}
  // The port opened, closed, or did not open; `why` is the description of a failed opening.
  virtual void portEvent(SerialControl::PortEvent event, const std::string& why) {
    (void)event;
    (void)why;
  }
  // The device vanished from under the open port, which the control has closed.
  virtual void deviceLost(const std::string& description) { (void)description; }
  // The open port's line does not run with the settings chosen: the device server `refused`
  // them, worded as a refused opening is, or did not confirm them in time.
  virtual void lineWarning(const std::string& text, bool refused) {
    (void)text;
    (void)refused;
  }
};

}  // namespace vqx
