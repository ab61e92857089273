// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The serial control, alone and under the window, on a pseudo-terminal; the test is the device.
#include "qt/serial/qt_serial_control.h"

#include <asm/termbits.h>  // termios2, which tells custom speeds too; not with termios.h
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>

#include "qt/app/terminal_text_box.h"
#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"
#include "qt/support/window_rig.h"

namespace vqx {
namespace {

using testing::waitFor;

class SerialOnLine : public ::testing::Test {
 protected:
  void SetUp() override {
    store.setValue(kAppTitle, "Ports", "Com3", pty.path());
    ASSERT_TRUE(control.setCommPort(3));
    control.addListener(listener);
  }
  void open() {
    const Result r = control.setPortOpen(true);
    ASSERT_TRUE(r) << r.error();
  }
  // The device stops the line with XOFF. A byte after it tells when the line has taken it.
  void stopLine() {
    ASSERT_TRUE(pty.write("\x13z"));
    ASSERT_TRUE(waitFor([&] { return !events.empty(); }));
    (void)control.input();
  }

  // Hears the codes of the control's events; what was received waits for the test to read it.
  struct Listener : SerialListener {
    SerialOnLine& test;
    explicit Listener(SerialOnLine& t) : test(t) {}
    void commEvent() override { test.events.push_back(test.control.commEvent()); }
  };

  testing::PseudoTerminal pty;
  testing::FakeSettingsStore store;
  QtSerialControl control{store};
  std::vector<int> events;
  Listener listener{*this};
};

TEST_F(SerialOnLine, LineSettingsHandshakingAndPortNumberReachTheLineOrAreRefused) {
  // A pseudo-terminal keeps no parity-enable bit and refuses a request whose only change is
  // that bit, so the rows change parity in an order that always changes another bit too.
  // Each row: settings (the speed first) and handshaking; then the flags of interest the line has.
  const struct {
    const char* settings = "";
    int handshaking = 0;
    tcflag_t cflag = 0;
    tcflag_t iflag = 0;
  } cases[] = {
      // clang-format off
      {.settings = "9600,n,8,1", .cflag = CS8},
      {.settings = "19200,m,8,2", .handshaking = 1, .cflag = CS8 | CMSPAR | PARODD | CSTOPB,
       .iflag = IXON | IXOFF},
      {.settings = "256000,e,8,1", .handshaking = 3, .cflag = CS8 | CRTSCTS, .iflag = IXON | IXOFF},
      {.settings = "110,s,8,1", .handshaking = 2, .cflag = CS8 | CMSPAR | CRTSCTS},
      {.settings = "56000,o,8,2", .cflag = CS8 | PARODD | CSTOPB},
      {.settings = "128000,n,8,1", .handshaking = 1, .cflag = CS8, .iflag = IXON | IXOFF},
      // clang-format on
  };
  for (bool openFirst : {true, false}) {  // given to an open port, or applied on opening
    ASSERT_TRUE(control.setPortOpen(openFirst));
    for (const auto& c : cases) {
      ASSERT_TRUE(control.setSettings(c.settings) && control.setHandshaking(c.handshaking));
      if (!openFirst) open();
      termios2 tio{};
      ::ioctl(pty.terminalFd(), TCGETS2, &tio);
      // Without parity the odd-parity bit means nothing and may stay.
      const bool parity = std::string(c.settings).find(",n,") == std::string::npos;
      const tcflag_t cbits = CSIZE | CMSPAR | CSTOPB | CRTSCTS | (parity ? PARODD : 0);
      EXPECT_EQ(long(tio.c_ospeed), std::stol(c.settings));
      EXPECT_EQ(tio.c_cflag & cbits, c.cflag & cbits) << c.settings;
      EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | IXANY), c.iflag) << c.settings;
      EXPECT_EQ(control.settings(), c.settings);
      ASSERT_TRUE(openFirst || control.setPortOpen(false));
    }
  }
  // What the line cannot take is refused, and the settings stay as they were; the port number
  // is 1 to 255 and fixed while the port is open.
  open();
  for (const char* refused : {"9600,n,4,1", "9600,n,8,1.5", "9600,q,8,1", "0,n,8,1"})
    EXPECT_FALSE(control.setSettings(refused)) << refused;
  EXPECT_FALSE(control.setHandshaking(4));
  for (int port : {0, -1, 256, 1}) EXPECT_FALSE(control.setCommPort(port)) << port;
  EXPECT_FALSE(control.setPortOpen(true));
  EXPECT_EQ(control.settings() + " " + std::to_string(control.handshaking()) + " " +
                std::to_string(control.commPort()),
            "128000,n,8,1 1 3");
  ASSERT_TRUE(control.setPortOpen(false) && control.setCommPort(255) && control.setCommPort(3));
  // Settings the line does not take fail the opening, as they fail on the open port.
  open();
  EXPECT_EQ(control.setSettings("19200,o,7,2").error(),
            "Cannot set 19200,o,7,2 on " + pty.path() + ": Invalid argument");
  ASSERT_TRUE(control.setPortOpen(false) && control.setSettings("19200,o,7,2"));
  EXPECT_EQ(control.setPortOpen(true).error(),
            "Com3 (" + pty.path() +
                ") does not take the line settings 19200,o,7,2. Choose others under Port > "
                "Properties.");
  EXPECT_FALSE(control.portOpen());
}

