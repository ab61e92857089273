#include "qt/support/temporary_user_settings.h"

#include <QSettings>
#include <QStandardPaths>

namespace vqx::testing {

TemporaryUserSettings::TemporaryUserSettings()
    : hadXdg_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")),
      oldXdg_(qgetenv("XDG_CONFIG_HOME")),
      oldPath_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)) {
  qputenv("XDG_CONFIG_HOME", dir_.path().toLocal8Bit());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
}

TemporaryUserSettings::~TemporaryUserSettings() {
  if (hadXdg_) {
    qputenv("XDG_CONFIG_HOME", oldXdg_);
  } else {
    qunsetenv("XDG_CONFIG_HOME");
  }
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, oldPath_);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, oldPath_);
}

}  // namespace vqx::testing
