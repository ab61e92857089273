// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated device: reading commands off the line, and what each does to the device. The
// function commands start with the raw bytes 0 and 1, which the commands read show as <00><01>.
#include <gtest/gtest.h>

#include <sstream>

#include "panel/command_parser.h"
#include "sim/simulated_device.h"
#include "status/status_words.h"

namespace vqx::sim {
namespace {

using namespace std::string_literals;

TEST(CommandParser, ReadsEveryCommandWholeOrByteByByteAndSkipsWhatIsNone) {
  // clang-format off
  const std::pair<std::string, const char*> cases[] = {  // bytes, and the commands read
      {"/01/09/10/16", "/01 /09 /10 /16"}, {"/S1/SG/X9/XA", "/S1 /SG /X9 /XA"},
      {"/PP/22/33/44/FZ/AT/LV/AV/TP/SQ/SL", "/PP /22 /33 /44 /FZ /AT /LV /AV /TP /SQ /SL"},
      {"/\0\1/AU/\0\1/AD/\0\1/AL/\0\1/AR/\0\1/AF"s,
       "/<00><01>/AU /<00><01>/AD /<00><01>/AL /<00><01>/AR /<00><01>/AF"},
      {"05/00/17/S0/XH/ZZ/AU/AF", ""}, {"xx\xFF/12yy", "/12"}, {"/1/12", "/12"}, {"//LV", "/LV"},
      {"/ZZ05/05", "/05"}, {"/\0\1x/TP"s, "/TP"}, {"/\0\1/22"s, "/22"},
      {"/\0\1/\0\1/AR"s, "/<00><01>/AR"}, {"/\0\1//AU"s, ""}, {"/\0/FZ"s, "/FZ"},
      {"/\0\1/AU/AF"s, "/<00><01>/AU"}};
  // clang-format on
  for (const auto& [bytes, read] : cases) {
    CommandParser whole, split;
    std::string byWhole, byByte;
    for (const Command& c : whole.feed(bytes)) byWhole += " " + commandText(c);
    for (const char b : bytes)
      for (const Command& c : split.feed(std::string_view(&b, 1))) byByte += " " + commandText(c);
    EXPECT_EQ(byWhole, *read ? " "s + read : "") << ::testing::PrintToString(bytes);
    EXPECT_EQ(byByte, byWhole) << ::testing::PrintToString(bytes);
    // Every byte belongs to a command read, or is counted as ignored, or waits for more.
    std::size_t accounted = whole.ignoredBytes();
    for (const Command& c : CommandParser().feed(bytes)) accounted += commandBytes(c).size();
    EXPECT_TRUE(whole.pending() || accounted == bytes.size()) << ::testing::PrintToString(bytes);
  }
  const Command assign{CommandKind::AssignCamera, 12};
  EXPECT_EQ(CommandParser().feed(commandBytes(assign)), std::vector{assign});
  // clang-format off
  const std::pair<std::string, const char*> words[] = {
      {"/05", "camera 5"}, {"/SG", "function camera 16"}, {"/33", "9 pictures / left"},
      {"/XC", "assign camera 12 to the next window"}, {"/\0\1/AL/SQ"s, "function left; sequence"},
      {"/FZ/TP/AV", "zoom; tape; function live"}, {"ab/0", "no command"},
      {"/05x", "camera 5; no command"}};
  // clang-format on
  for (const auto& [bytes, meaning] : words) EXPECT_EQ(describeCommands(bytes), meaning);
}

// What the device shows after a run of commands (and seconds of its clock, "tick"; a "beep"
// asked for; a "frame" taken).
TEST(SimulatedDevice, EachCommandChangesTheDeviceByItsRule) {
  const std::string c1 = "camera 1 on the main monitor, live";
  const std::pair<std::string, std::string> cases[] = {
      // clang-format off
      {"", c1}, {"/12", "camera 12 on the main monitor, live"},
      {"/08", "camera 8 on the main monitor, live"}, {"/33", c1 + ", 9-picture key lit"},
      {"/16 /44", "camera 16 on the main monitor, live, 16-picture key lit"},
      {"/PP", c1 + ", picture-in-picture key lit"}, {"/33 /22", c1 + ", 4-picture key lit"},
      {"/44 /03", "camera 3 on the main monitor, live"}, {"/22 /FZ", c1 + ", zoom key lit"},
      {"/22 /FZ /PP /33 /44 /FZ", c1}, {"/FZ /\0\1/AF"s, c1},
      {"/TP", "camera 1 on the main monitor, tape"}, {"/TP /LV", c1},
      {"/SL", c1 + ", call monitor"}, {"/SL /SL", c1}, {"/S5", c1 + ", call monitor"},
      {"/AT", "camera 1 on the main monitor, function lamp, live"}, {"/AT /AV", c1},
      {"/TP /AT /\0\1/AU"s, "camera 1 on the main monitor, tape"},
      // A sequence shows every camera in turn, full screen, and ends at a camera key.
      {"/33 /SQ", c1 + ", sequence running"}, {"/FZ /SQ", c1 + ", sequence running"},
      {"/15 /SQ tick", "camera 16 on the main monitor, live, sequence running"},
      {"/15 /SQ tick tick tick", "camera 2 on the main monitor, live, sequence running"},
      {"/SQ tick /07 tick", "camera 7 on the main monitor, live"}, {"/SQ /SQ tick", c1},
      // Assignment fills the windows of the layout in turn; the camera lamp follows.
      {"/22 /X3 /X4", "camera 4 on the main monitor, live, 4-picture key lit"},
      {"/PP /X3 /X4 /X5", "camera 5 on the main monitor, live, picture-in-picture key lit"},
      // The beep goes out with the next frame only.
      {"beep", c1 + ", beep"}, {"beep frame", c1},
      // clang-format on
  };
  for (const auto& [script, shown] : cases) {
    SimulatedDevice device;
    std::istringstream in(script);
    for (std::string word; in >> word;) {
      if (word == "tick") device.tick();
      if (word == "beep") device.requestBeep();
      if (word == "frame") (void)device.takeFrame();
      for (const Command& c : CommandParser().feed(word)) device.apply(c);
    }
    const StatusFrame frame = device.takeFrame();  // as the program takes it off the line
    const auto aligned = alignStatusFrame(std::string(frame.begin(), frame.end()));
    ASSERT_TRUE(aligned && *aligned == frame) << script;
    EXPECT_EQ(describeStatus(decodeStatusFrame(frame)), shown) << script;
  }
}

// What the simulator's log says of each command: an assignment names each window and what is
// left of the layout's windows, and starts again once the layout is full or another is chosen.
TEST(SimulatedDevice, SaysWhatEachCommandDid) {
  SimulatedDevice device;
  std::string said;
  for (const Command& c : CommandParser().feed("/PP/X3/X4/XG/44/X5/22/X1/33/X2/07/X8"))
    said += device.apply(c) + "\n";
  EXPECT_EQ(said,
            "picture-in-picture layout\n"
            "camera 3 into window 1, 1 left\n"
            "camera 4 into window 2, assignment done\n"
            "camera 16 into window 1, 1 left\n"
            "16-picture layout\n"
            "camera 5 into window 1, 15 left\n"
            "4-picture layout\n"
            "camera 1 into window 1, 3 left\n"
            "9-picture layout\n"
            "camera 2 into window 1, 8 left\n"
            "camera 7 full screen\n"
            "camera 8 into window 1, assignment done\n");
}

}  // namespace
}  // namespace vqx::sim