// Up to 512 bytes wait to be sent. Closing drops what waits in both directions: a stale status
// frame must not be read as news after the port is opened again. Every byte value goes both ways
// unchanged. The receive queue keeps the newest 1024 bytes: the device's latest status is what
// counts.
TEST_F(SerialOnLine, QueuesKeepTheirSizesClosingDropsBothAndEveryByteGoesBothWays) {
  ASSERT_TRUE(control.setHandshaking(1));
  open();
  stopLine();
  ASSERT_TRUE(control.output(std::string(kSendQueueSize - 2, 'a')));
  EXPECT_FALSE(control.output("bcd")) << "refused whole, not cut";
  EXPECT_TRUE(control.output("bc"));
  EXPECT_FALSE(control.output("!"));
  EXPECT_EQ(control.outBufferCount(), kSendQueueSize);
  EXPECT_EQ(pty.readFor(200), "");
  ASSERT_TRUE(pty.write("\x11"));
  EXPECT_EQ(pty.read(kSendQueueSize), std::string(kSendQueueSize - 2, 'a') + "bc");
  EXPECT_TRUE(waitFor([&] { return control.outBufferCount() == 0; }));
  events.clear();
  stopLine();
  ASSERT_TRUE(pty.write("\xFE\x7F\x7F\x3F"));
  ASSERT_TRUE(waitFor([&] { return events.size() >= 2; }));
  ASSERT_TRUE(control.output("dropped"));
  ASSERT_TRUE(control.setPortOpen(false));
  EXPECT_EQ(control.outBufferCount(), 0);
  ASSERT_TRUE(control.setHandshaking(0));
  open();
  EXPECT_EQ(control.input(), "");
  ASSERT_TRUE(pty.write("\x11"));
  ASSERT_TRUE(control.output("kept"));
  EXPECT_EQ(pty.read(20, 1000), "kept");

  std::string all, sent;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  for (char c : all) ASSERT_TRUE(control.output(std::string_view(&c, 1)));
  EXPECT_EQ(pty.read(all.size()), all);
  for (int i = 0; i < 2744; ++i) sent.push_back(static_cast<char>(i % 251));
  ASSERT_TRUE(pty.write(sent += all));
  ASSERT_TRUE(waitFor([&] { return std::count(events.begin(), events.end(), kCommErrorRxOver); }));
  std::string got = control.input();
  EXPECT_EQ(got.size(), std::size_t(kReceiveQueueSize));
  waitFor([&] { return (got += control.input()).size() >= 2000; }, 1000);  // what came later
  EXPECT_EQ(got, sent.substr(sent.size() - got.size()));
}

// Root opens any node whatever its mode; without these two capabilities, in this thread alone
// (the one that opens the port), the node's mode counts for root too.
bool fileAccessOverride(bool on) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct caps[2]{};
  if (::syscall(SYS_capget, &header, caps) != 0) return false;
  const unsigned bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
  caps[0].effective =
      on ? caps[0].effective | (caps[0].permitted & bits) : caps[0].effective & ~bits;
  return ::syscall(SYS_capset, &header, caps) == 0;
}

