// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSerialPortInfo>
#include <QString>
#include <QStringList>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/port_device.h"

namespace vqx {

// What is at `location` (a path) now, looked at without opening anything: its kind, where it
// leads, and on Linux the device's number and class and whether it is this program's
// controlling terminal. No adapter details (see DeviceLook).
DeviceFacts deviceFacts(const QString& location);

// One look at the serial devices of the system: the adapters QSerialPortInfo lists (which takes
// a while, so it is done once per look) and, on Linux, the stable names in /dev/serial/by-id
// that lead to them (`stableNames` names that folder). What is at a path is looked at afresh by
// each facts().
class DeviceLook {
 public:
  explicit DeviceLook(const QString& stableNames = QStringLiteral("/dev/serial/by-id"));

  // What is at `device` now (a port's device as portDeviceName() gives it).
  DeviceFacts facts(const QString& device) const;
  // The devices found, each by its stable name where it has one.
  QStringList detected() const;
  // The name to store for `device`: its stable name where it has one.
  QString stableName(const QString& device) const;

 private:
  std::vector<std::pair<std::string, QSerialPortInfo>> ports_;  // where each leads, the port
  std::vector<std::pair<std::string, std::string>> links_;      // stable name, where it leads
};

}  // namespace vqx
