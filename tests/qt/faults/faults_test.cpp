// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Attacks from outside: a full disk under the settings file's save (the old file stays whole),
// FIFOs, a lost device and its terminal's name given to another, signals.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <functional>
#include <thread>

#include "i18n/language_file.h"
#include "qt/app/end_on_signals.h"
#include "qt/app/qt_settings_store.h"
#include "qt/app/settings_file_io.h"
#include "qt/support/window_rig.h"

namespace vqx {
namespace {

// A full file system, played by a file size limit.
TEST(Faults, SaveOnAFullDiskKeepsTheOldFileAndTheNextSaveTriesAgain) {
  QTemporaryDir dir;
  SettingsFileIo file(dir.filePath("VQX.ini"));
  ASSERT_TRUE(file.save(15, 15, ""));
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit full{8, saved.rlim_max};
  ::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &full);
  EXPECT_FALSE(file.save(1500, 2000, "/x.lng"));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(file.read().top, " 15 ") << "the old file, whole";
  EXPECT_TRUE(file.save(1500, 2000, "/x.lng"));
  EXPECT_EQ(file.read().languageFile, "/x.lng");
}

// A FIFO that hands `content` to a reader that opens it. release() lets the writer go if no
// reader came, and tells whether one did.
struct FifoFeeder {
  FifoFeeder(const QString& file, const std::string& content) : path(file.toStdString()) {
    ::mkfifo(path.c_str(), 0600);
    writer = std::thread([this, content] {
      const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);  // waits for a reader
      met = !releasing;
      (void)!::write(fd, content.data(), content.size());
      ::close(fd);
    });
  }
  bool release() {
    releasing = true;
    const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    writer.join();
    ::close(reader);
    return met;
  }
  std::string path;
  std::thread writer;
  std::atomic<bool> releasing = false, met = false;
};

// What the program reads at startup, each a FIFO: never opened, read as nothing.
TEST(Faults, SpecialFilesAreNeverOpenedAndReadAsNothing) {
  testing::TemporaryUserSettings home;
  QDir().mkpath(home.path() + "/VQX16");
  const QString ini = home.path() + "/VQX16/VQX.ini", lng = home.path() + "/English.lng";
  // clang-format off
  const struct { QString path; std::string content; std::function<std::string()> read; } cases[] = {
      {ini, " 30 \r\n 20 \r\n/x.lng\r\n",
       [&] { return SettingsFileIo(ini).read().languageFile.value_or(""); }},
      {home.path() + "/VQX16/VQX16.conf", "[Properties]\nEcho=True\n",
       [] { return QtSettingsStore().value(kAppTitle, "Properties", "Echo"); }},
      {lng, "L1\r\nL2\r\n", [&] { return readLanguageFile(lng.toStdString()).pipMessage; }}};
  // clang-format on
  ::signal(SIGPIPE, SIG_IGN);  // a reader that leaves before the writer has written
  for (const auto& c : cases) {
    FifoFeeder fifo(c.path, c.content);
    const std::string read = c.read();
    EXPECT_EQ(read + (fifo.release() ? " (opened)" : ""), "") << c.path.toStdString();
  }
}

// The device's pseudo-terminal dies: the port closes, and the loss is reported once, naming the
// device, without spinning. Then the system gives its name to another terminal: that one is
// reported and left alone.
TEST(Faults, ALostDeviceClosesThePortOnceAndAnotherTerminalUnderItsNameIsLeftAlone) {
  auto lost = std::make_unique<testing::PseudoTerminal>();
  const std::string name = lost->path();
  testing::WindowRig rig(name);
  ASSERT_TRUE(rig.load().isVisible() && rig.serial.portOpen());
  lost.reset();
  // QSerialPort takes the kind of a failed read from errno, which a read at end of file leaves
  // as it was: with a stale "no such file" it once retried the read for ever.
  errno = ENOENT;
  ASSERT_TRUE(testing::waitFor([&] { return !rig.prompts.shown.empty(); }));
  EXPECT_NE(rig.prompts.shown[0].text.find(name), std::string::npos) << rig.prompts.shown[0].text;
  QElapsedTimer wall;
  wall.start();
  const std::clock_t cpu = std::clock();  // the processor time of the whole process
  QTest::qWait(1500);
  EXPECT_LT(double(std::clock() - cpu) / CLOCKS_PER_SEC, 0.25 * double(wall.elapsed()) / 1000);
  EXPECT_FALSE(rig.serial.portOpen());
  EXPECT_FALSE(rig.serial.output("x"));
  std::vector<std::unique_ptr<testing::PseudoTerminal>> others;  // until one takes the name
  do others.push_back(std::make_unique<testing::PseudoTerminal>());
  while (others.size() < 64 && others.back()->path() != name);
  const bool ours = others.back()->path() == name;  // or another test's, under ctest -j
  const auto told = [&] {
    return rig.prompts.shown[0].text.find("different") != std::string::npos;
  };
  ASSERT_TRUE(testing::waitFor(told)) << "the other terminal is reported";
  rig.click("Sette");
  EXPECT_FALSE(rig.serial.portOpen());
  if (ours) {
    EXPECT_EQ(others.back()->readFor(1500), "");
  }
  EXPECT_EQ(rig.prompts.shown.size(), 1u);
}

// A logout, a service manager or Ctrl+C ends the program as Exit does (dbus_test.sh sees the port
// closed first). Their handler cuts short a call that waits rather than resuming it, so the
// program ends even from inside one.
TEST(Faults, EndingSignalsAreCaughtAndNotResumedInsideACallThatWaits) {
  const EndOnSignals ending([] {});
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction action {};
    ::sigaction(sig, nullptr, &action);
    EXPECT_NE(action.sa_handler, SIG_DFL) << sig;
    EXPECT_EQ(action.sa_flags & SA_RESTART, 0) << sig;
  }
}

}  // namespace
}  // namespace vqx