// A mapping written into [Ports] by hand that leads to no serial line, the line unreadable, held
// by another program with flock (as minicom and picocom hold it), or a lock file in the way as
// they and Qt write them: the opening names the port and its device, says what is wrong and what
// to do, or goes ahead when nothing alive holds the line.
TEST_F(SerialOnLine, NoSerialLineAnUnreadableOrHeldLineOrALockFileInTheWayIsReportedWithWhatToDo) {
  const std::string dev = pty.path();
  const std::string number = dev.substr(9);  // /dev/pts/N
  const std::string lock = "/run/lock/LCK..pts_" + number;
  const std::string uucp = "/run/lock/LCK.." + number;
  const std::string proc = "/proc/self/fd/" + std::to_string(pty.terminalFd());
  struct stat node {};
  ASSERT_EQ(::stat(dev.c_str(), &node), 0);
  std::unique_ptr<testing::SimProcess> holder;
  const auto inUse = [&](const std::string& who) {
    return "Com3 (" + dev + ") is in use by another program (" + who +
           "). Close that program, or choose another port under Port > Properties.";
  };
  // What a row needs besides the line: lock files written in /run/lock, or a test that can give
  // up reading every node (root can, through its capabilities).
  const std::string lockFolder = "a writable /run/lock";
  const std::string unreadable = "a node this test cannot read";
  // clang-format off
  const struct { std::string needs; std::function<void()> setUp; std::string outcome; } cases[] = {
      {"", [&] { store.setValue(kAppTitle, "Ports", "Com3", proc); }, "Com3 (" + proc + ") is not "
       "opened: " + proc + " leads into /proc, the system's view of running programs, not to a "
       "serial device. Choose another device under Port > Properties."},
      {"", [&] {
         holder = std::make_unique<testing::SimProcess>(
             std::vector<std::string>{"-F", dev, "sh", "-c", "echo held; exec sleep 600"},
             "/usr/bin/flock");
         ASSERT_EQ(holder->readLine(), "held");
       }, inUse("it holds the line locked")},
      {lockFolder, [&] { std::ofstream(uucp) << "         1\n"; },
       inUse("process 1, lock file " + uucp)},
      {lockFolder, [&] { std::ofstream(lock) << "1\nminicom\nhost\n"; },
       inUse("process 1, lock file " + lock)},
      {lockFolder, [&] { std::ofstream(lock) << "2147483647\nvqx16\nhost\n"; }, "open"},  // dead
      {lockFolder, [&] { std::ofstream(lock) << "garbage"; }, "open"},
      {lockFolder, [&] { ASSERT_EQ(::symlink("/nowhere", lock.c_str()), 0); }, "open"},
      {lockFolder, [&] { ASSERT_EQ(::mkdir(lock.c_str(), 0755), 0); },
       "Com3 (" + dev + ") cannot be locked: " + lock + " is a folder, not a lock file: remove it "
       "to use the port"},
      {unreadable, [&] { ASSERT_EQ(::chmod(dev.c_str(), 0), 0); }, "Com3 (" + dev + ") cannot be "
       "opened: permission denied. Add your user to the dialout group, then log out and log in "
       "again."}};
  // clang-format on
  for (const auto& c : cases) {
    const bool missing = (c.needs == lockFolder && ::access("/run/lock", W_OK) != 0) ||
                         (c.needs == unreadable && !fileAccessOverride(false));
    if (missing) {
      std::cout << "Row left out, as it needs " << c.needs << ": " << c.outcome << "\n";
      continue;
    }
    c.setUp();
    const Result r = control.setPortOpen(true);
    EXPECT_EQ(r ? "open" : r.error(), c.outcome);
    fileAccessOverride(true);
    ::chmod(dev.c_str(), node.st_mode & 07777);
    ASSERT_TRUE(control.setPortOpen(false));
    store.setValue(kAppTitle, "Ports", "Com3", dev);
    holder.reset();
    std::filesystem::remove(lock);
    std::filesystem::remove(uucp);
  }
}

// A key as the keyboard gives it: to an open menu, else to the widget with the focus, else to
// the active window; nowhere when no window of the program is active.
// A digit's key types its digit, Ctrl or not, as a desktop's keyboard gives it.
void key(QEvent::Type type, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* to = QApplication::activePopupWidget();
  if (to == nullptr) to = QApplication::focusWidget();
  if (to == nullptr) to = QApplication::activeWindow();
  const bool digit = code >= Qt::Key_0 && code <= Qt::Key_9;
  QKeyEvent event(type, code, modifiers, digit ? QString(QChar(code)) : QString());
  if (to != nullptr) QApplication::sendEvent(to, &event);
}

void typeKey(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  key(QEvent::KeyPress, code, modifiers);
  key(QEvent::KeyRelease, code, modifiers);
}

