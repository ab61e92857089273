// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/serial/line_lock.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vqx {
namespace {

#ifdef Q_OS_UNIX
QString systemError(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

// Where each kind of program puts the lock of the line at `path`: Qt after the path under /dev
// with "/" as "_" (pts_3), lockdev, minicom and picocom after the device's file name (ttyUSB0);
// for the path as given and for the device a link leads to.
QStringList lockFiles(const QString& path) {
  QStringList names;
  for (const QString& p : {path, QFileInfo(path).canonicalFilePath()}) {
    if (p.isEmpty()) continue;
    QString underDev = p.startsWith(QLatin1String("/dev/")) ? p.mid(5) : p;
    names << underDev.replace(QLatin1Char('/'), QLatin1Char('_')) << QFileInfo(p).fileName();
  }
  QStringList files;
  for (const char* dir : {"/run/lock", "/var/lock"}) {
    const QString folder = QFileInfo(QString::fromLatin1(dir)).canonicalFilePath();
    if (folder.isEmpty()) continue;
    for (const QString& name : names) files << folder + QStringLiteral("/LCK..") + name;
  }
  files.removeDuplicates();
  return files;
}

// The process number a lock file starts with: "%10d\n" (UUCP style) or "pid\nprogram\nhost\n"
// (Qt); 0 when there is none.
long lockOwner(const QString& file) {
  const int fd =
      ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return 0;
  char buffer[128];
  const ssize_t n = ::read(fd, buffer, sizeof buffer);
  ::close(fd);
  const QByteArray content(buffer, n > 0 ? n : 0);
  bool ok = false;
  const long pid = content.left(content.indexOf('\n')).trimmed().toLong(&ok);
  return ok && pid > 0 ? pid : 0;
}

bool processAlive(long pid) {
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

LineClaim failed(OpenFailure failure, const QString& detail) {
  return {-1, failure, detail};
}

// A lock file in the way, or nothing.
LineClaim checkLockFile(const QString& file) {
  const QByteArray path = QFile::encodeName(file);
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0) return {};
  if (S_ISDIR(st.st_mode)) {
    return failed(
        OpenFailure::LockFile,
        file + QStringLiteral(" is a folder, not a lock file: remove it to use the port"));
  }
  QString stale = QStringLiteral("is not a lock file");
  if (S_ISREG(st.st_mode)) {
    const long owner = lockOwner(file);
    if (owner > 0 && processAlive(owner)) {
      return failed(OpenFailure::InUse,
                    QStringLiteral("process %1, lock file %2").arg(owner).arg(file));
    }
    stale = owner > 0 ? QStringLiteral("is left by process %1, which has ended").arg(owner)
                      : QStringLiteral("holds no process number");
  }
  if (::unlink(path.constData()) != 0) {
    return failed(
        OpenFailure::LockFile,
        QStringLiteral("%1 %2 and cannot be removed (%3)").arg(file, stale, systemError(errno)));
  }
  return {};
}
#endif

}  // namespace

LineClaim claimLine(const QString& location) {
#ifdef Q_OS_UNIX
  for (const QString& file : lockFiles(location)) {
    if (LineClaim lock = checkLockFile(file); lock.failure != OpenFailure::None) return lock;
  }
  const int fd =
      ::open(QFile::encodeName(location).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    switch (error) {
      case ENOENT:
      case ENODEV:
      case ENXIO:
      case EIO:  // a serial port's name without the hardware, as /dev/ttyS0 on most laptops
        return failed(OpenFailure::Missing, systemError(error));
      case EACCES:
      case EPERM:
        return failed(OpenFailure::NoPermission, systemError(error));
      case EBUSY:  // TIOCEXCL: another program opened the line for itself alone
        return failed(OpenFailure::InUse, QStringLiteral("it has the line to itself"));
      default:
        return failed(OpenFailure::Other, systemError(error));
    }
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    ::close(fd);
    return failed(OpenFailure::InUse, QStringLiteral("it holds the line locked"));
  }
  return {fd, OpenFailure::None, {}};
#else
  (void)location;
  return {};
#endif
}

}  // namespace vqx
