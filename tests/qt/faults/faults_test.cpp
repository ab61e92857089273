// Faults the program must survive without losing anything: a crash in the middle of saving the
// settings file, a device that vanishes under an open port with output queued, a port held by a
// second instance, a flood of random bytes on the line, and garbage in every stored setting.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstdio>
#include <random>

#include "app/settings_file.h"
#include "qt/app/qt_settings_store.h"
#include "qt/app/terminal_text_box.h"
#include "qt/support/window_rig.h"
#include "qt/support/pseudo_terminal.h"
#include "qt/support/temporary_user_settings.h"

namespace vqx {
namespace {

using testing::cpuSeconds;
using testing::PseudoTerminal;
using testing::residentKb;
using testing::WindowRig;

constexpr char kXoff = 0x13;

// AddressSanitizer keeps freed memory in quarantine, so resident memory says nothing about the
// program under it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUnderAddressSanitizer = true;
#else
constexpr bool kUnderAddressSanitizer = false;
#endif
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

QByteArray fileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Starts the saving child on `path`; returns its pid and the read end of its standard output.
pid_t startSaver(const QString& path, int* readyFd) {
  *readyFd = -1;
  int out[2];
  if (::pipe(out) != 0) return -1;
  const QByteArray file = path.toLocal8Bit();
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(out[0]);
    ::close(out[1]);
    return -1;
  }
  if (pid == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives a test that dies itself
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::execl(VQX16_SETTINGS_SAVE_CHILD_PATH, VQX16_SETTINGS_SAVE_CHILD_PATH, file.constData(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  *readyFd = out[0];
  return pid;
}

TEST(Faults, SaveKilledAtAnyMomentLeavesTheOldOrTheNewFileWhole) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // What the child alternates between (see tests/helpers/settings_save_child.cpp).
  const QByteArray first = QByteArray::fromStdString(
      formatSettingsFile(1500, 2000, "/usr/share/vqx16/lang/English.lng"));
  const QByteArray second = QByteArray::fromStdString(formatSettingsFile(-30000, 32000, ""));

  // Four savers at a time, each on a file of its own, so the 200 kills take little time.
  constexpr int kAtOnce = 4;
  constexpr int kKills = 200;
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> momentUs(0, 3000);
  int seenFirst = 0, seenSecond = 0;
  for (int batch = 0; batch < kKills / kAtOnce; ++batch) {
    pid_t children[kAtOnce];
    int ready[kAtOnce];
    for (int i = 0; i < kAtOnce; ++i) {
      children[i] = startSaver(dir.filePath(QStringLiteral("VQX%1.ini").arg(i)), &ready[i]);
    }
    // Every child is killed and reaped before anything is checked, so a failure leaves none
    // of them running.
    bool started[kAtOnce];
    int status[kAtOnce] = {};
    for (int i = 0; i < kAtOnce; ++i) {
      // Once it has saved at least once the file is there; from then on any moment will do.
      pollfd p{ready[i], POLLIN, 0};
      char byte = 0;
      started[i] = children[i] > 0 && ::poll(&p, 1, 5000) > 0 && ::read(ready[i], &byte, 1) == 1;
      if (ready[i] >= 0) ::close(ready[i]);
      if (started[i]) ::usleep(static_cast<useconds_t>(momentUs(random)));
      if (children[i] > 0) {
        ::kill(children[i], SIGKILL);
        ::waitpid(children[i], &status[i], 0);
      }
    }
    for (int i = 0; i < kAtOnce; ++i) {
      const int kill = batch * kAtOnce + i;
      ASSERT_TRUE(started[i]) << "the saving child did not start";
      ASSERT_TRUE(WIFSIGNALED(status[i]) && WTERMSIG(status[i]) == SIGKILL) << "kill " << kill;
      const QByteArray now = fileBytes(dir.filePath(QStringLiteral("VQX%1.ini").arg(i)));
      if (now == first) {
        ++seenFirst;
      } else if (now == second) {
        ++seenSecond;
      } else {
        FAIL() << "after kill " << kill << " the file holds \"" << now.toStdString() << "\"";
      }
    }
  }
  // Both contents were caught, so the kills fell between saves of either kind.
  EXPECT_GT(seenFirst, 0);
  EXPECT_GT(seenSecond, 0);
  const auto leftovers = QDir(dir.path()).entryList(QDir::Files).size() - kAtOnce;
  std::printf("%d kills: %d times the first content, %d the second; %lld temporary files left\n",
              kKills, seenFirst, seenSecond, static_cast<long long>(leftovers));
}

TEST(Faults, VanishedDeviceWithQueuedOutputClosesThePortOnceAndCostsNothing) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.isOpen());
  // The port names a link to the line, gone with the device: the line's own name may come back
  // at once for another test's pseudo-terminal, and link recovery would rightly open that.
  QTemporaryDir dir;
  const std::string link = dir.filePath("ttyVQX16").toStdString();
  ASSERT_EQ(::symlink(pty.path().c_str(), link.c_str()), 0);
  WindowRig rig(link, /*handshaking=*/1);
  frmTerminal& window = rig.load();
  ASSERT_TRUE(rig.serial.portOpen());
  ASSERT_TRUE(rig.checked());

