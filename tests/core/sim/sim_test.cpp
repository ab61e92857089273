// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated device: reading commands off the line, and what each does to the device.
#include <gtest/gtest.h>

#include <sstream>

#include "panel/command_parser.h"
#include "sim/simulated_device.h"
#include "status/status_words.h"

namespace vqx::sim {
namespace {

// Bytes written readably: "<00>" and "<01>" stand for the raw bytes 0 and 1.
std::string raw(std::string text) {
  for (const auto& [shown, byte] : {std::pair("<00>", '\0'), {"<01>", '\1'}}) {
    for (std::size_t at; (at = text.find(shown)) != std::string::npos;)
      text.replace(at, 4, 1, byte);
  }
  return text;
}

TEST(CommandParser, ReadsEveryCommandWholeOrByteByByteAndSkipsWhatIsNone) {
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {  // bytes, and the commands read
      {"/01/09/10/16", "/01 /09 /10 /16"}, {"/S1/SG/X9/XA", "/S1 /SG /X9 /XA"},
      {"/PP/22/33/44/FZ/AT/LV/AV/TP/SQ/SL", "/PP /22 /33 /44 /FZ /AT /LV /AV /TP /SQ /SL"},
      {"/<00><01>/AU/<00><01>/AD/<00><01>/AL/<00><01>/AR/<00><01>/AF",
       "/<00><01>/AU /<00><01>/AD /<00><01>/AL /<00><01>/AR /<00><01>/AF"},
      {"05/00/17/S0/XH/ZZ/AU/AF", ""}, {"xx\xFF/12yy", "/12"}, {"/1/12", "/12"}, {"//LV", "/LV"},
      {"/ZZ05/05", "/05"}, {"/<00><01>x/TP", "/TP"}, {"/<00><01>/22", "/22"},
      {"/<00><01>/<00><01>/AR", "/<00><01>/AR"}, {"/<00><01>//AU", ""}, {"/<00>/FZ", "/FZ"}};
  // clang-format on
  for (const auto& [bytes, read] : cases) {
    CommandParser whole, split;
    std::string byWhole, byByte;
    for (const Command& c : whole.feed(raw(bytes))) byWhole += " " + commandText(c);
    for (const char b : raw(bytes)) {
      for (const Command& c : split.feed(std::string_view(&b, 1))) byByte += " " + commandText(c);
    }
    EXPECT_EQ(byWhole, *read ? std::string(" ") + read : "") << bytes;
    EXPECT_EQ(byByte, byWhole) << bytes;
  }
  const Command assign{CommandKind::AssignCamera, 12};
  EXPECT_EQ(CommandParser().feed(commandBytes(assign)), std::vector{assign});
  // clang-format off
  const std::pair<const char*, const char*> words[] = {
      {"/05", "camera 5"}, {"/SG", "function camera 16"}, {"/33", "9 pictures / left"},
      {"/XC", "assign camera 12 to the next window"},
      {"/<00><01>/AL/SQ", "function left; sequence"},
      {"/FZ/TP/AV", "zoom; tape; function live"}, {"ab/0", "no command"}};
  // clang-format on
  for (const auto& [bytes, meaning] : words) EXPECT_EQ(describeCommands(raw(bytes)), meaning);
}

// What the device shows after a run of commands (and seconds of its clock, "tick").
TEST(SimulatedDevice, EachCommandChangesTheDeviceByItsRule) {
  const std::string c1 = "camera 1 on the main monitor, live";
  const std::pair<const char*, std::string> cases[] = {
      // clang-format off
      {"", c1}, {"/12", "camera 12 on the main monitor, live"},
      {"/08", "camera 8 on the main monitor, live"},
      {"/16 /44", "camera 16 on the main monitor, live, 16-picture key lit"},
      {"/PP", c1 + ", picture-in-picture key lit"}, {"/33 /22", c1 + ", 4-picture key lit"},
      {"/44 /03", "camera 3 on the main monitor, live"}, {"/22 /FZ", c1 + ", zoom key lit"},
      {"/22 /FZ /PP /33 /44 /FZ", c1}, {"/FZ /<00><01>/AF", c1},
      {"/TP", "camera 1 on the main monitor, tape"}, {"/TP /LV", c1},
      {"/SL", c1 + ", call monitor"}, {"/SL /SL", c1}, {"/S5", c1 + ", call monitor"},
      {"/AT", "camera 1 on the main monitor, function lamp, live"}, {"/AT /AV", c1},
      {"/TP /AT /<00><01>/AU", "camera 1 on the main monitor, tape"},
      // A sequence shows every camera in turn, full screen, and ends at a camera key.
      {"/33 /SQ", c1 + ", sequence running"}, {"/FZ /SQ", c1 + ", sequence running"},
      {"/15 /SQ tick", "camera 16 on the main monitor, live, sequence running"},
      {"/15 /SQ tick tick tick", "camera 2 on the main monitor, live, sequence running"},
      {"/SQ tick /07 tick", "camera 7 on the main monitor, live"}, {"/SQ /SQ tick", c1},
      // Assignment fills the windows of the layout in turn; the camera lamp follows.
      {"/22 /X3 /X4", "camera 4 on the main monitor, live, 4-picture key lit"},
      {"/PP /X3 /X4 /X5", "camera 5 on the main monitor, live, picture-in-picture key lit"},
      // clang-format on
  };
  for (const auto& [script, shown] : cases) {
    SimulatedDevice device;
    std::istringstream in(script);
    for (std::string word; in >> word;) {
      if (word == "tick") {
        device.tick();
      } else {
        for (const Command& c : CommandParser().feed(raw(word))) device.apply(c);
      }
    }
    const StatusFrame frame = device.takeFrame();  // as the program takes it off the line
    const auto aligned = alignStatusFrame(std::string(frame.begin(), frame.end()));
    ASSERT_TRUE(aligned && *aligned == frame) << script;
    EXPECT_EQ(describeStatus(decodeStatusFrame(frame)), shown) << script;
  }
}

TEST(SimulatedDevice, AssignmentNeverRunsPastTheWindowsAndTheBeepGoesOutOnce) {
  SimulatedDevice device;
  device.apply({CommandKind::Sixteen});
  for (int i = 0; i < 40; ++i) device.apply({CommandKind::AssignCamera, 1 + i % 16});
  EXPECT_EQ(device.state().assignLeft, 8);
  EXPECT_EQ(device.state().windows[7], 8);
  device.apply({CommandKind::Quad});
  device.apply({CommandKind::AssignCamera, 9});
  EXPECT_EQ(device.state().assignLeft, 3) << "a new layout starts a new round";

  device.requestBeep();
  EXPECT_TRUE(decodeStatusFrame(device.takeFrame()).beep);
  EXPECT_FALSE(decodeStatusFrame(device.takeFrame()).beep);
}

}  // namespace
}  // namespace vqx::sim
