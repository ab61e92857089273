// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <string>

#include "common/prompts.h"
#include "common/settings_store.h"
#include "serial/link_recovery.h"
#include "serial/link_state.h"
#include "serial/serial_control.h"
#include "status/status_handler.h"

namespace vqx {

// Watches the link to the device and takes it up again when it is lost, without a window: it
// listens to the serial control (the port's events, a lost device) and to the status receiver
// (each frame), and says what to show (linkShown, portOpenChanged) and what to record
// (portRecorded).
//
// A lost device is reported once, in a report that does not wait for the operator, and waited
// for (see LinkRecovery): a look once a second, the port opened again when it is back, and the
// report then says so. Whatever the operator does to the port ends the wait (operatorTookPort).
// While the port is open a timer looks again when a frame is overdue, then once a second, so
// that "no frame for N s" counts; otherwise nothing runs.
//
// A port that connects (a device server) shows "connecting" until the connection is made or
// fails; the failure of an opening the operator asked for is then reported in a report that does
// not wait, since whoever asked has long gone on. A line that may not run with the settings chosen
// is recorded and becomes the open link's reason; a refusal is also reported.
class LinkSupervisor : public QObject, public SerialListener, public StatusListener {
  Q_OBJECT
 public:
  LinkSupervisor(SerialControl& serial, const SettingsStore& store, Prompts& prompts,
                 QObject* parent = nullptr);
  ~LinkSupervisor() override;

  // The operator decides about the port from now on (opened or closed it, chose another port
  // number, exits): no lost device is awaited any more.
  void operatorTookPort();
  bool waitingForDevice() const { return recovery_.waiting(); }
  // The port and its device, as every message names them: the device the port is open on, else
  // the one it would open ("Com1 (/dev/ttyUSB0)").
  std::string label() const;
  // The device alone, as the label names it.
  std::string device() const;
  const LinkView& view() const { return shown_; }
  // Shows the link anew, its label read again (another port number, another device mapped).
  void showLink();

  // SerialListener
  void portEvent(SerialControl::PortEvent event, const std::string& why) override;
  void deviceLost(const std::string& description) override;
  void lineWarning(const std::string& text, bool refused) override;
  // StatusListener
  void statusReceived(const ReceivedStatus& status) override;

 signals:
  void linkShown(const QString& label, const LinkView& view);
  // The port opened or closed by itself (a lost device, recovery): the menu's check mark.
  void portOpenChanged(bool open);
  // A port event for the traffic record, in the link's words.
  void portRecorded(const std::string& line);

 private:
  void showState();
  void startWaiting();
  void checkLostDevice();

  SerialControl& serial_;
  const SettingsStore& store_;
  Prompts& prompts_;
  LinkWatch watch_;
  LinkRecovery recovery_;
  QTimer recoveryTimer_;    // runs only while waiting for a lost device
  QTimer stateTimer_;       // runs only while the port is open
  std::string lossReport_;  // the text of the latest loss report
  bool connecting_ = false;  // the latest port event was Connecting
  QString label_;
  LinkView shown_{LinkState::Closed, "-", {}};
};

}  // namespace vqx
