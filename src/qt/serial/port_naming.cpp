// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/serial/port_naming.h"

#include <QtGlobal>

#include "common/result.h"

namespace vqx {

namespace {

std::string portKey(int port) {
  return "Com" + std::to_string(port);
}

}  // namespace

QString portDeviceName(int port, const SettingsStore& store) {
  const QString mapped =
      QString::fromStdString(store.value(kAppTitle, "Ports", portKey(port))).trimmed();
  if (!mapped.isEmpty()) return mapped;
#ifdef Q_OS_WIN
  return QStringLiteral("COM%1").arg(port);
#else
  return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

void setPortDeviceName(int port, SettingsStore& store, const std::string& device) {
  store.setValue(kAppTitle, "Ports", portKey(port), device);
}

QString systemLocation(const QString& device) {
#ifdef Q_OS_UNIX
  if (device.startsWith(QLatin1Char('/')) || device.startsWith(QLatin1String("./")) ||
      device.startsWith(QLatin1String("../"))) {
    return device;
  }
  return QStringLiteral("/dev/") + device;
#else
  return device;
#endif
}

}  // namespace vqx
