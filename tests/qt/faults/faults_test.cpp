// Attacks on the program from outside: the settings file saved by the program's own code in a
// child process that is killed at random moments (the file must always hold the old or the new
// content whole), and a full disk.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "app/settings_file.h"
#include "qt/app/settings_file_io.h"

namespace vqx {
namespace {

// Starts the saving child on `path`; it writes one byte to the pipe once it has saved once.
pid_t startSaver(const QString& path, int* ready) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return -1;
  const QByteArray file = path.toLocal8Bit();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives a test that dies itself
    ::dup2(out[1], STDOUT_FILENO);
    ::execl(VQX16_SETTINGS_SAVE_CHILD_PATH, VQX16_SETTINGS_SAVE_CHILD_PATH, file.constData(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  *ready = out[0];
  return pid;
}

TEST(Faults, SaveKilledAtAnyMomentLeavesTheOldOrTheNewFileWhole) {
  QTemporaryDir dir;
  // What the child alternates between (tests/helpers/settings_save_child.cpp).
  const QByteArray contents[] = {QByteArray::fromStdString(formatSettingsFile(
                                     1500, 2000, "/usr/share/vqx16/lang/English.lng")),
                                 QByteArray::fromStdString(formatSettingsFile(-30000, 32000, ""))};
  std::mt19937 random(12345);
  int seen[2] = {0, 0};
  for (int kill = 0; kill < 200; ++kill) {
    const QString path = dir.filePath(QStringLiteral("VQX%1.ini").arg(kill % 4));
    int ready = -1;
    const pid_t child = startSaver(path, &ready);
    ASSERT_GT(child, 0);
    pollfd p{ready, POLLIN, 0};
    char byte = 0;
    const bool started = ::poll(&p, 1, 20000) > 0 && ::read(ready, &byte, 1) == 1;
    ::close(ready);
    if (started) ::usleep(random() % 3000);
    int status = 0;
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(started) << "the saving child did not start";
    ASSERT_TRUE(WIFSIGNALED(status)) << "kill " << kill;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray now = file.readAll();
    ASSERT_TRUE(now == contents[0] || now == contents[1])
        << "after kill " << kill << ": " << now.toStdString();
    ++seen[now == contents[1]];
  }
  EXPECT_GT(seen[0], 0);
  EXPECT_GT(seen[1], 0);
}

// A full file system, played by a file size limit: the old file stays, and the next save writes
// the new one once there is room.
TEST(Faults, SaveOnAFullDiskKeepsTheOldFileAndTheNextSaveTriesAgain) {
  QTemporaryDir dir;
  const auto content = [&] {
    QFile f(dir.filePath("VQX.ini"));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<none>";
  };
  SettingsFileIo file(dir.filePath("VQX.ini"));
  ASSERT_TRUE(file.save(15, 15, ""));
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit full = saved;
  full.rlim_cur = 8;
  ::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &full);
  const bool written = file.save(1500, 2000, "/lang/English.lng");
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(written);
  EXPECT_EQ(content(), formatSettingsFile(15, 15, ""));
  EXPECT_TRUE(file.save(1500, 2000, "/lang/English.lng"));
  EXPECT_EQ(content(), formatSettingsFile(1500, 2000, "/lang/English.lng"));
}

}  // namespace
}  // namespace vqx
