// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program against the simulated device: the real main window and serial control, and
// vqx16-sim on a pseudo-terminal behind a link.
#include <gtest/gtest.h>

#include <QDir>
#include <fstream>
#include <set>

#include "qt/app/link_indicator.h"
#include "qt/app/qt_settings_store.h"
#include "qt/panel/front_panel.h"
#include "qt/serial/device_link.h"
#include "qt/panel/panel_widgets.h"
#include "qt/support/window_rig.h"
#include "qt/traffic/traffic_recorder.h"
#include "serial/link_recovery.h"

namespace vqx {
namespace {

using testing::SimProcess;
using testing::waitFor;

// A shift on the device: the panel follows it; the device goes away and comes back, and the
// program takes it up again by itself. Then the link state beside the menus, as a screen reader
// reads it, through every state: the device paused and sending again, the port closed and opened,
// the device gone, the port then opened by the operator. Each shows within its bound of the cause,
// in a colour of its own, and the traffic monitor hears each port event once, in the same words.
TEST(ProgramOnSimulatedDevice, PanelAndLinkStateFollowTheDeviceWhichIsTakenUpAgainWhenItComesBack) {
  testing::TemporaryUserSettings home;
  QTemporaryDir dir;
  const std::string line = dir.filePath("ttyVQX16").toStdString();
  const std::string com1 = "Com1 (" + line + ")";
  std::unique_ptr<SimProcess> sim;
  const auto plugIn = [&] {  // the device, and its line behind the link
    sim = std::make_unique<SimProcess>(std::vector<std::string>{"--link", line, "--log"});
    return !sim->readLine().empty();
  };
  ASSERT_TRUE(plugIn());
  // The real stored settings, in a file as an operator writes it by hand.
  QDir().mkpath(home.path() + "/VQX16");
  std::ofstream(home.path().toStdString() + "/VQX16/VQX16.conf")
      << "[Properties]\nSettings=19200,n,8,1\n[Ports]\nCom1=" << line << "\n";
  QtSettingsStore store;
  QtSerialControl serial(store);
  testing::FakePrompts prompts;
  DeviceLink link(serial, store, prompts, dir.filePath("log"));
  MainWindow window(MainWindowParts{link, store, prompts, dir.filePath("VQX.ini"), [] {}});
  window.load();
  ASSERT_TRUE(serial.portOpen()) << (prompts.shown.empty() ? "" : prompts.shown[0].text);
  EXPECT_EQ(serial.settings(), "19200,n,8,1");
  FrontPanel& panel = *window.panel();
  const auto click = [&](const char* key) {
    QTest::mouseClick(panel.key(QString::fromLatin1(key)), Qt::LeftButton);
  };
  click("Dodici");
  EXPECT_TRUE(waitFor([&] { return panel.lampWidget(Lamp::Camera)->x() == 7560 / 15; }));
  click("NoveScreen");
  EXPECT_TRUE(waitFor([&] { return panel.key("NoveScreen")->faceColour() == QColor(255, 0, 0); }));
  EXPECT_EQ(sim->stop(), 0);  // the device goes, and its line and link with it
  ASSERT_TRUE(waitFor([&] { return !prompts.shown.empty(); }));
  QAction& toggle = *window.findChild<QAction*>("mnuOpen");
  EXPECT_FALSE(serial.portOpen() || toggle.isChecked());
  EXPECT_TRUE(link.supervisor().waitingForDevice());
  ASSERT_TRUE(plugIn());
  ASSERT_TRUE(waitFor([&] { return serial.portOpen(); }));
  EXPECT_TRUE(toggle.isChecked());
  click("Sedici");
  EXPECT_TRUE(sim->logShows("/16"));
  ASSERT_EQ(prompts.shown.size(), 1u) << "the return is told in the loss report";
  EXPECT_FALSE(prompts.shown[0].waits) << "the loss report does not hold the recovery";
  EXPECT_TRUE(prompts.shown[0].text.ends_with(std::string("\n\n") + kDeviceBack));

  QStringList ports;
  link.recorder().setWatched(true);
  QObject::connect(&link.recorder(), &TrafficRecorder::line, [&](const QString& text) {
    if (text.contains(" port ")) ports << text.mid(text.indexOf("Com1")).section(": ", 0, 0);
  });
  const std::string missing =
      com1 +
      " does not exist. Connect the adapter, or choose another port under Port > Properties.";
  // Each step: what happens, and the words the state begins with soon after. A quiet device's
  // seconds count up, so only the words before them are waited for.
  // clang-format off
  const std::pair<std::function<void()>, std::string> steps[] = {
      {[] {}, "open"}, {[&] { sim->signal(SIGSTOP); }, "no frame for "},
      {[&] { sim->signal(SIGCONT); }, "open"}, {[&] { toggle.trigger(); }, "closed"},
      {[&] { toggle.trigger(); }, "open"}, {[&] { sim->stop(); }, "lost, retrying"},
      {[&] { toggle.trigger(); }, "cannot open"}};
  // clang-format on
  const LinkIndicator& state = *window.linkIndicator();
  std::set<QRgb> colours;
  for (const auto& [cause, shown] : steps) {
    cause();
    EXPECT_TRUE(waitFor([&] {
      return state.accessibleName().toStdString().starts_with(com1 + ": " + shown);
    })) << shown << ", shown: " << state.accessibleName().toStdString();
    colours.insert(state.colour().rgb());
  }
  EXPECT_EQ(colours.size(), 5u);
  EXPECT_EQ(state.accessibleDescription().toStdString(), missing);
  ASSERT_EQ(prompts.shown.size(), 2u) << "the loss report, and the one box of the failure";
  EXPECT_EQ(prompts.shown[1].text, missing);
  const QString c = QString::fromStdString(com1);
  EXPECT_EQ(ports, QStringList({c + " closed", c + " opened", c + " lost, retrying",
                                QString::fromStdString(missing)}));
}

}  // namespace
}  // namespace vqx