// The operator who cannot or will not use the mouse: a camera, the four-picture key and the port
// settings with the keyboard alone. Then the device holds the line with XOFF and reads nothing
// while a screen key is held, and the window is closed, twice. Retry, the line let go: every
// command arrives whole, none lost.
TEST(WindowOnLine, TheKeyboardAloneDrivesItAndClosingOnAHeldLineWaitsForEveryWholeCommand) {
  testing::PseudoTerminal pty;
  testing::WindowRig rig(pty.path(), 1);
  testing::SteppingPump pump;  // ten seconds pass in ten waits
  rig.closePump = &pump;
  MainWindow& window = rig.load();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

  // Camera 12: Ctrl held, 1 and 2 typed, even where typed characters go to the line. The key
  // says so to the eye and to the ear.
  const PanelKey* twelve = window.panel()->key("Dodici");
  EXPECT_TRUE(twelve->toolTip().endsWith("Keyboard: hold Ctrl and type 12."));
  EXPECT_TRUE(twelve->accessibleDescription().endsWith("Keyboard: hold Ctrl and type 12."));
  window.terminalBox()->setFocus();
  key(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
  typeKey(Qt::Key_1, Qt::ControlModifier);
  typeKey(Qt::Key_2, Qt::ControlModifier);
  // The four-picture key is the down arrow's.
  key(QEvent::KeyPress, Qt::Key_Down, Qt::ControlModifier);
  key(QEvent::KeyRelease, Qt::Key_Down, Qt::ControlModifier);
  key(QEvent::KeyRelease, Qt::Key_Control);
  EXPECT_EQ(pty.read(6), "/12/22");
  EXPECT_FALSE(window.panel()->key("QuattroScreen")->isDown()) << "let go with its arrow";

  // The port settings from the menu's access keys; Enter with nothing changed is OK, and the
  // same again with the next speed chosen.
  QPointer<QComboBox> speed;
  QTimer leftovers;  // a dialog still up after Enter is closed, so that the test goes on to fail
  QObject::connect(&leftovers, &QTimer::timeout, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
  });
  const auto openPortSettings = [&](int speedSteps) {
    window.activateWindow();  // as the desktop does when a dialog has closed
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    typeKey(Qt::Key_P, Qt::AltModifier);
    ASSERT_TRUE(waitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    typeKey(Qt::Key_Down);  // from "Open Port" to "Properties..."
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      speed = dialog->findChild<QComboBox*>("cboSpeed");
      ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == dialog; }));
      if (speedSteps > 0) {
        typeKey(Qt::Key_Tab);  // from the port list, past its Device... button
        typeKey(Qt::Key_Tab);
      }
      for (int i = 0; i < speedSteps; ++i) typeKey(Qt::Key_Down);
      leftovers.start(100);
      typeKey(Qt::Key_Return);
    });
    typeKey(Qt::Key_Return);
    leftovers.stop();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };
  openPortSettings(0);
  EXPECT_TRUE(speed.isNull()) << "Enter left the dialog up";
  EXPECT_EQ(rig.store.value(kAppTitle, "Properties", "Settings"), "9600,n,8,1");
  openPortSettings(1);
  EXPECT_TRUE(speed.isNull()) << "Enter left the dialog up";
  EXPECT_EQ(rig.store.value(kAppTitle, "Properties", "Settings"), "14400,n,8,1");
  EXPECT_EQ(rig.serial.settings(), "14400,n,8,1");

  const auto drained = [&] { return rig.serial.outBufferCount() == 0; };
  std::string whole(8 * kSendQueueSize, 'f');  // more than the device's input buffer holds
  for (int i = 0; i < 8; ++i)
    ASSERT_TRUE(rig.serial.output(whole.substr(0, kSendQueueSize)) && waitFor(drained));
  ASSERT_TRUE(pty.write("\x13z"));  // XOFF, and a byte that tells when the line has taken it
  ASSERT_TRUE(waitFor([&] { return !window.terminalBox()->box().text().empty(); }));
  QSignalSpy ticks(window.findChild<QTimer*>("TimerUp"), &QTimer::timeout);
  QTest::mousePress(window.findChild<QWidget*>("Pip"), Qt::LeftButton);
  ASSERT_TRUE(waitFor([&] { return ticks.count() > kSendQueueSize / 3 + 5; }));  // full, and on
  QTest::mouseRelease(window.findChild<QWidget*>("Pip"), Qt::LeftButton);
  EXPECT_GE(rig.serial.outBufferCount(), kSendQueueSize - 2) << "the held key repeated";
  for (int held = rig.serial.outBufferCount(); held > 0; held -= 3) whole += "/PP";
  bool busy = false;  // the second close changed nothing, and the window showed that it waits
  pump.onWait = [&](int n) {
    if (n == 1) busy = !window.close() && window.isVisible() && window.cursor() == Qt::BusyCursor;
    if (n == 11 && pty.write("\x11")) waitFor(drained);
  };
  rig.prompts.answers = {PromptAnswer::Retry};
  EXPECT_FALSE(window.close());
  ASSERT_TRUE(waitFor([&] { return rig.ended > 0; }));
  EXPECT_TRUE(busy);
  EXPECT_EQ(pty.read(whole.size()), whole);
}

}  // namespace
}  // namespace vqx