  // The device stops the line, then commands queue up.
  ASSERT_TRUE(pty.write(std::string(1, kXoff)));
  QTest::qWait(100);
  for (int i = 0; i < 20; ++i) rig.click("Cinque");
  ASSERT_EQ(rig.serial.outBufferCount(), 60);

  pty.closeDevice();
  ::unlink(link.c_str());
  errno = ENOENT;  // a stale errno once made QSerialPort retry a failed read for ever
  ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.serial.portOpen(); }, 3000));

  QElapsedTimer wall;
  wall.start();
  const double cpuBefore = cpuSeconds();
  QTest::qWait(2500);
  const double cpu = cpuSeconds() - cpuBefore;
  const double elapsed = static_cast<double>(wall.elapsed()) / 1000.0;
  std::printf("after the loss: %.3f s of processor time in %.3f s\n", cpu, elapsed);
  EXPECT_LT(cpu, 0.05 * elapsed);

  ASSERT_EQ(rig.prompts.shown.size(), 1u);
  EXPECT_EQ(rig.prompts.shown[0].icon, PromptIcon::Exclamation);
  EXPECT_EQ(rig.prompts.shown[0].caption, "VQX16");
  EXPECT_NE(rig.prompts.shown[0].text.find(link), std::string::npos);
  EXPECT_FALSE(rig.checked());
  EXPECT_EQ(rig.serial.outBufferCount(), 0);
  std::int16_t code = 'x';
  window.txtTerm_KeyPress(code);  // a closed port takes nothing, and says nothing
  EXPECT_EQ(code, 'x');

  // A new far end on another line; the operator opens the port on it.
  ASSERT_TRUE(pty.reopen());
  rig.mapPort(pty.path());
  rig.clickOpen();
  ASSERT_TRUE(rig.serial.portOpen());
  EXPECT_TRUE(rig.checked());
  rig.click("Cinque");
  EXPECT_EQ(pty.read(3), "/05") << "XOFF and the old queue belong to the old line";
  EXPECT_EQ(rig.prompts.shown.size(), 1u);
}

TEST(Faults, PortHeldByASecondInstanceIsReportedOnceAndTheFirstGoesOn) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.isOpen());
  WindowRig first(pty.path());
  first.load();
  ASSERT_TRUE(first.serial.portOpen());

  WindowRig second(pty.path());
  second.load();  // its startup's TogglePort
  ASSERT_EQ(second.prompts.shown.size(), 1u);
  EXPECT_EQ(second.prompts.shown[0].icon, PromptIcon::Exclamation);
  EXPECT_FALSE(second.prompts.shown[0].text.empty());
  EXPECT_FALSE(second.checked());
  EXPECT_FALSE(second.serial.portOpen());

  second.clickOpen();  // the operator tries again: one more report, mark still off
  EXPECT_EQ(second.prompts.shown.size(), 2u);
  EXPECT_FALSE(second.checked());
  EXPECT_FALSE(second.window().waitingForDevice()) << "a busy port is no lost device";

  second.click("Uno");  // nothing goes out of the second
  first.click("Cinque");
  EXPECT_EQ(pty.read(3), "/05");
  EXPECT_EQ(pty.readFor(100), "");
  EXPECT_TRUE(first.prompts.shown.empty());
  EXPECT_TRUE(first.checked());
}

