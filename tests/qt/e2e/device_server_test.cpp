// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program on the simulated device behind a real device server: the real main window
// and serial control, ser2net with a raw TCP and a telnet(rfc2217) accepter on the loopback
// address, in front of vqx16-sim's pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <fstream>

#include "qt/app/link_indicator.h"
#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"
#include "qt/support/window_rig.h"

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

// Another client holds the device server's line: the opening says so. Then in each mode: Com1
// pointed at the server under Device..., a camera click reaches the device, the frame that
// answers it (0xFF first) moves the camera lamp, and a speed chosen in the dialog is the line's
// over RFC 2217 only, as the port opens and while it is open. The server stops and starts again:
// the link is lost and taken up again by itself, with the line set again.
TEST(ProgramBehindDeviceServer, ReachesTheDeviceInBothModesAndTakesTheServerUpAgainWhenItReturns) {
  const std::string ser2net =
      QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"}).toStdString();
  if (ser2net.empty()) GTEST_SKIP() << "ser2net is not installed (Debian package ser2net)";
  SimProcess sim({"--log"});
  const std::string line = sim.readLine();
  QTcpServer rawProbe;
  QTcpServer telnetProbe;  // two free ports, both held while they are chosen
  ASSERT_TRUE(rawProbe.listen(QHostAddress::LocalHost) &&
              telnetProbe.listen(QHostAddress::LocalHost));
  const quint16 raw = rawProbe.serverPort();
  const quint16 telnet = telnetProbe.serverPort();
  rawProbe.close();
  telnetProbe.close();
  QTemporaryDir dir;
  const std::string config = dir.filePath("ser2net.yaml").toStdString();
  const std::string connector = "  connector: serialdev(nouucplock)," + line + ",9600n81,local\n";
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

  QTcpSocket other;
  other.connectToHost(QHostAddress::LocalHost, raw);
  ASSERT_TRUE(other.waitForConnected(20000));
  const std::string rawAddress = "tcp://127.0.0.1:" + std::to_string(raw);
  testing::WindowRig rig(rawAddress);
  MainWindow& window = rig.load();
  ASSERT_TRUE(waitFor([&] { return !rig.prompts.shown.empty(); }));
  EXPECT_EQ(rig.prompts.shown[0].text,
            "Com1 (" + rawAddress + ") cannot reach 127.0.0.1:" + std::to_string(raw) +
                ": in use by another client. Check the device server and its address, or choose "
                "another port under Port > Properties.");
  other.abort();
  rig.action("mnuOpen")->trigger();

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
    rig.action("mnuProperties")->trigger();
    return status;
  };
  const auto opened = [&] { return rig.serial.portOpen() && !rig.serial.portConnecting(); };
  FrontPanel& panel = *window.panel();
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
    ASSERT_TRUE(waitFor(opened)) << window.linkIndicator()->accessibleDescription().toStdString();
    EXPECT_TRUE(waitFor([&] { return lineSpeed(line) == mode.speed; }));
    rig.click(mode.key);
    EXPECT_TRUE(sim.logShows(mode.command));
    EXPECT_TRUE(waitFor([&] { return panel.lampWidget(Lamp::Camera)->x() == mode.lampLeft / 15; }));
  }

  choose(modes[1].address, "57600");  // the open port's line set anew
  EXPECT_TRUE(waitFor([&] { return lineSpeed(line) == B57600; }));
  const std::string com1 = "Com1 (" + modes[1].address + "): ";
  const LinkIndicator& state = *window.linkIndicator();
  server->stop();
  EXPECT_TRUE(
      waitFor([&] { return state.accessibleName().toStdString() == com1 + "lost, retrying"; }));
  ASSERT_TRUE(startServer());
  EXPECT_TRUE(waitFor([&] { return state.accessibleName().toStdString() == com1 + "open"; }));
  EXPECT_EQ(lineSpeed(line), B57600);
  rig.click("Quindici");
  EXPECT_TRUE(sim.logShows("/15"));
}

}  // namespace
}  // namespace vqx
