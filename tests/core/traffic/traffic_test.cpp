// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of the traffic monitor and the incident log that keeps them in day files.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "traffic/incident_log.h"
#include "traffic/traffic_record.h"

namespace vqx {
namespace {

using Kind = TrafficEvent::Kind;

// A folder in memory; it can be made to refuse every write, as a full disk does.
struct Folder : LogFolder {
  std::map<std::string, std::string> content;
  bool full = false;
  std::vector<std::string> files() const override {
    std::vector<std::string> names;
    for (const auto& [name, text] : content) names.push_back(name);
    return names;
  }
  std::uint64_t size(const std::string& name) const override {
    return content.count(name) ? content.at(name).size() : 0;
  }
  Result append(const std::string& name, std::string_view text) override {
    if (full) return Result::fail("No space left on device");
    content[name] += text;
    return Result::ok();
  }
  void remove(const std::string& name) override { content.erase(name); }
};

TrafficEvent frameAt(int day, int second, const char* bytes = "\xFE\x7F\x7F\x3F",
                     bool onPanel = true) {
  return {{2026, 12, day, 10, 0, second, 0}, Kind::Frame, bytes, "camera 1", onPanel};
}

// A frame the panel did not follow (it came after another in one read) is counted with the one
// before that it repeats; one the panel follows after it starts a line again. The sweep removes
// a day 30 days old or more only beyond the newest 30 days present, and no other file.
TEST(IncidentLog, DayFilesWithRepeatedFramesCountedAndOldFilesSwept) {
  Folder folder;
  const auto october = [](int day) {
    return "vqx16-2026-10-" + std::string(day < 10 ? "0" : "") + std::to_string(day) + ".log";
  };
  for (int day = 1; day <= 31; ++day) folder.content[october(day)] = "old\n";
  // clang-format off
  const std::vector<std::string> strangers = {
      "notes.txt", "vqx16-+202-01-01.log", "vqx16- 202-01-01.log", "vqx16--202-01-01.log",
      "vqx16-2020-+1-+1.log", "vqx16-2020- 1- 1.log"};
  // clang-format on
  for (const std::string& name : strangers) folder.content[name] = "kept";
  IncidentLog log(folder);
  for (int s = 0; s < 60; ++s) log.add(frameAt(6, s, "\xFE\x7F\x7F\x3F", s % 2 == 0));
  log.add({{2026, 12, 6, 10, 1, 0, 0}, Kind::Sent, "/05", "camera 5"});
  EXPECT_TRUE(log.flush());
  EXPECT_EQ(folder.content["vqx16-2026-12-06.log"],
            "10:00:00.000 in   FE 7F 7F 3F  camera 1\n"
            "10:00:59.000 in   FE 7F 7F 3F  same state \u00d7 59\n"
            "10:01:00.000 out  2F 30 35     camera 5\n");

  for (int s : {1, 2}) log.add(frameAt(7, s, "\xFD\x7F\x7F\x3F", false));
  log.add(frameAt(7, 3, "\xFD\x7F\x7F\x3F"));
  log.add({{2027, 6, 1, 10, 0, 0, 0}, Kind::Sent, "/05", "camera 5"});  // the clock jumps
  EXPECT_TRUE(log.flush());
  EXPECT_EQ(folder.content["vqx16-2026-12-07.log"],
            "10:00:01.000 in   FD 7F 7F 3F  camera 1 (not shown on the panel)\n"
            "10:00:02.000 in   FD 7F 7F 3F  same state \u00d7 1 (not shown on the panel)\n"
            "10:00:03.000 in   FD 7F 7F 3F  camera 1\n");
  EXPECT_TRUE(log.close());
  EXPECT_EQ(folder.content["vqx16-2027-06-01.log"], "10:00:00.000 out  2F 30 35     camera 5\n");
  std::vector<std::string> kept = strangers;
  for (int day = 4; day <= 31; ++day) kept.push_back(october(day));  // one gone each new day
  for (const char* day : {"2026-12-06", "2026-12-07", "2027-06-01"})
    kept.push_back(std::string("vqx16-") + day + ".log");
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(folder.files(), kept);
}

TEST(IncidentLog, ADayStopsAtTenMegabytesAndAFailureStopsTheLogOnce) {
  Folder folder;
  folder.content["vqx16-2026-12-07.log"] = std::string(kLogDayLimit - 200, 'x');
  IncidentLog log(folder);
  for (int s = 0; s < 10; ++s)
    log.add(frameAt(7, s, s % 2 ? "\xFE\x7F\x7F\x3F" : "\xFD\x7F\x7F\x3F"));
  EXPECT_TRUE(log.flush());
  const std::string& day = folder.content["vqx16-2026-12-07.log"];
  EXPECT_LE(day.size(), kLogDayLimit);
  EXPECT_EQ(day.substr(day.rfind('\n', day.size() - 2) + 1),
            "10:00:03.000 log  the day's log is full (10 MB): lines dropped\n");
  log.add(frameAt(8, 0));
  EXPECT_TRUE(log.flush());
  EXPECT_EQ(folder.content["vqx16-2026-12-08.log"], "10:00:00.000 in   FE 7F 7F 3F  camera 1\n");

  folder.full = true;
  log.add(frameAt(8, 1, "\xFD\x7F\x7F\x3F"));
  EXPECT_EQ(log.flush().error(), "No space left on device");
  EXPECT_TRUE(log.stopped());
  folder.full = false;
  log.add(frameAt(8, 2, "\xFB\x7F\x7F\x3F"));
  EXPECT_TRUE(log.flush()) << "reported once; nothing more is written";
  EXPECT_EQ(folder.content["vqx16-2026-12-08.log"], "10:00:00.000 in   FE 7F 7F 3F  camera 1\n");
}

// The bytes of one key action are one line, named by their commands and where the action came
// from; each part of what one read took is a line of its own.
TEST(TrafficRecord, AKeyActionIsOneLineAndEachPartOfAReadIsOneToo) {
  std::vector<std::string> lines;
  TrafficRecord record([&](const TrafficEvent& event) { lines.push_back(trafficLine(event)); });
  const LocalTime now{2026, 12, 7, 10, 0, 0, 0};
  record.sent('/', now);  // the action's time is its first byte's
  for (char byte : std::string("05/FZ")) record.sent(byte, {2026, 12, 7, 10, 0, 1, 0});
  record.endAction("D-Bus :1.42");
  ReceivedStatus status;
  status.trace.parts = {
      {"\xEF\x7F\x7B\x3F", true, true}, {"\xFE\x7F\x7F\x3F", true, false}, {"AB", false, false}};
  record.received(status, now);
  EXPECT_EQ(
      lines,
      (std::vector<std::string>{
          "10:00:00.000 out  2F 30 35 2F 46 5A  camera 5; zoom (D-Bus :1.42)",
          "10:00:00.000 in   EF 7F 7B 3F  camera 5 on the main monitor, live",
          "10:00:00.000 in   FE 7F 7F 3F  camera 1 on the main monitor (not shown on the panel)",
          "10:00:00.000 in   41 42        no frame"}));
}

}  // namespace
}  // namespace vqx
