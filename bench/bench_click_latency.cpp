// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Click-to-wire latency of the program: the real main window with the real serial control on a
// pseudo-terminal. Each round clicks camera key Cinque with the left button and times until the
// command's last byte has arrived at the device end; the event loop waits in the system
// meanwhile, as in the running program. Prints the median and the 99th percentile.
//
//   bench_click_latency [clicks]     (default 500)
#include <poll.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_line.h"
#include "qt/app/main_window.h"
#include "qt/serial/device_link.h"
#include "qt/panel/panel_widgets.h"
#include "qt/serial/qt_serial_control.h"
#include "support/fakes.h"

namespace {

double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(index, values.size() - 1)];
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
  vqx::testing::FakeSettingsStore store;
  store.setValue(vqx::kAppTitle, "Ports", "Com1", pty.path());
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
  auto* key = window.findChild<vqx::PanelKey*>(QStringLiteral("Cinque"));
  if (!serial.portOpen() || key == nullptr) {
    std::fprintf(stderr, "the port did not open on %s\n", pty.path().c_str());
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
