// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/serial/device_identity.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

namespace vqx {
namespace {

#ifdef Q_OS_UNIX
QString madeAt(const struct stat& st) {
  return QStringLiteral("%1.%2")
      .arg(st.st_ctim.tv_sec)
      .arg(st.st_ctim.tv_nsec, 9, 10, QLatin1Char('0'));
}

// Vendor, product and serial number of the USB device the line belongs to, if any: the first
// folder above the line's own in /sys/devices that names a vendor.
QString usbAdapter(dev_t device) {
  QString dir =
      QFileInfo(QStringLiteral("/sys/dev/char/%1:%2").arg(major(device)).arg(minor(device)))
          .canonicalFilePath();
  const auto attribute = [&dir](const char* name) {
    QFile file(dir + QLatin1Char('/') + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.read(256).trimmed())
                                          : QString();
  };
  for (; dir.startsWith(QLatin1String("/sys/devices/")); dir = QFileInfo(dir).path()) {
    if (const QString vendor = attribute("idVendor"); !vendor.isEmpty()) {
      return QStringLiteral("USB %1:%2, serial number %3")
          .arg(vendor, attribute("idProduct"), attribute("serial"));
    }
  }
  return {};
}
#endif

}  // namespace

DeviceIdentity identifyDevice(const QString& location) {
  DeviceIdentity identity;
  identity.path = location.toStdString();
#ifdef Q_OS_UNIX
  const QByteArray path = QFile::encodeName(location);
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0) return identity;
  if (S_ISLNK(st.st_mode)) {
    identity.name = QStringLiteral("link %1 made %2").arg(st.st_ino).arg(madeAt(st)).toStdString();
  }
  if (::stat(path.constData(), &st) != 0) return identity;
  const QString usb = usbAdapter(st.st_rdev);
  identity.device = (usb.isEmpty() ? QStringLiteral("device %1:%2 made %3")
                                         .arg(major(st.st_rdev))
                                         .arg(minor(st.st_rdev))
                                         .arg(madeAt(st))
                                   : usb)
                        .toStdString();
#else
  identity.device = identity.path;  // nothing better to tell devices apart by
#endif
  return identity;
}

}  // namespace vqx
