// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/serial/port_devices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "qt/serial/port_naming.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace vqx {
namespace {

std::string canonical(const QString& location) {
  const QString path = QFileInfo(location).canonicalFilePath();
  return (path.isEmpty() ? location : path).toStdString();
}

// A listed port as the stored mapping names it: a path on Unix, COM<n> on Windows.
QString nameOf(const QSerialPortInfo& port) {
#ifdef Q_OS_UNIX
  return port.systemLocation();
#else
  return port.portName();
#endif
}

}  // namespace

DeviceLook::DeviceLook() {
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
    ports_.emplace_back(canonical(systemLocation(nameOf(port))), port);
  }
#ifdef Q_OS_LINUX
  const QDir byId(QStringLiteral("/dev/serial/by-id"));
  for (const QString& name : byId.entryList(QDir::System | QDir::Files, QDir::Name)) {
    const QString link = byId.filePath(name);
    links_.emplace_back(link.toStdString(), canonical(link));
  }
#endif
}

DeviceFacts DeviceLook::facts(const QString& device) const {
  const QString location = systemLocation(device);
  DeviceFacts facts;
  facts.canonical = canonical(location);
  const QSerialPortInfo* listed = nullptr;
  for (const auto& [where, port] : ports_) {
    if (where == facts.canonical) listed = &port;
  }
#ifdef Q_OS_UNIX
  struct stat st {};
  if (::stat(QFile::encodeName(location).constData(), &st) == 0) {
    facts.kind = S_ISCHR(st.st_mode)   ? NodeKind::Device
                 : S_ISDIR(st.st_mode) ? NodeKind::Folder
                 : S_ISREG(st.st_mode) ? NodeKind::File
                                       : NodeKind::Other;
  }
#else
  if (listed) facts.kind = NodeKind::Device;
#endif
  if (listed && facts.kind == NodeKind::Device) {
    facts.description = listed->description().toStdString();
    facts.manufacturer = listed->manufacturer().toStdString();
    facts.serialNumber = listed->serialNumber().toStdString();
  }
  return facts;
}

QStringList DeviceLook::detected() const {
  QStringList names;
  for (const auto& port : ports_) names << stableName(nameOf(port.second));
  return names;
}

QString DeviceLook::stableName(const QString& device) const {
  return QString::fromStdString(
      stableDeviceName(device.toStdString(), canonical(systemLocation(device)), links_));
}

}  // namespace vqx
