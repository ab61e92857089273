// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the drawn panel on a real event loop (prints them, asserts nothing):
//   bench_panel_repeat          achieved repeat rate of a held screen key over 5 s
//   bench_panel_repeat idle     runs 20 s with nothing pressed, for measuring idle CPU and
//                               wakeups from outside (for example /proc/<pid>/stat and
//                               /proc/<pid>/status voluntary_ctxt_switches)
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  long bytes = 0;
  vqx::FrontPanelHooks hooks;
  hooks.keyPress = [&](std::int16_t&) { ++bytes; };
  auto* panel = new vqx::FrontPanel(hooks, &window);
  window.show();
  if (argc > 1 && std::strcmp(argv[1], "idle") == 0) {
    QTimer::singleShot(20000, Qt::PreciseTimer, &app, &QApplication::quit);
    return app.exec();
  }
  vqx::PanelKey* key = panel->key(QStringLiteral("NoveScreen"));
  QTest::mousePress(key, Qt::LeftButton);
  QElapsedTimer elapsed;
  elapsed.start();
  QTimer::singleShot(5000, Qt::PreciseTimer, &app, &QApplication::quit);
  app.exec();
  QTest::mouseRelease(key, Qt::LeftButton);
  const double seconds = static_cast<double>(elapsed.nsecsElapsed()) / 1e9;
  const long commands = bytes / 3;
  std::printf("held NoveScreen %.3f s: %ld commands, %.1f repeats/s (aim 200)\n", seconds, commands,
              static_cast<double>(commands - 1) / seconds);
  return 0;
}
