// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of the traffic monitor and the incident log: the main window on the simulator at 100
// status frames a second, with both off, with the monitor open, and with the log on and the
// monitor closed (processor time of this process, % of a core); then a day of one frame a second
// through the incident log: the size of the day's file and the resident memory before and after.
//
//   bench_traffic SIMULATOR [SECONDS]
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <string>

#include "qt/app/main_window.h"
#include "qt/serial/device_link.h"
#include "qt/serial/qt_serial_control.h"
#include "qt/traffic/log_folder.h"
#include "qt/traffic/traffic_recorder.h"
#include "resident_memory.h"
#include "status/status_frame.h"
#include "support/fakes.h"

namespace {

double cpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// % of a core this process uses over `seconds` of the event loop. The loop runs as the
// program's own does, woken only by its events (QTest::qWait would poll every 10 ms).
double cpuOver(int seconds) {
  QElapsedTimer wall;
  wall.start();
  const double before = cpuSeconds();
  QEventLoop loop;
  QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
  loop.exec();
  return (cpuSeconds() - before) / (double(wall.elapsed()) / 1000) * 100;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
  QTemporaryDir dir;
  QProcess sim;
  sim.start(QString::fromLocal8Bit(argv[1]), {"--rate", "100", "--link", dir.filePath("line")});
  if (!sim.waitForReadyRead(10000)) return 1;

  vqx::testing::FakeSettingsStore store;
  store.setValue(vqx::kAppTitle, "Ports", "Com1", dir.filePath("line").toStdString());
  vqx::testing::FakePrompts prompts;
  vqx::QtSerialControl serial(store);
  QFile ini(dir.filePath("VQX.ini"));
  if (!ini.open(QIODevice::WriteOnly)) return 1;
  ini.write(" 0 \r\n 0 \r\n" VQX16_SOURCE_DIR "/lang/English.lng\r\n");
  ini.close();
  vqx::DeviceLink link(serial, store, prompts, dir.filePath("log"));
  vqx::MainWindow window(vqx::MainWindowParts{link, store, prompts, ini.fileName(), [] {}});
  window.load();
  if (!serial.portOpen()) return 1;
  QTest::qWait(1000);

  const double off = cpuOver(seconds);
  window.findChild<QAction*>("mnuMonitor")->trigger();
  const double monitor = cpuOver(seconds);
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == "frmMonitor") w->close();
  }
  link.recorder().setLogEnabled(true);
  const double log = cpuOver(seconds);
  link.recorder().setLogEnabled(false);
  std::printf(
      "at 100 frames/s: %.2f %% of a core with the monitor closed and the log off, "
      "%.2f %% with the monitor open, %.2f %% with the log on\n",
      off, monitor, log);

  // A day at one frame a second, the camera changed once a minute.
  vqx::QtLogFolder folder(dir.filePath("day"));
  vqx::IncidentLog day(folder);
  const long before = vqx::bench::residentKb();
  for (int s = 0; s < 24 * 3600; ++s) {
    vqx::DeviceStatus status;
    status.camera = 1 + (s / 60) % 16;
    status.liveLamp = true;
    const auto frame = vqx::encodeStatusFrame(status);
    day.add({{2026, 12, 7, s / 3600, s / 60 % 60, s % 60, 0},
             vqx::TrafficEvent::Kind::Frame,
             std::string(frame.begin(), frame.end()),
             "camera"});
    (void)day.flush();  // as the window does, at most once a second
  }
  (void)day.close();
  std::printf(
      "a day at one frame a second, the camera changed each minute: a log of %.2f MB; "
      "resident memory %ld kB -> %ld kB\n",
      double(QFileInfo(dir.filePath("day/vqx16-2026-12-07.log")).size()) / 1e6, before,
      vqx::bench::residentKb());
  sim.kill();
  sim.waitForFinished();
  return 0;
}
