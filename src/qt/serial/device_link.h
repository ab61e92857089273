// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "common/prompts.h"
#include "common/settings_store.h"
#include "qt/serial/link_supervisor.h"
#include "qt/traffic/traffic_recorder.h"
#include "serial/serial_control.h"
#include "status/status_handler.h"
#include "status/terminal_box.h"

namespace vqx {

// Everything between the program and the device, without a window: the serial control it is
// built on, the terminal box (the receive buffer of the status decoding, and the terminal the
// operator types into), the one reader of what comes in (receiver()), the link's supervision
// (supervisor()), the record of the traffic (recorder()), and the one path by which every
// character reaches the device (transmit()). Front ends (the main window, a remote interface)
// listen to it and act through it; none passes news on to another.
class DeviceLink : public QObject {
  Q_OBJECT
 public:
  // `logFolder`: where the incident log is kept.
  DeviceLink(SerialControl& serial, SettingsStore& store, Prompts& prompts,
             const QString& logFolder, QObject* parent = nullptr);
  ~DeviceLink() override;

  SerialControl& serial() { return serial_; }
  TerminalBox& terminal() { return terminal_; }
  StatusReceiver& receiver() { return receiver_; }
  LinkSupervisor& supervisor() { return supervisor_; }
  TrafficRecorder& recorder() { return recorder_; }
  // Local echo of characters typed into the terminal.
  bool& echo() { return echo_; }

  // A character for the device: a panel key's, or one typed into the terminal, before the box
  // inserts it (see transmitCharacter).
  void transmit(std::int16_t& code);
  // Whether a command of this many characters goes out whole now.
  bool canSend(std::size_t count) const;
  // The operator's port toggle: the port opened or closed, a failure reported.
  void togglePort();
  // The port settings dialog has closed; `portBefore` is the port number it found.
  void portSettingsApplied(int portBefore);

 signals:
  // The port is open or closed now: the menu's check mark.
  void portOpenChanged(bool open);
  // The terminal box's caret was moved by a transmission.
  void terminalChanged();

 private:
  SerialControl& serial_;
  Prompts& prompts_;
  TerminalBox terminal_;
  bool echo_ = false;
  TrafficRecorder recorder_;
  StatusReceiver receiver_;
  LinkSupervisor supervisor_;
};

}  // namespace vqx
