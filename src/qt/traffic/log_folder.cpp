// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/traffic/log_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "common/captions.h"
#include "common/text.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace vqx {
namespace {

#ifdef Q_OS_UNIX
// What is at a path that the log refuses to write to, in words; nothing for the log's own file: a
// regular file of the user running the program, with no other name (a hard link to a system file
// has the owner of that file, root's own for a program run as root).
const char* refusedKind(const struct stat& st) {
  if (S_ISLNK(st.st_mode)) return caption::kLogFileLink;
  if (S_ISFIFO(st.st_mode)) return caption::kLogFilePipe;
  if (S_ISDIR(st.st_mode)) return caption::kLogFileFolder;
  if (S_ISSOCK(st.st_mode)) return caption::kLogFileSocket;
  if (!S_ISREG(st.st_mode)) return caption::kLogFileDevice;
  if (st.st_uid != ::geteuid()) return caption::kLogFileOthers;
  if (st.st_nlink != 1) return caption::kLogFileLinked;
  return nullptr;
}

Result refused(const QString& file, const char* kind) {
  return Result::fail(withArgs(caption::kLogFileRefused, {file.toStdString(), kind}));
}

Result failed(const QString& file, int error) {
  return Result::fail(file.toStdString() + ": " + std::strerror(error));
}

// Appends the text whole, or not at all: a write cut short (a full disk) is undone by cutting the
// file back to `before`, and the reason is what the system says of the rest (ENOSPC, EFBIG).
Result appendWhole(int fd, const QString& file, off_t before, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written > 0) {
      text.remove_prefix(std::size_t(written));
    } else if (written < 0 && errno == EINTR) {
      continue;
    } else {
      const int error = written < 0 ? errno : EIO;
      (void)::ftruncate(fd, before);
      return failed(file, error);
    }
  }
  return Result::ok();
}
#endif

QString pathOf(const QString& folder, const std::string& name) {
  return QDir(folder).filePath(QString::fromStdString(name));
}

}  // namespace

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

// Only regular files, never through a link; nothing here opens a file.
std::vector<std::string> QtLogFolder::files() const {
  std::vector<std::string> names;
  for (const QString& name : QDir(path_).entryList(QDir::Files | QDir::NoSymLinks))
    names.push_back(name.toStdString());
  return names;
}

std::uint64_t QtLogFolder::size(const std::string& name) const {
#ifdef Q_OS_UNIX
  struct stat st {};
  const bool regular =
      ::lstat(QFile::encodeName(pathOf(path_, name)).constData(), &st) == 0 && S_ISREG(st.st_mode);
  return regular ? std::uint64_t(st.st_size) : 0;
#else
  return static_cast<std::uint64_t>(QFileInfo(pathOf(path_, name)).size());
#endif
}

Result QtLogFolder::append(const std::string& name, std::string_view text) {
  if (!QDir().mkpath(path_)) return Result::fail(path_.toStdString() + ": cannot make the folder");
  const QString file = pathOf(path_, name);
#ifdef Q_OS_UNIX
  // Opened without following a link and without waiting (a named pipe nobody reads), then looked
  // at: only the log's own regular file is written.
  const QByteArray path = QFile::encodeName(file);
  struct stat st {};
  const int fd = ::open(path.constData(),
                        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) {
    const int error = errno;
    const char* kind = ::lstat(path.constData(), &st) == 0 ? refusedKind(st) : nullptr;
    return kind ? refused(file, kind) : failed(file, error);
  }
  Result written = Result::ok();
  if (::fstat(fd, &st) != 0) {
    written = failed(file, errno);
  } else if (const char* kind = refusedKind(st)) {
    written = refused(file, kind);
  } else {
    written = appendWhole(fd, file, st.st_size, text);
  }
  ::close(fd);
  return written;
#else
  QFile out(file);
  // Unbuffered: a write that does not reach the disk (a full disk) fails here, not later.
  if (!out.open(QIODevice::Append | QIODevice::Unbuffered)) {
    return Result::fail(file.toStdString() + ": " + out.errorString().toStdString());
  }
  const qint64 before = out.size();
  if (out.write(text.data(), qint64(text.size())) != qint64(text.size())) {
    const std::string why = out.errorString().toStdString();
    (void)out.resize(before);  // every line whole, or none
    return Result::fail(file.toStdString() + ": " + why);
  }
  return Result::ok();
#endif
}

// Removes the name, never what a link leads to.
void QtLogFolder::remove(const std::string& name) {
  QFile::remove(pathOf(path_, name));
}

}  // namespace vqx
