// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/app/qt_settings_store.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>
#include <memory>

#include "common/result.h"

namespace vqx {
namespace {

QString text(const std::string& s) {
  return QString::fromStdString(s);
}

QString keyPath(const std::string& section, const std::string& key) {
  return text(section) + QLatin1Char('/') + text(key);
}

// The store of `app`, or nothing when its file is there but is no regular file: QSettings reads
// the file as soon as it is made, and a FIFO would hold the program for ever. Such a store reads
// as empty and takes no writes.
std::unique_ptr<QSettings> openStore(const std::string& app) {
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, text(kAppTitle),
                                     text(app));
#else
  const QString file = QtSettingsStore::fileName(app);
  const QFileInfo info(file);
  if (info.exists() && !info.isFile()) return nullptr;
  return std::make_unique<QSettings>(file, QSettings::IniFormat);
#endif
}

}  // namespace

std::string QtSettingsStore::value(const std::string& app, const std::string& section,
                                   const std::string& key) const {
  const auto store = openStore(app);
  if (!store) return {};
  const QVariant v = store->value(keyPath(section, key));
  if (!v.isValid()) return {};
  if (v.typeId() == QMetaType::QStringList) {
    return v.toStringList().join(QLatin1Char(',')).toStdString();
  }
  return v.toString().toStdString();
}

void QtSettingsStore::setValue(const std::string& app, const std::string& section,
                               const std::string& key, const std::string& value) {
  const auto store = openStore(app);
  if (!store) return;
  store->setValue(keyPath(section, key), text(value));
  store->sync();
}

QString QtSettingsStore::fileName(const std::string& app) {
#ifdef Q_OS_WIN
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, text(kAppTitle), text(app))
      .fileName();
#else
  // Where QSettings keeps the native format of the user scope, worked out without opening it.
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QLatin1Char('/') + text(kAppTitle) + QLatin1Char('/') + text(app) +
         QStringLiteral(".conf");
#endif
}

}  // namespace vqx