TEST(Faults, TenMegabytesOfRandomBytesLeaveTheWindowWorkingAndMemoryFlat) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.isOpen());
  WindowRig rig(pty.path());
  rig.load();
  ASSERT_TRUE(rig.serial.portOpen());

  std::mt19937 random(2024);
  std::string block(64 * 1024, '\0');
  const auto fill = [&] {
    for (char& c : block) c = static_cast<char>(random() & 0xff);
  };
  // Writes `total` bytes as fast as the line takes them, running the window meanwhile.
  const auto flood = [&](std::size_t total) {
    std::size_t sent = 0, offset = block.size();
    while (sent < total) {
      if (offset == block.size()) {
        fill();
        offset = 0;
      }
      const std::size_t want = std::min(block.size() - offset, total - sent);
      const ssize_t n = ::write(pty.deviceFd(), block.data() + offset, want);
      if (n > 0) {
        sent += static_cast<std::size_t>(n);
        offset += static_cast<std::size_t>(n);
      } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
        return false;
      }
      QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    QTest::qWait(50);
    return true;
  };

  ASSERT_TRUE(flood(256 * 1024));  // every code path once, so first-use allocations are done
  const long before = residentKb();
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(flood(10 * 1024 * 1024));
  const qint64 floodMs = clock.elapsed();
  const long after = residentKb();
  std::printf("10 MB of random bytes in %lld ms; resident memory %ld kB -> %ld kB\n",
              static_cast<long long>(floodMs), before, after);
  EXPECT_GT(before, 0);
  if (!kUnderAddressSanitizer) {
    EXPECT_LT(after - before, 5 * 1024);
  }
  EXPECT_TRUE(rig.serial.portOpen());
  EXPECT_TRUE(rig.prompts.shown.empty());

  EXPECT_EQ(pty.readFor(50), "") << "the program answered nothing";
  clock.restart();
  rig.click("Cinque");
  const std::string got = pty.read(3, 100);
  std::printf("camera click after the flood reached the line in %lld ms\n",
              static_cast<long long>(clock.elapsed()));
  EXPECT_EQ(got, "/05");
}

