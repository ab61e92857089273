// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/traffic/log_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace vqx {

QString logFolderPath() {
#ifdef Q_OS_WIN
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/VQX16");
#else
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (!QDir::isAbsolutePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
  return state + QStringLiteral("/VQX16");
#endif
}

std::vector<std::string> QtLogFolder::files() const {
  std::vector<std::string> names;
  for (const QString& name : QDir(path_).entryList(QDir::Files))
    names.push_back(name.toStdString());
  return names;
}

std::uint64_t QtLogFolder::size(const std::string& name) const {
  return static_cast<std::uint64_t>(
      QFileInfo(QDir(path_).filePath(QString::fromStdString(name))).size());
}

Result QtLogFolder::append(const std::string& name, std::string_view text) {
  if (!QDir().mkpath(path_)) return Result::fail(path_.toStdString() + ": cannot make the folder");
  QFile file(QDir(path_).filePath(QString::fromStdString(name)));
  // Unbuffered: a write that does not reach the disk (a full disk) fails here, not later.
  if (!file.open(QIODevice::Append | QIODevice::Unbuffered) ||
      file.write(text.data(), qint64(text.size())) != qint64(text.size())) {
    return Result::fail(file.fileName().toStdString() + ": " + file.errorString().toStdString());
  }
  return Result::ok();
}

void QtLogFolder::remove(const std::string& name) {
  QFile::remove(QDir(path_).filePath(QString::fromStdString(name)));
}

}  // namespace vqx
