// Link recovery in the running window: the device that vanished from under the open port comes
// back on the same path, and the port is open again with no second report and nothing to do.
#include <unistd.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "qt/support/window_rig.h"
#include "qt/support/pseudo_terminal.h"
#include "qt/support/sim_process.h"

namespace vqx {
namespace {

using testing::PseudoTerminal;
using testing::SimProcess;
using testing::WindowRig;

// The longest a lost device may take to be found again: one look a second, and some slack for a
// busy machine.
constexpr int kFoundWithinMs = 4000;

TEST(LinkRecoveryWindow, SimulatorRestartedOnTheSameLinkIsReopenedWithoutASecondReport) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string link = dir.filePath("multiplexer").toStdString();

  auto sim = std::make_unique<SimProcess>(std::vector<std::string>{"--link", link, "--log"});
  ASSERT_FALSE(sim->readLine().empty());
  WindowRig rig(link);
  rig.load();
  ASSERT_TRUE(rig.serial.portOpen());
  rig.click("Cinque");
  ASSERT_TRUE(sim->logShows("/05")) << sim->log();

  // The simulator stops: its line goes, and with it the link.
  EXPECT_EQ(sim->stop(), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.prompts.shown.empty(); }, 3000));
  EXPECT_FALSE(rig.serial.portOpen());
  EXPECT_FALSE(rig.checked());
  EXPECT_TRUE(rig.window().waitingForDevice());
  QTest::qWait(1200);  // a look or two with nothing there
  EXPECT_FALSE(rig.serial.portOpen());

  // Started again on the same link (a new pseudo-terminal behind it).
  sim = std::make_unique<SimProcess>(std::vector<std::string>{"--link", link, "--log"});
  ASSERT_FALSE(sim->readLine().empty());
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.serial.portOpen(); }, kFoundWithinMs));
  EXPECT_TRUE(rig.checked());
  EXPECT_FALSE(rig.window().waitingForDevice());
  EXPECT_FALSE(rig.window().findChild<QTimer*>("linkRecoveryTimer")->isActive());
  EXPECT_EQ(rig.prompts.shown.size(), 1u) << "no second report";

  rig.click("Sedici");
  EXPECT_TRUE(sim->logShows("/16")) << sim->log();
  EXPECT_EQ(rig.prompts.shown.size(), 1u);
}

// A pseudo-terminal behind a symbolic link the test moves, as a device coming and going on one
// path; quicker than the simulator, and the test decides when the device is back.
class SwitchedLine {
 public:
  SwitchedLine() : path_(dir_.filePath("line").toStdString()) { plugIn(); }
  const std::string& path() const { return path_; }
  PseudoTerminal& line() { return *line_; }
  void pullOut() {
    line_.reset();
    ::unlink(path_.c_str());
  }
  bool plugIn() {
    line_ = std::make_unique<PseudoTerminal>();
    ::unlink(path_.c_str());
    return line_->isOpen() && ::symlink(line_->path().c_str(), path_.c_str()) == 0;
  }

 private:
  QTemporaryDir dir_;
  std::string path_;
  std::unique_ptr<PseudoTerminal> line_;
};

TEST(LinkRecoveryWindow, APortTheOperatorClosedOrMovedStaysClosed) {
  const struct {
    const char* what;
    std::function<void(WindowRig&)> act;  // after the loss, before the device is back
  } cases[] = {
      {"mnuOpen while the device is away", [](WindowRig& rig) { rig.clickOpen(); }},
      {"Exit command", [](WindowRig& rig) { rig.window().mnuFileExit_Click(); }},
      {"another port number", [](WindowRig& rig) { ASSERT_TRUE(rig.serial.setCommPort(2)); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SwitchedLine device;
    WindowRig rig(device.path());
    rig.load();
    ASSERT_TRUE(rig.serial.portOpen());
    device.pullOut();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.prompts.shown.empty(); }, 3000));
    const std::size_t reports = rig.prompts.shown.size();
    c.act(rig);
    ASSERT_TRUE(device.plugIn());
    rig.window().checkLostDevice();  // what the recovery timer would do, had it still run
    QCoreApplication::processEvents();
    EXPECT_FALSE(rig.serial.portOpen());
    EXPECT_FALSE(rig.window().findChild<QTimer*>("linkRecoveryTimer")->isActive());
    EXPECT_FALSE(rig.checked());
    EXPECT_FALSE(rig.window().waitingForDevice());
    EXPECT_GE(rig.prompts.shown.size(), reports);
  }

  // And a port closed with mnuOpen while the device was there is not watched at all.
  SwitchedLine device;
  WindowRig rig(device.path());
  rig.load();
  rig.clickOpen();
  ASSERT_FALSE(rig.serial.portOpen());
  device.pullOut();
  ASSERT_TRUE(device.plugIn());
  rig.window().checkLostDevice();
  QCoreApplication::processEvents();
  EXPECT_FALSE(rig.serial.portOpen());
  EXPECT_FALSE(rig.window().waitingForDevice());
  EXPECT_TRUE(rig.prompts.shown.empty());
}

