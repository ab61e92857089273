// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <fstream>
#include <set>

#include "qt/app/link_indicator.h"
#include "qt/app/qt_settings_store.h"
#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"
#include "qt/serial/device_link.h"
#include "qt/support/window_rig.h"
#include "qt/traffic/traffic_recorder.h"
#include "serial/link_recovery.h"

namespace vqx {
namespace {

using testing::SimProcess;
using testing::waitFor;

// Whether something listens on the loopback address at `port`: then it cannot be taken.
bool listening(quint16 port) {
  QTcpServer probe;
  return !probe.listen(QHostAddress::LocalHost, port);
}

// The speed ser2net set on the simulator's pseudo-terminal.
speed_t lineSpeed(const std::string& line) {
  const int fd = ::open(line.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
  termios tio{};
  const bool read = fd >= 0 && ::tcgetattr(fd, &tio) == 0;
  if (fd >= 0) ::close(fd);
  return read ? ::cfgetospeed(&tio) : B0;
}

// The whole program on vqx16-sim, behind a link to its pseudo-terminal and then behind ser2net.
// A shift on the device: the panel follows it; the device goes and comes back, and is taken up
// again by itself. The link state, as a screen reader reads it, through every state, each in a
// colour of its own; the traffic monitor hears each port event once, in the same words. Behind
// the server, in raw TCP and RFC 2217 modes: a client already there is told; a camera click
// reaches the device and its frame moves the lamp; a speed chosen is the line's over RFC 2217
// only; the server stops and starts again, and is taken up again with the line set again.
TEST(ProgramOnSimulatedDevice, FollowsTheDeviceBehindALinkAndBehindADeviceServerInBothModes) {
  testing::TemporaryUserSettings home;
  QTemporaryDir dir;
  const std::string line = dir.filePath("ttyVQX16").toStdString();
  const std::string com1 = "Com1 (" + line + ")";
  std::unique_ptr<SimProcess> sim;
  std::string pts;  // the device's own line, where the link leads
  const auto plugIn = [&] {
    sim = std::make_unique<SimProcess>(std::vector<std::string>{"--link", line, "--log"});
    pts = sim->readLine();
    return !pts.empty();
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

  const std::string ser2net =
      QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"}).toStdString();
  if (ser2net.empty()) {
    GTEST_SKIP() << "ser2net is not installed (Debian package ser2net): the device behind a "
                    "server is left out; the device behind a link was checked above";
  }
  ASSERT_TRUE(plugIn());  // the operator's failed opening ended the wait: nothing opens by itself
  QTcpServer rawProbe;
  QTcpServer telnetProbe;  // two free ports, both held while they are chosen
  ASSERT_TRUE(rawProbe.listen(QHostAddress::LocalHost) &&
              telnetProbe.listen(QHostAddress::LocalHost));
  const quint16 raw = rawProbe.serverPort();
  const quint16 telnet = telnetProbe.serverPort();
  rawProbe.close();
  telnetProbe.close();
  const std::string config = dir.filePath("ser2net.yaml").toStdString();
  const std::string connector = "  connector: serialdev(nouucplock)," + pts + ",9600n81,local\n";
  std::ofstream(config) << "connection: &raw\n  accepter: tcp,127.0.0.1," << raw << "\n"
                        << connector << "connection: &telnet\n  accepter: telnet(rfc2217),tcp,"
                        << "127.0.0.1," << telnet << "\n"
                        << connector;
  std::unique_ptr<SimProcess> server;
  const auto startServer = [&] {
    server = std::make_unique<SimProcess>(std::vector<std::string>{"-n", "-u", "-c", config},
                                          ser2net.c_str());
    return waitFor([&] { return listening(raw) && listening(telnet); });
  };
  ASSERT_TRUE(startServer());

  // The port settings dialog as the operator uses it: Com1's device typed under Device..., the
  // speed chosen, OK. Gives the dialog's line about the device.
  const auto choose = [&](const std::string& address, const char* speed = "19200") {
    std::string status;
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      QTimer::singleShot(0, [&] {
        QWidget* device = QApplication::activeModalWidget();
        device->findChild<QComboBox*>("cboDevice")->setEditText(QString::fromStdString(address));
        device->findChild<QPushButton*>("cmdDeviceOK")->click();
      });
      dialog->findChild<QPushButton*>("cmdDevice")->click();
      status = dialog->findChild<QLabel*>("lblPortDevice")->text().toStdString();
      dialog->findChild<QComboBox*>("cboSpeed")->setCurrentText(speed);
      dialog->findChild<QPushButton*>("cmdOK")->click();
    });
    window.findChild<QAction*>("mnuProperties")->trigger();
    return status;
  };
  const std::string rawAddress = "tcp://127.0.0.1:" + std::to_string(raw);
  QTcpSocket other;
  other.connectToHost(QHostAddress::LocalHost, raw);
  ASSERT_TRUE(other.waitForConnected(20000));
  choose(rawAddress);  // the port stays closed
  const std::string inUse = "Com1 (" + rawAddress +
                            ") cannot reach 127.0.0.1:" + std::to_string(raw) +
                            ": in use by another client. Check the device server and its address, "
                            "or choose another port under Port > Properties.";
  toggle.trigger();  // the server turns the connection away: the loss report says why
  EXPECT_TRUE(waitFor([&] { return prompts.shown[0].text == inUse; })) << prompts.shown[0].text;
  other.abort();
  toggle.trigger();

  const auto opened = [&] { return serial.portOpen() && !serial.portConnecting(); };
  struct Mode {
    std::string address;
    std::string told;  // of the device, by the dialog
    const char* key;   // a camera whose frame starts with 0xFF
    QString command;
    int lampLeft;
    speed_t speed;  // of the line once 19200 was chosen
  };
  const Mode modes[] = {
      // clang-format off
      {.address = rawAddress, .told = "raw TCP: these line settings do not reach its serial line",
       .key = "Dodici", .command = "/12", .lampLeft = 7560, .speed = B9600},
      {.address = "rfc2217://127.0.0.1:" + std::to_string(telnet),
       .told = "RFC 2217: these line settings are set on its serial line",
       .key = "Nove", .command = "/09", .lampLeft = 6840, .speed = B19200},
      // clang-format on
  };
  for (const auto& mode : modes) {
    SCOPED_TRACE(mode.address);
    EXPECT_NE(choose(mode.address).find(mode.told), std::string::npos);
    ASSERT_TRUE(waitFor(opened)) << state.accessibleDescription().toStdString();
    EXPECT_TRUE(waitFor([&] { return lineSpeed(pts) == mode.speed; }));
    click(mode.key);
    EXPECT_TRUE(sim->logShows(mode.command));
    EXPECT_TRUE(waitFor([&] { return panel.lampWidget(Lamp::Camera)->x() == mode.lampLeft / 15; }));
  }

  choose(modes[1].address, "57600");  // the open port's line set anew
  EXPECT_TRUE(waitFor([&] { return lineSpeed(pts) == B57600; }));
  const std::string server1 = "Com1 (" + modes[1].address + "): ";
  server->stop();
  EXPECT_TRUE(
      waitFor([&] { return state.accessibleName().toStdString() == server1 + "lost, retrying"; }));
  ASSERT_TRUE(startServer());
  EXPECT_TRUE(waitFor([&] { return state.accessibleName().toStdString() == server1 + "open"; }));
  EXPECT_EQ(lineSpeed(pts), B57600);
  click("Quindici");
  EXPECT_TRUE(sim->logShows("/15"));
}

}  // namespace
}  // namespace vqx
