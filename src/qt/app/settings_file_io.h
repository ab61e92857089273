// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <string>

#include "app/settings_file.h"

namespace vqx {

// Where the settings file lives: exactly "C:\ini\VQX.ini" on Windows (the installer makes the
// folder), elsewhere VQX.ini in the per-user configuration folder VQX16.
QString settingsFilePath();

// Reads and saves the settings file. Saving is atomic (a crash or power loss in the middle
// leaves the previous file whole) and skips the write when the content is what this object
// wrote last and the file is still there unchanged. Nothing here creates a folder, and no
// failure is reported: without the folder every save fails silently.
class SettingsFileIo {
 public:
  explicit SettingsFileIo(QString path) : path_(std::move(path)) {}

  const QString& path() const { return path_; }
  SettingsFileLines read() const;
  // Returns true when the file holds the content afterwards.
  bool save(long left, long top, const std::string& languageFile);
  // How many times the file was actually written.
  int writes() const { return writes_; }

 private:
  bool unchangedSinceLastWrite(const std::string& content) const;

  QString path_;
  std::string lastContent_;
  qint64 lastSize_ = -1;
  QDateTime lastModified_;
  int writes_ = 0;
};

}  // namespace vqx