// The real report is a modal box: the event loop runs while it is up. A device that comes back
// then is reopened when the box is closed, not behind it, and at once.
class ModalPrompts : public testing::FakePrompts {
 public:
  std::function<void()> whileShown;
  int reopenedBehindTheBox = 0;
  const SerialControl* serial = nullptr;

  PromptAnswer show(const std::string& text, const std::string& caption, PromptIcon icon,
                    PromptButtons buttons) override {
    if (whileShown) whileShown();
    QTest::qWait(1500);  // the operator reads the box; timers and the line go on
    if (serial && serial->portOpen()) ++reopenedBehindTheBox;
    return FakePrompts::show(text, caption, icon, buttons);
  }
};

TEST(LinkRecoveryWindow, DeviceBackWhileTheReportIsUpIsReopenedWhenItCloses) {
  SwitchedLine device;
  testing::FakeSettingsStore store;
  store.setValue(kAppTitle, "Ports", "Com1", device.path());
  QtSerialControl serial(store);
  ModalPrompts prompts;
  prompts.serial = &serial;
  QTemporaryDir dir;
  frmTerminal window(TerminalDependencies{serial, store, prompts, dir.filePath("VQX.ini"), [] {}});
  window.Form_Load();
  ASSERT_TRUE(serial.portOpen());

  prompts.whileShown = [&] { ASSERT_TRUE(device.plugIn()); };
  device.pullOut();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.shown.empty(); }, 4000));
  EXPECT_EQ(prompts.reopenedBehindTheBox, 0);
  // The first look runs straight after the box, not a second later: the events already
  // posted are enough.
  QCoreApplication::processEvents();
  ASSERT_TRUE(serial.portOpen());
  EXPECT_TRUE(window.findChild<QAction*>("mnuOpen")->isChecked());
  EXPECT_EQ(prompts.shown.size(), 1u);

  std::int16_t code = 'A';
  window.txtTerm_KeyPress(code);
  EXPECT_EQ(device.line().read(1), "A");
}

// The window's part with a fake control: which actions end the wait, and that the mark follows.
TEST(LinkRecoveryWindow, FakeDeviceComesBackOnTheNextLook) {
  testing::FakeSerialControl serial;
  testing::FakeSettingsStore store;
  testing::FakePrompts prompts;
  QTemporaryDir dir;
  frmTerminal window(TerminalDependencies{serial, store, prompts, dir.filePath("VQX.ini"), [] {}});
  window.Form_Load();
  auto* mnuOpen = window.findChild<QAction*>("mnuOpen");
  ASSERT_TRUE(mnuOpen->isChecked());

  serial.failOpen = "/dev/ttyS0: No such file or directory";
  serial.loseDevice("/dev/ttyS0: device no longer available");
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_FALSE(mnuOpen->isChecked());
  EXPECT_TRUE(window.waitingForDevice());
  QCoreApplication::processEvents();  // the first look: still away
  window.checkLostDevice();
  EXPECT_FALSE(serial.open);
  EXPECT_TRUE(window.findChild<QTimer*>("linkRecoveryTimer")->isActive());

  serial.failOpen.reset();
  window.checkLostDevice();
  EXPECT_TRUE(serial.open);
  EXPECT_TRUE(mnuOpen->isChecked());
  EXPECT_FALSE(window.waitingForDevice());
  EXPECT_FALSE(window.findChild<QTimer*>("linkRecoveryTimer")->isActive());
  EXPECT_EQ(prompts.shown.size(), 1u);

  // Lost again, and this time the operator closes the matter with the panel's Function+Pip
  // reset path (TogglePort): nothing is reopened afterwards.
  serial.failOpen = "gone";
  serial.loseDevice("gone");
  window.TogglePort();  // fails: a report of its own, the operator's
  EXPECT_FALSE(window.waitingForDevice());
  serial.failOpen.reset();
  window.checkLostDevice();
  EXPECT_FALSE(serial.open);
  EXPECT_EQ(prompts.shown.size(), 3u);
}

}  // namespace
}  // namespace vqx