// The startup with the real stored settings (a hand-edited VQX16.conf) and a settings file
// full of garbage: only the startup's own reports, each once, and the port opened whenever the
// startup gets that far.
TEST(Faults, GarbageInTheStoredSettingsAndTheSettingsFileGivesOnlyTheStartupsReports) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.isOpen());
  const QByteArray ports = "\n[Ports]\nCom1=" + QByteArray::fromStdString(pty.path()) + "\n";
  const QByteArray binary("\x00\x01\xff\xfe\x7f\x80\x1b[2J\x00", 11);

  const struct {
    const char* what;
    QByteArray conf;  // the [Properties] part; the [Ports] part maps Com1 to the line
    std::vector<std::string> reports;
    bool portOpen;
    bool echo;
  } cases[] = {
      {"nothing stored", "", {}, true, false},
      {"unquoted list",
       "[Properties]\nSettings=9600,n,8,1\nCommPort=1\nHandshaking=0\nEcho=True\n",
       {},
       true,
       true},
      {"quoted text", "[Properties]\nSettings=\"19200,n,8,2\"\nEcho=-1\n", {}, true, true},
      {"settings no line format", "[Properties]\nSettings=fast\nEcho=True\n", {"*"}, false, false},
      {"settings huge speed",
       "[Properties]\nSettings=99999999999999999999999,n,8,1\n",
       {"*"},
       false,
       false},
      {"settings binary", "[Properties]\nSettings=" + binary + "\n", {"*"}, false, false},
      {"settings list of five", "[Properties]\nSettings=9600,n,8,1,1\n", {"*"}, false, false},
      {"port no number, no handshaking", "[Properties]\nCommPort=abc\n", {}, true, false},
      {"port huge, no handshaking",
       "[Properties]\nCommPort=99999999999999999999\n",
       {},
       true,
       false},
      {"port no number with handshaking",
       "[Properties]\nCommPort=abc\nHandshaking=0\n",
       {"Type mismatch"},
       false,
       false},
      {"port huge with handshaking",
       "[Properties]\nCommPort=99999999999999999999\nHandshaking=0\n",
       {"Overflow"},
       false,
       false},
      {"port out of range with handshaking",
       "[Properties]\nCommPort=0\nHandshaking=0\n",
       {"*"},
       false,
       false},
      {"handshaking huge", "[Properties]\nHandshaking=4294967296\n", {"Overflow"}, false, false},
      {"handshaking out of range", "[Properties]\nHandshaking=7\n", {"*"}, false, false},
      {"handshaking list", "[Properties]\nHandshaking=1,2\n", {"Type mismatch"}, false, false},
      {"handshaking binary",
       "[Properties]\nHandshaking=" + binary + "\n",
       {"Type mismatch"},
       false,
       false},
      {"echo garbage", "[Properties]\nEcho=" + binary + "\n", {}, true, false},
      {"echo list", "[Properties]\nEcho=True,False\n", {}, true, false},
      {"echo huge number", "[Properties]\nEcho=1e999999\n", {}, true, true},
      {"whole file binary",
       binary + "\n" + binary + "=" + binary + "\n[" + binary + "]\n",
       {},
       true,
       false},
      // A section header without its bracket still opens the section, so this is a Settings.
      {"section header without end", "[Properties\nSettings=fast\n[[[\n===\n", {"*"}, false, false},
  };

  const QByteArray iniCases[] = {
      QByteArray(),
      binary,
      QByteArray(" 99999999999999999999 \r\n -99999999999999999999 \r\n") + binary + "\r\n",
      QByteArray(" 1500 \r\n 1500 \r\n") + QByteArray(100000, 'x') + "\r\n",
      QByteArray("abc\r\ndef\r\n/no/such/folder/lang.lng\r\n"),
      QByteArray(" 1e9 \r\n nan \r\n") + QByteArray("\xc3\x28\xa0\xa1.lng", 7) + "\r\n",
      QByteArray("\r\r\r\r\n\n\n"),
  };

  // Each stored-settings case with the next settings file in turn: every settings file meets
  // several kinds of stored settings.
  std::size_t next = 0;
  for (const auto& c : cases) {
    for (int round = 0; round < 2; ++round) {
      const std::size_t iniIndex = next++ % std::size(iniCases);
      const QByteArray& ini = iniCases[iniIndex];
      SCOPED_TRACE(std::string(c.what) + ", settings file " + std::to_string(iniIndex));
      testing::TemporaryUserSettings home;  // a new file name each time, so nothing is cached
      ASSERT_TRUE(home.isValid());
      ASSERT_TRUE(QDir().mkpath(home.path() + "/VQX16"));
      {
        QFile conf(home.path() + "/VQX16/VQX16.conf");
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write(c.conf + ports);
      }
      QTemporaryDir dir;
      {
        QFile f(dir.filePath("VQX.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ini);
      }

      QtSettingsStore store;
      {
        QtSerialControl serial(store);
        testing::FakePrompts prompts;
        frmTerminal window(
            TerminalDependencies{serial, store, prompts, dir.filePath("VQX.ini"), [] {}});
        window.Form_Load();
        window.TimerMove_Timer();  // a save with whatever was read
        QCoreApplication::processEvents();

        ASSERT_EQ(prompts.shown.size(), c.reports.size());
        for (std::size_t i = 0; i < c.reports.size(); ++i) {
          EXPECT_EQ(prompts.shown[i].icon, PromptIcon::Exclamation);
          EXPECT_FALSE(prompts.shown[i].text.empty());
          if (c.reports[i] != "*") {
            EXPECT_EQ(prompts.shown[i].text, c.reports[i]);
          }
        }
        EXPECT_EQ(serial.portOpen(), c.portOpen);
        EXPECT_EQ(window.findChild<QAction*>("mnuOpen")->isChecked(), c.portOpen);
        EXPECT_EQ(window.Echo(), c.echo);
      }
    }
  }
}

}  // namespace
}  // namespace vqx
