// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Click-to-wire latency of the program: the real main window with the real serial control on a
// pseudo-terminal. Each round clicks camera key Cinque with the left button and times until the
// command's last byte has arrived at the device end; the event loop waits in the system
// meanwhile, as in the running program. Prints the median and the 99th percentile.
//
// With a mode and the path of ser2net, the port is a device server instead: ser2net, started
// here, serves the pseudo-terminal on the loopback address, raw (tcp) or RFC 2217 (rfc2217), and
// the time is still taken to the last byte at the device end.
//
//   bench_click_latency [clicks [tcp|rfc2217 SER2NET]]     (default 500, direct)
#include <poll.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench_line.h"
#include "qt/app/main_window.h"
#include "qt/panel/panel_widgets.h"
#include "qt/serial/device_link.h"
#include "qt/serial/qt_serial_control.h"
#include "support/fakes.h"

namespace {

double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(index, values.size() - 1)];
}

// Starts `ser2net` in front of the line, in `mode`, and gives the port's address; empty when it
// did not come up.
std::string startDeviceServer(QProcess& server, const QString& ser2net, const std::string& mode,
                              const std::string& line, const QTemporaryDir& dir) {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost)) return {};
  const quint16 number = probe.serverPort();
  const std::string port = std::to_string(number);
  probe.close();
  const QString config = dir.filePath(QStringLiteral("ser2net.yaml"));
  QFile file(config);
  if (!file.open(QIODevice::WriteOnly)) return {};
  const std::string accepter = (mode == "tcp" ? "tcp" : "telnet(rfc2217),tcp");
  file.write(("connection: &bench\n  accepter: " + accepter + ",127.0.0.1," + port +
              "\n  connector: serialdev(nouucplock)," + line + ",9600n81,local\n")
                 .c_str());
  file.close();
  server.start(ser2net, {"-n", "-u", "-c", config});
  // Listening once the port cannot be taken any more.
  for (int i = 0; i < 400 && probe.listen(QHostAddress::LocalHost, number); ++i) {
    probe.close();
    QTest::qWait(25);
  }
  return probe.isListening() ? std::string() : mode + "://127.0.0.1:" + port;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int clicks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;

  vqx::bench::BenchLine pty;
  QTemporaryDir dir;
  if (!pty.isOpen() || !dir.isValid()) {
    std::fprintf(stderr, "no pseudo-terminal or temporary folder\n");
    return 1;
  }
  std::string device = pty.path();
  QProcess server;
  // ser2net is asked to end, not killed, however the benchmark ends.
  const std::unique_ptr<QProcess, void (*)(QProcess*)> ending(&server, [](QProcess* p) {
    p->terminate();
    p->waitForFinished(5000);
  });
  if (argc > 3) {
    device = startDeviceServer(server, QString::fromLocal8Bit(argv[3]), argv[2], pty.path(), dir);
    if (device.empty()) {
      std::fprintf(stderr, "ser2net did not come up\n");
      return 1;
    }
  }
  vqx::testing::FakeSettingsStore store;
  store.setValue(vqx::kAppTitle, "Ports", "Com1", device);
  vqx::testing::FakePrompts prompts;
  vqx::QtSerialControl serial(store);

  // A settings file naming the shipped English texts, so no language chooser comes up.
  const QString ini = dir.filePath(QStringLiteral("VQX.ini"));
  {
    QFile f(ini);
    if (!f.open(QIODevice::WriteOnly)) return 1;
    f.write(" 0 \r\n 0 \r\n" VQX16_SOURCE_DIR "/lang/English.lng\r\n");
  }
  vqx::DeviceLink link(serial, store, prompts, dir.filePath(QStringLiteral("log")));
  vqx::MainWindow window(vqx::MainWindowParts{link, store, prompts, ini, [] {}});
  window.load();
  (void)QTest::qWaitFor([&] { return !serial.portConnecting(); }, 20000);
  auto* key = window.findChild<vqx::PanelKey*>(QStringLiteral("Cinque"));
  if (!serial.portOpen() || key == nullptr) {
    std::fprintf(stderr, "the port did not open on %s\n", device.c_str());
    return 1;
  }
  QTest::qWait(200);  // let the window settle

  const int fd = pty.deviceFd();
  std::string arrived;
  QEventLoop wait;
  QSocketNotifier notifier(fd, QSocketNotifier::Read);
  QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
    char buf[256];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) arrived.append(buf, static_cast<std::size_t>(n));
    if (arrived.size() >= 3) wait.quit();
  });
  QTimer timeout;
  timeout.setSingleShot(true);
  QObject::connect(&timeout, &QTimer::timeout, &wait, &QEventLoop::quit);

  std::vector<double> micros;
  int wrong = 0;
  QElapsedTimer clock;
  for (int i = 0; i < clicks; ++i) {
    arrived.clear();
    clock.start();
    QTest::mouseClick(key, Qt::LeftButton);
    if (arrived.size() < 3) {
      timeout.start(1000);
      wait.exec();
      timeout.stop();
    }
    micros.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e3);
    if (arrived != "/05") ++wrong;
    QTest::qWait(2);  // a short gap between clicks, as between an operator's clicks
  }
  std::printf("click-to-wire %d clicks: median %.1f us, p99 %.1f us, max %.1f us, wrong %d\n",
              clicks, percentile(micros, 0.5), percentile(micros, 0.99), percentile(micros, 1.0),
              wrong);
  return wrong == 0 ? 0 : 1;
}
