#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace vqx::testing {

// Points the per-user stored settings at a fresh, empty temporary folder for the lifetime of
// this object, so a test never reads or writes the real user's settings. It sets
// XDG_CONFIG_HOME and also tells QSettings directly, since QSettings fixes its user folder the
// first time it is used in a process. Both are restored on destruction.
class TemporaryUserSettings {
 public:
  TemporaryUserSettings();
  ~TemporaryUserSettings();
  TemporaryUserSettings(const TemporaryUserSettings&) = delete;
  TemporaryUserSettings& operator=(const TemporaryUserSettings&) = delete;

  bool isValid() const { return dir_.isValid(); }
  // The folder standing in for ~/.config.
  QString path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  bool hadXdg_ = false;
  QByteArray oldXdg_;
  QString oldPath_;
};

}  // namespace vqx::testing
