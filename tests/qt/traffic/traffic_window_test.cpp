// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The traffic monitor and the incident log in the running program, on a pseudo-terminal.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <QCheckBox>

#include "qt/dialogs/frm_monitor.h"
#include "qt/support/window_rig.h"
#include "qt/traffic/log_folder.h"
#include "qt/traffic/traffic_recorder.h"
#include "status/status_frame.h"

namespace vqx {
namespace {

// A camera key, a status frame and the port closed: three lines in the monitor, each with its
// meaning, and the same three in the day's file of the incident log.
TEST(TrafficMonitor, ShowsWhatPassedOverTheLineAndTheLogKeepsIt) {
  testing::PseudoTerminal pty;
  QTemporaryDir logs;
  testing::WindowRig rig(pty.path());
  rig.logFolder = logs.path();
  frmTerminal& window = rig.load();
  rig.action("mnuMonitor")->trigger();
  frmMonitor* monitor = testing::topLevel<frmMonitor>();
  ASSERT_NE(monitor, nullptr);
  monitor->findChild<QCheckBox*>("chkLog")->setChecked(true);
  rig.click("Cinque");
  ASSERT_EQ(pty.read(3), "/05");
  ASSERT_TRUE(pty.write("\xEF\x7F\x7B\x3F"));
  ASSERT_TRUE(testing::waitFor([&] { return monitor->lines().size() >= 2; }));
  rig.action("mnuOpen")->trigger();
  ASSERT_TRUE(testing::waitFor([&] { return monitor->lines().size() >= 3; }));
  const QStringList expected = {
      "out  2F 30 35     camera 5", "in   EF 7F 7B 3F  camera 5 on the main monitor, live",
      "port              Com1 (" + QString::fromStdString(pty.path()) + ") closed"};
  const auto afterTheTime = [](QStringList lines) {
    for (QString& line : lines) line.remove(0, 13);
    return lines;
  };
  EXPECT_EQ(afterTheTime(monitor->lines()), expected);
  window.recorder()->flush();
  const std::string day = "vqx16-" + dateText(localTimeNow()) + ".log";
  EXPECT_EQ(afterTheTime(QString::fromStdString(testing::fileText(logs.filePath(day.c_str())))
                             .split('\n', Qt::SkipEmptyParts)),
            expected);
}

// A frame the monitor saw first, then the log switched on and the monitor closed: the log's
// first line of it still says what it means.
TEST(IncidentLog, ItsFirstFrameHasItsWordsWhateverTheMonitorSawBefore) {
  QTemporaryDir dir;
  testing::FakeSettingsStore store;
  TrafficRecorder recorder(store, std::make_unique<QtLogFolder>(dir.path()));
  const ReceivedTrace trace{StatusFrame{0xEF, 0x7F, 0x7F, 0x3F}, ""};
  recorder.setWatched(true);
  recorder.received(trace, decodeStatusFrame(*trace.frame));
  recorder.setLogEnabled(true);
  recorder.setWatched(false);
  recorder.received(trace, decodeStatusFrame(*trace.frame));
  recorder.flush();
  const std::string day = "vqx16-" + dateText(localTimeNow()) + ".log";
  EXPECT_TRUE(
      testing::fileText(dir.filePath(day.c_str())).ends_with("  camera 5 on the main monitor\n"));
}

// A full disk (played by a file size limit) and a folder that cannot be made; the program goes on.
TEST(IncidentLog, AFullDiskOrAnUnwritableFolderStopsTheLogWithOneMessage) {
  QTemporaryDir dir;
  QFile(dir.filePath("file")).open(QIODevice::WriteOnly);
  for (const bool full : {true, false}) {
    testing::PseudoTerminal pty;
    testing::WindowRig rig(pty.path());
    rig.logFolder = full ? dir.filePath("log") : dir.filePath("file/log");
    TrafficRecorder& recorder = *rig.load().recorder();
    recorder.setLogEnabled(true);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit none{0, saved.rlim_max};
    ::signal(SIGXFSZ, SIG_IGN);
    if (full) ::setrlimit(RLIMIT_FSIZE, &none);
    for (const char* key : {"Cinque", "Sei"}) {
      rig.click(key);
      QCoreApplication::processEvents();  // the key action's end
      recorder.flush();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ASSERT_EQ(rig.prompts.shown.size(), 1u) << full;
    EXPECT_EQ(rig.prompts.shown[0].text.rfind("The incident log has stopped: ", 0), 0u)
        << rig.prompts.shown[0].text;
    EXPECT_FALSE(recorder.logEnabled());
    EXPECT_EQ(pty.read(6), "/05/06") << "the program goes on";
  }
}

}  // namespace
}  // namespace vqx
