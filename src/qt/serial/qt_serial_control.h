// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include "common/settings_store.h"
#include "qt/serial/line_lock.h"
#include "qt/serial/network_line.h"
#include "serial/serial_control.h"
#include "serial/settings_text.h"

namespace vqx {

// The serial control MSComm1 on QSerialPort.
//
// Ports: CommPort n opens the device that portDeviceName() names for n (stored "Ports" section,
// else the platform's n-th serial port), looked up each time the port opens.
//
// Send queue: at most kSendQueueSize bytes wait to be handed to the system. QSerialPort itself
// queues without bound, so output() refuses a text that would go past the limit, whole, with a
// description. OutBufferCount adds to those the bytes the system's driver still holds (TIOCOUTQ),
// so 0 means the line has everything. Output never blocks: bytes go out from the event loop.
//
// Closing drops what OutBufferCount counts, and with nothing counted it flushes nothing: a flush
// also throws away bytes the driver has passed on (a pseudo-terminal's, not yet read at the far
// end), so a port closed once its output has drained loses none.
//
// Receive queue: the device is always read as soon as it has data, so nothing waits in the
// system and nothing spins; the bytes wait for input() in a queue of kReceiveQueueSize bytes.
// When more arrive than the queue holds, the oldest are dropped (the newest status from the device
// is what the panel needs) and OnComm is raised with CommEvent kCommErrorRxOver before the
// receive event.
//
// Events: OnComm runs on the thread of this object (the user-interface thread) from
// QSerialPort's signals, with CommEvent kCommEventReceive whenever received bytes wait.
//
// Network ports: a mapping that is a network address (tcp://HOST:PORT, rfc2217://HOST:PORT)
// makes the port a NetworkLine's instead, chosen each time the port opens, with the same queues,
// events and wording. Its opening takes time: the port is open and connecting at once
// (portConnecting), and the listeners hear Opened or OpenFailed when the connection is made or
// fails. Over RFC 2217 the line settings and handshaking go to the server as the connection
// opens and whenever they change; raw TCP keeps them here only. The port's identity, for link
// recovery, is its address.
//
// Opening: a device that is no serial line (acceptDevicePath) is not opened at all. Otherwise
// the line is claimed for this program alone (lock files, flock, TIOCEXCL: see
// line_lock.h), and the settings the line took are read back; a line that did not take them is
// closed again and the opening fails. Every failure to open is worded after its kind by
// openFailureText(), with the port's number and device.
//
// Vanished device (USB adapter unplugged, far end of a pseudo-terminal closed): when a read or
// write fails, or a check once a second finds the handle no longer answering or the device path
// gone, the port is closed and the device-lost callback is raised once with the description.
class QtSerialControl : public QObject, public SerialControl {
  Q_OBJECT

 public:
  explicit QtSerialControl(const SettingsStore& store, QObject* parent = nullptr);
  ~QtSerialControl() override;

  bool portOpen() const override;
  bool portConnecting() const override;
  int commPort() const override { return commPort_; }
  Result setCommPort(int port) override;
  std::string settings() const override { return formatLineSettings(line_); }
  Result setSettings(const std::string& settings) override;
  int handshaking() const override { return handshaking_; }
  Result setHandshaking(long long handshaking) override;
  Result output(std::string_view bytes) override;
  int sendQueueRoom() const override;
  int outBufferCount() const override;
  std::string input() override;
  int commEvent() const override { return event_; }
  DeviceIdentity deviceAtPort() const override;
  DeviceIdentity openedDevice() const override { return opened_; }

  // The device the port is open on, empty while it is closed.
  QString deviceName() const { return portOpen() ? device_ : QString(); }

 protected:
  Result changePortOpen(bool open) override;

 private:
  Result applyLine(const LineSettings& line);
  Result applyHandshaking(int handshaking);
  void adjustNative(char parity, int handshaking);
  void closePort();
  int driverQueued() const;
  Result openFailed(OpenFailure failure, const QString& device, const QString& detail);
  void releaseLine();
  Result openNetwork(const QString& device);
  bool onNetwork() const;
  void onReadyRead();
  void takeReceived(const QByteArray& bytes);
  void onError(QSerialPort::SerialPortError error);
  void checkDevice();
  QString vanishedReason() const;
  void loseDevice(const QString& description);

  const SettingsStore& store_;
  QSerialPort* port_;
  NetworkLine* network_;
  QTimer watchdog_;
  int commPort_ = kDesignCommPort;
  LineSettings line_;
  int handshaking_ = 0;
  QByteArray received_;
  int event_ = kCommEventNone;
  QString device_;
  bool lost_ = false;     // loss detected, port about to close
  unsigned session_ = 0;  // counts openings, so a late loss notice cannot close a newer session
  int readErrorsInRow_ = 0;
  int lineHandle_ = -1;  // holds the line's flock while the port is open
  DeviceIdentity opened_;
};

}  // namespace vqx
