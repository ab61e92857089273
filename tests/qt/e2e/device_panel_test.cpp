// The whole program against the simulated device: the real main window, the real serial
// adapter and vqx16-sim on a pseudo-terminal. A key clicked on the panel goes out as a
// command, the device answers with a status frame, and the panel follows it.
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "panel/panel_host.h"
#include "qt/app/frm_terminal.h"
#include "qt/app/qt_settings_store.h"
#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"
#include "qt/serial/qt_serial_control.h"
#include "qt/support/sim_process.h"
#include "qt/support/temporary_user_settings.h"
#include "support/fakes.h"

namespace vqx {
namespace {

// Runs the event loop until the condition holds or the time is up.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
  QDeadlineTimer deadline(timeoutMs);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QTest::qWait(10);
  }
  return true;
}

class ProgramOnSimulatedDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(settings.isValid());
    link = dir.filePath("ttyVQX16").toStdString();
    sim = std::make_unique<testing::SimProcess>(std::vector<std::string>{"--link", link});
    ASSERT_FALSE(sim->readLine().empty());
    store.setValue(kAppTitle, "Ports", "Com1", link);
    serial = std::make_unique<QtSerialControl>(store);
    window = std::make_unique<frmTerminal>(TerminalDependencies{
        *serial, store, prompts, dir.filePath("VQX.ini"), [] {}, [this] { ++beeps; }});
    window->Form_Load();
    ASSERT_TRUE(serial->portOpen()) << (prompts.shown.empty() ? "" : prompts.shown[0].text);
  }

  QWidget* lamp(const char* name) { return window->findChild<QWidget*>(name); }
  PanelKey* key(const char* name) { return window->findChild<PanelKey*>(name); }
  void click(const char* name) { QTest::mouseClick(key(name), Qt::LeftButton); }
  void pressAndRelease(const char* name, Qt::MouseButton button) {
    QTest::mousePress(key(name), button);
    QTest::mouseRelease(key(name), button);
  }

  testing::TemporaryUserSettings settings;
  QTemporaryDir dir;
  std::string link;
  std::unique_ptr<testing::SimProcess> sim;
  QtSettingsStore store;
  testing::FakePrompts prompts;
  std::unique_ptr<QtSerialControl> serial;
  std::unique_ptr<frmTerminal> window;
  int beeps = 0;
};

TEST_F(ProgramOnSimulatedDevice, CameraKeyMovesTheCameraLampThroughTheDevice) {
  click("Dodici");
  EXPECT_TRUE(waitUntil([&] { return lamp("Lux")->x() == 7560 / 15; }))
      << "camera lamp at x " << lamp("Lux")->x();
  click("Tre");
  EXPECT_TRUE(waitUntil([&] { return lamp("Lux")->x() == 5400 / 15; }));
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ProgramOnSimulatedDevice, FourPictureKeyTurnsRedWhenTheDeviceSaysSo) {
  const QColor red(255, 0, 0);
  EXPECT_NE(key("QuattroScreen")->faceColour(), red);
  pressAndRelease("QuattroScreen", Qt::LeftButton);
  EXPECT_TRUE(waitUntil([&] { return key("QuattroScreen")->faceColour() == red; }));
  pressAndRelease("NoveScreen", Qt::LeftButton);
  EXPECT_TRUE(waitUntil([&] { return key("NoveScreen")->faceColour() == red; }));
  EXPECT_TRUE(waitUntil([&] { return key("QuattroScreen")->faceColour() != red; }));
}

TEST_F(ProgramOnSimulatedDevice, BeepFrameBeeps) {
  click("Sei");  // a frame has come through once the lamp is over camera 6
  ASSERT_TRUE(waitUntil([&] { return lamp("Lux")->x() == 6120 / 15; }));
  EXPECT_EQ(beeps, 0);
  // A block of two frames is read as its first frame only, so a beep frame that happens to
  // arrive together with the once-a-second frame is lost; the device is asked again then.
  int asked = 0;
  while (beeps == 0 && asked < 3) {
    sim->signal(SIGUSR1);
    ++asked;
    waitUntil([&] { return beeps > 0; }, 1500);
  }
  EXPECT_GE(beeps, 1);
  EXPECT_LE(beeps, asked);
}

}  // namespace
}  // namespace vqx
