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
#ifdef Q_OS_LINUX
#include <sys/sysmacros.h>
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

#ifdef Q_OS_UNIX
// The path, then each place a link on the way leads to, as many as the system follows.
std::vector<std::string> routeOf(const QString& location) {
  std::vector<std::string> route;
  QFileInfo step(QFileInfo(location).absoluteFilePath());
  for (int links = 0; links < 40; ++links) {
    route.push_back(step.filePath().toStdString());
    const QString folder = QFileInfo(step.path()).canonicalFilePath();
    if (!folder.isEmpty() && folder != step.path()) {
      route.push_back((folder + QLatin1Char('/') + step.fileName()).toStdString());
    }
    if (!step.isSymLink()) break;
    step = QFileInfo(step.symLinkTarget());
  }
  return route;
}
#endif

#ifdef Q_OS_LINUX
// The controlling terminal's device number: field 7 of /proc/self/stat, after the program's
// name in parentheses (which may hold spaces and parentheses itself); 0 for none.
dev_t controllingTerminal() {
  QFile stat(QStringLiteral("/proc/self/stat"));
  if (!stat.open(QIODevice::ReadOnly)) return 0;
  const QByteArray line = stat.readAll();
  const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 1).simplified().split(' ');
  return fields.size() > 4 ? dev_t(fields[4].toULongLong()) : 0;
}

LinuxDevice linuxDevice(dev_t number) {
  const QString subsystem =
      QFileInfo(
          QStringLiteral("/sys/dev/char/%1:%2/subsystem").arg(major(number)).arg(minor(number)))
          .canonicalFilePath();
  return {major(number), minor(number), QFileInfo(subsystem).fileName().toStdString()};
}
#endif

}  // namespace

DeviceFacts deviceFacts(const QString& location) {
  DeviceFacts facts;
  facts.canonical = canonical(location);
#ifdef Q_OS_UNIX
  facts.route = routeOf(location);
  struct stat st {};
  if (::stat(QFile::encodeName(location).constData(), &st) == 0) {
    facts.kind = S_ISCHR(st.st_mode)   ? NodeKind::Device
                 : S_ISDIR(st.st_mode) ? NodeKind::Folder
                 : S_ISREG(st.st_mode) ? NodeKind::File
                                       : NodeKind::Other;
  }
#ifdef Q_OS_LINUX
  if (facts.kind == NodeKind::Device) {
    const dev_t terminal = controllingTerminal();
    facts.controllingTerminal = terminal != 0 && major(terminal) == major(st.st_rdev) &&
                                minor(terminal) == minor(st.st_rdev);
    facts.linuxDevice = linuxDevice(st.st_rdev);
  }
#endif
#endif
  return facts;
}

DeviceLook::DeviceLook([[maybe_unused]] const QString& stableNames) {
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
    ports_.emplace_back(canonical(systemLocation(nameOf(port))), port);
  }
#ifdef Q_OS_LINUX
  const QDir byId(stableNames);
  for (const QString& name : byId.entryList(QDir::System | QDir::Files, QDir::Name)) {
    const QString link = byId.filePath(name);
    links_.emplace_back(link.toStdString(), canonical(link));
  }
#endif
}

DeviceFacts DeviceLook::facts(const QString& device) const {
  DeviceFacts facts = deviceFacts(systemLocation(device));
  const QSerialPortInfo* listed = nullptr;
  for (const auto& [where, port] : ports_) {
    if (where == facts.canonical) listed = &port;
  }
#ifndef Q_OS_UNIX
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
