// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Floods the program's line with 10 MB of random bytes, the main window running on a
// pseudo-terminal, and prints how long the window took to take them, its resident memory before
// and after, and how soon a camera click reaches the line afterwards.
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#include "bench_line.h"
#include "qt/app/main_window.h"
#include "qt/serial/device_link.h"
#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"
#include "qt/serial/qt_serial_control.h"
#include "resident_memory.h"
#include "support/fakes.h"

namespace {

// Writes `total` random bytes as fast as the line takes them, the window running meanwhile.
bool flood(int fd, std::size_t total, std::mt19937& random) {
  std::string block(64 * 1024, '\0');
  std::size_t sent = 0, offset = block.size();
  while (sent < total) {
    if (offset == block.size()) {
      for (char& c : block) c = static_cast<char>(random() & 0xff);
      offset = 0;
    }
    const ssize_t n =
        ::write(fd, block.data() + offset, std::min(block.size() - offset, total - sent));
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
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vqx::bench::BenchLine pty;
  QTemporaryDir dir;
  vqx::testing::FakeSettingsStore store;
  store.setValue(vqx::kAppTitle, "Ports", "Com1", pty.path());
  vqx::testing::FakePrompts prompts;
  vqx::QtSerialControl serial(store);
  const QString ini = dir.filePath(QStringLiteral("VQX.ini"));
  QFile file(ini);
  if (!pty.isOpen() || !file.open(QIODevice::WriteOnly)) return 1;
  file.write(" 0 \r\n 0 \r\n" VQX16_SOURCE_DIR "/lang/English.lng\r\n");
  file.close();
  vqx::DeviceLink link(serial, store, prompts, dir.filePath(QStringLiteral("log")));
  vqx::MainWindow window(vqx::MainWindowParts{link, store, prompts, ini, [] {}});
  window.load();
  if (!serial.portOpen()) return 1;

  std::mt19937 random(2024);
  flood(pty.deviceFd(), 256 * 1024, random);  // every code path once: first-use allocations done
  const long before = vqx::bench::residentKb();
  QElapsedTimer clock;
  clock.start();
  if (!flood(pty.deviceFd(), 10 * 1024 * 1024, random)) return 1;
  const qint64 floodMs = clock.elapsed();
  const long after = vqx::bench::residentKb();
  (void)pty.readFor(50);
  clock.restart();
  QTest::mouseClick(window.panel()->key(QStringLiteral("Cinque")), Qt::LeftButton);
  const std::string got = pty.read(3, 1000);
  std::printf(
      "10 MB of random bytes in %lld ms; resident memory %ld kB -> %ld kB; a click after "
      "it on the line in %.2f ms (%s); %zu messages\n",
      static_cast<long long>(floodMs), before, after, clock.nsecsElapsed() / 1e6,
      got == "/05" ? "right" : "WRONG", prompts.shown.size());
  return got == "/05" && serial.portOpen() ? 0 : 1;
}
