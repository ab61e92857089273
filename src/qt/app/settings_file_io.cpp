// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/app/settings_file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace vqx {

QString settingsFilePath() {
#ifdef Q_OS_WIN
  return QStringLiteral("C:\\ini\\VQX.ini");
#else
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/VQX16/VQX.ini");
#endif
}

SettingsFileLines SettingsFileIo::read() const {
  // Only a regular file: opening a FIFO would wait for a writer for ever.
  if (!QFileInfo(path_).isFile()) return {};
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray head = file.read(static_cast<qint64>(kSettingsReadLimit));
  return parseSettingsFile(std::string_view(head.constData(), static_cast<size_t>(head.size())));
}

bool SettingsFileIo::unchangedSinceLastWrite(const std::string& content) const {
  if (content != lastContent_ || lastSize_ < 0) return false;
  const QFileInfo info(path_);
  return info.exists() && info.size() == lastSize_ && info.lastModified() == lastModified_;
}

bool SettingsFileIo::save(long left, long top, const std::string& languageFile) {
  const std::string content = formatSettingsFile(left, top, languageFile);
  if (unchangedSinceLastWrite(content)) return true;
  // Unbuffered, so that a write the file system refuses (a full disk, a size limit) fails here
  // and not in a flush inside commit(), which Qt 6.4 does not always report. On any failure
  // the old file stays and nothing counts as saved: the next tick tries again.
  QSaveFile file(path_);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
  if (file.write(content.data(), static_cast<qint64>(content.size())) !=
      static_cast<qint64>(content.size())) {
    return false;
  }
  if (!file.commit()) return false;
  ++writes_;
  const QFileInfo info(path_);
  lastContent_ = content;
  lastSize_ = info.size();
  lastModified_ = info.lastModified();
  return true;
}

}  // namespace vqx
