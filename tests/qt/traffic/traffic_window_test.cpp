// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The traffic monitor and the incident log in the running program, on a pseudo-terminal.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <fstream>
#include <functional>
#include <iostream>

#include "qt/dialogs/traffic_monitor_window.h"
#include "qt/support/window_rig.h"
#include "qt/traffic/log_folder.h"
#include "qt/traffic/traffic_recorder.h"
#include "status/status_frame.h"

namespace vqx {
namespace {

// The day's file as an intruder or a full disk leaves it, a row each: nothing is written there
// and nothing waits; the reason is named, and what the file held stays whole.
TEST(IncidentLog, WritesWholeLinesOnlyToARegularFileOfItsOwn) {
  QTemporaryDir dir;
  QtLogFolder folder(dir.path());
  const std::string name = "vqx16-2026-12-07.log", other = dir.filePath("other").toStdString();
  const std::string day = dir.filePath(name.c_str()).toStdString();
  const auto refused = [&](const char* what) {
    return day + " is " + what + ": the log writes only to regular files that belong to you.";
  };
  int reader = -1;
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, SIG_IGN);
  // clang-format off
  const struct { std::function<void()> setUp; std::string error; std::uint64_t size; } cases[] = {
      {[&] { ::mkfifo(day.c_str(), 0600); }, refused("a named pipe"), 0},
      {[&] {
         ::mkfifo(day.c_str(), 0600);
         reader = ::open(day.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
       }, refused("a named pipe"), 0},
      {[&] { ::symlink(other.c_str(), day.c_str()); }, refused("a symbolic link"), 0},
      {[&] { ::link(other.c_str(), day.c_str()); },
       refused("a file with other names (hard links)"), 5},
      {[&] {
         std::ofstream(day) << "line\n";
         const rlimit full{10, saved.rlim_max};
         ::setrlimit(RLIMIT_FSIZE, &full);
       }, day + ": File too large", 5},
      {[&] {
         std::ofstream(day) << "line\n";
         ASSERT_EQ(::chown(day.c_str(), 65534, 65534), 0);
       }, refused("a file of another user"), 5}};
  // clang-format on
  for (const auto& c : cases) {
    if (c.error == refused("a file of another user") && ::geteuid() != 0) {
      std::cout << "Row left out, as only root gives a file to another user: " << c.error << "\n";
      continue;
    }
    std::ofstream(other) << "kept\n";
    c.setUp();
    const Result written = folder.append(name, "10:00:00.000 in   FE 7F 7F 3F  camera 1\n");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(written.error(), c.error);
    EXPECT_EQ(folder.size(name), c.size) << c.error;
    char buffer[64];
    EXPECT_LE(reader < 0 ? 0 : ::read(reader, buffer, sizeof buffer), 0) << c.error;
    EXPECT_EQ(testing::fileText(QString::fromStdString(other)), "kept\n") << c.error;
    ::close(reader);
    reader = -1;
    ::unlink(day.c_str());
  }
}

// The log stored as on is on from the start, ticked in the monitor; a folder that cannot be made
// stops it with one message and unticks it, and the program goes on. Clear empties the list and
// what passes while paused is never shown. Ticked again: a camera key, a status frame and the
// port closed are three lines in the monitor, each with its meaning, and the same three in the
// day's file of the incident log. The list keeps the last 10,000 lines, and Copy all copies them.
TEST(TrafficMonitor, ShowsWhatPassedTheLogKeepsItAndClearPauseCopyAllTheLastTenThousandLines) {
  testing::PseudoTerminal pty;
  QTemporaryDir dir;
  // In a time zone 14 hours east of Greenwich or 12 west, whichever has another date than
  // Greenwich now, today's file of the incident log is named by the test's own clock: a file
  // named by universal time is caught.
  const bool afternoon = QDateTime::currentDateTimeUtc().time().hour() >= 12;
  ::setenv("TZ", afternoon ? "EAST-14" : "WEST+12", 1);  // POSIX counts hours west
  ::tzset();
  const QString day = "vqx16-" + QDate::currentDate().toString(Qt::ISODate) + ".log";
  const QString folder = dir.filePath("log");
  QFile(folder).open(QIODevice::WriteOnly);  // a file where the folder is to be made
  testing::WindowRig rig(pty.path());
  rig.store.setValue(kAppTitle, "Log", "Enabled", "true");
  rig.logFolder = folder;
  TrafficRecorder& recorder = rig.load().link().recorder();
  rig.action("mnuMonitor")->trigger();
  auto* monitor = testing::topLevel<TrafficMonitorWindow>();
  ASSERT_NE(monitor, nullptr);
  const auto button = [&](const char* name) { return monitor->findChild<QAbstractButton*>(name); };
  EXPECT_TRUE(button("chkLog")->isChecked());
  recorder.port("n1");
  recorder.flush();
  EXPECT_FALSE(button("chkLog")->isChecked());
  ASSERT_EQ(rig.prompts.shown.size(), 1u);
  EXPECT_TRUE(rig.prompts.shown[0].text.starts_with("The incident log has stopped: "));
  const auto shown = [&](const char* end) {
    const QTextDocument* list = monitor->findChild<QPlainTextEdit*>("lstTraffic")->document();
    return testing::waitFor([&] { return list->lastBlock().text().endsWith(end); });
  };
  ASSERT_TRUE(shown(" n1"));
  recorder.port("n2");
  recorder.flush();
  EXPECT_EQ(rig.prompts.shown.size(), 1u) << "the log stopped once";
  button("cmdClear")->click();
  button("cmdPause")->click();
  EXPECT_EQ(button("cmdPause")->text(), "&Resume");
  recorder.port("paused");
  button("cmdPause")->click();
  EXPECT_EQ(button("cmdPause")->text(), "&Pause");
  EXPECT_EQ(monitor->lines(), QStringList());

  QFile::remove(folder);
  button("chkLog")->click();
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
  recorder.flush();
  const QString log = QString::fromStdString(testing::fileText(folder + "/" + day));
  EXPECT_EQ(afterTheTime(log.split('\n', Qt::SkipEmptyParts)), expected);

  for (int n = 1; n <= 10001; ++n) recorder.port("n" + std::to_string(n));
  EXPECT_EQ(monitor->lines().size(), 10000);
  EXPECT_TRUE(monitor->lines()[0].endsWith(" n2"));
  ASSERT_TRUE(shown(" n10001"));
  recorder.port("n10002");
  ASSERT_TRUE(shown(" n10002"));
  button("cmdCopy")->click();
  const QStringList copied = QApplication::clipboard()->text().split('\n');
  ASSERT_EQ(copied.size(), 10000);
  EXPECT_TRUE(copied[0].endsWith(" n3") && copied[9999].endsWith(" n10002"))
      << copied[0].toStdString();

  // A frame the monitor saw first, then the log ticked again and the monitor closed: the log's
  // first line of it still says what it means, and so does the line of the frame after it in
  // the same read, which the panel did not follow.
  ReceivedStatus status;
  status.indicators = decodeStatusFrame({0xEF, 0x7F, 0x7F, 0x3F});
  status.trace = {{{"\xEF\x7F\x7F\x3F", true, true}, {"\xFE\x7F\x7F\x3F", true, false}}};
  button("chkLog")->click();
  recorder.statusReceived(status);
  button("chkLog")->click();
  monitor->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  recorder.statusReceived(status);
  recorder.flush();
  const std::string logged = testing::fileText(folder + "/" + day);
  EXPECT_NE(logged.find("  camera 5 on the main monitor\n"), std::string::npos);
  EXPECT_TRUE(logged.ends_with("  camera 1 on the main monitor (not shown on the panel)\n"));
}

}  // namespace
}  // namespace vqx
