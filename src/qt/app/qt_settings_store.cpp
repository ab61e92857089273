#include "qt/app/qt_settings_store.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

#include "common/result.h"

namespace vqx {
namespace {

QString text(const std::string& s) {
  return QString::fromStdString(s);
}

QString keyPath(const std::string& section, const std::string& key) {
  return text(section) + QLatin1Char('/') + text(key);
}

}  // namespace

std::string QtSettingsStore::value(const std::string& app, const std::string& section,
                                   const std::string& key) const {
  const QSettings store(QSettings::NativeFormat, QSettings::UserScope, text(kAppTitle), text(app));
  const QVariant v = store.value(keyPath(section, key));
  if (!v.isValid()) return {};
  if (v.typeId() == QMetaType::QStringList) {
    return v.toStringList().join(QLatin1Char(',')).toStdString();
  }
  return v.toString().toStdString();
}

void QtSettingsStore::setValue(const std::string& app, const std::string& section,
                               const std::string& key, const std::string& value) {
  QSettings store(QSettings::NativeFormat, QSettings::UserScope, text(kAppTitle), text(app));
  store.setValue(keyPath(section, key), text(value));
  store.sync();
}

QString QtSettingsStore::fileName(const std::string& app) {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, text(kAppTitle), text(app))
      .fileName();
}

}  // namespace vqx
