#include "sim/simulated_device.h"

#include <gtest/gtest.h>

#include <set>

#include "status/receive_display.h"
#include "status/status_handler.h"

namespace vqx::sim {
namespace {

using K = CommandKind;

// Drives the device with command bytes and decodes the frame it answers with, as the program
// would.
Indicators afterCommands(SimulatedDevice& device, const std::string& bytes) {
  CommandParser parser;
  for (const auto& c : parser.feed(bytes)) device.apply(c);
  return decodeStatusFrame(device.takeFrame());
}

TEST(SimulatedDevice, StartsWithCameraOneLiveAndNothingLit) {
  SimulatedDevice device;
  Indicators expected;
  expected.cameraLampLeft = 4920;
  expected.liveLamp = true;
  EXPECT_EQ(decodeStatusFrame(device.takeFrame()), expected);
}

TEST(SimulatedDevice, CameraCommandsMoveTheLampOverEveryKey) {
  for (int n = 1; n <= 16; ++n) {
    SimulatedDevice device;
    const std::string cmd = commandBytes({K::Camera, n});
    EXPECT_EQ(afterCommands(device, cmd).cameraLampLeft, cameraLampLeft(n)) << cmd;
  }
}

TEST(SimulatedDevice, LayoutKeysLightOneKeyAtATime) {
  struct Row {
    const char* cmd;
    bool Indicators::*lit;
  };
  const Row rows[] = {{"/PP", &Indicators::pipRed},
                      {"/22", &Indicators::quattroScreenRed},
                      {"/33", &Indicators::noveScreenRed},
                      {"/44", &Indicators::sediciScreenRed}};
  SimulatedDevice device;
  for (const auto& row : rows) {
    const Indicators ind = afterCommands(device, row.cmd);
    int lit = ind.pipRed + ind.quattroScreenRed + ind.noveScreenRed + ind.sediciScreenRed;
    EXPECT_TRUE(ind.*row.lit) << row.cmd;
    EXPECT_EQ(lit, 1) << row.cmd;
  }
  // A camera goes back to full screen: no layout key lit.
  const Indicators full = afterCommands(device, "/03");
  EXPECT_FALSE(full.pipRed || full.quattroScreenRed || full.noveScreenRed || full.sediciScreenRed);
}

TEST(SimulatedDevice, ZoomTogglesAndTurnsScreenKeysIntoArrows) {
  SimulatedDevice device;
  EXPECT_TRUE(afterCommands(device, "/22").quattroScreenRed);
  const Indicators zoomed = afterCommands(device, "/FZ");
  EXPECT_TRUE(zoomed.fullScreenRed);
  EXPECT_FALSE(zoomed.quattroScreenRed);
  const DeviceState before = device.state();
  const Indicators panned = afterCommands(device, "/PP/22/33/44");
  EXPECT_EQ(device.state(), before) << "panning changes no state";
  EXPECT_FALSE(panned.pipRed);
  EXPECT_FALSE(afterCommands(device, "/FZ").fullScreenRed);
  EXPECT_TRUE(afterCommands(device, "/FZ").fullScreenRed);
  EXPECT_FALSE(afterCommands(device, std::string("/\0\1/AF", 6)).fullScreenRed);
}

TEST(SimulatedDevice, ModeLamps) {
  SimulatedDevice device;
  Indicators ind = afterCommands(device, "/TP");
  EXPECT_TRUE(ind.tapeLamp);
  EXPECT_FALSE(ind.liveLamp);
  ind = afterCommands(device, "/LV");
  EXPECT_TRUE(ind.liveLamp);
  EXPECT_FALSE(ind.tapeLamp);
  EXPECT_TRUE(afterCommands(device, "/SL").callLamp);
  EXPECT_FALSE(afterCommands(device, "/SL").callLamp);
  EXPECT_TRUE(afterCommands(device, "/S5").callLamp);
  EXPECT_EQ(device.state().callCamera, 5);
  EXPECT_TRUE(afterCommands(device, "/AT").functionLamp);
  EXPECT_FALSE(afterCommands(device, "/AV").functionLamp);
  EXPECT_TRUE(afterCommands(device, "/TP/AT").functionLamp);
  ind = afterCommands(device, "/AV");
  EXPECT_TRUE(ind.liveLamp);
  EXPECT_FALSE(ind.functionLamp);
}

TEST(SimulatedDevice, SequenceRunsOneCameraPerTickAndStopsOnCamera) {
  SimulatedDevice device;
  afterCommands(device, "/15");
  EXPECT_TRUE(afterCommands(device, "/SQ").sequenceLamp);
  std::vector<int> seen;
  for (int i = 0; i < 3; ++i) {
    device.tick();
    seen.push_back(cameraAtLampLeft(*decodeStatusFrame(device.takeFrame()).cameraLampLeft));
  }
  EXPECT_EQ(seen, (std::vector<int>{16, 1, 2}));
  const Indicators stopped = afterCommands(device, "/07");
  EXPECT_FALSE(stopped.sequenceLamp);
  device.tick();
  EXPECT_EQ(device.state().camera, 7);
  EXPECT_TRUE(afterCommands(device, "/SQ").sequenceLamp);
  EXPECT_FALSE(afterCommands(device, "/SQ").sequenceLamp);
}

TEST(SimulatedDevice, AssignmentFillsTheWindowsOfTheLayout) {
  SimulatedDevice device;
  afterCommands(device, "/22");
  for (int i = 0; i < 4; ++i) {
    const char c = static_cast<char>('1' + i + 2);  // cameras 3..6
    EXPECT_EQ(afterCommands(device, std::string("/X") + c).cameraLampLeft, cameraLampLeft(3 + i));
    EXPECT_EQ(device.state().assignLeft, 3 - i);
  }
  EXPECT_EQ(device.state().windows[0], 3);
  EXPECT_EQ(device.state().windows[3], 6);
  // A new round starts at window 1 again.
  afterCommands(device, "/XG");
  EXPECT_EQ(device.state().windows[0], 16);
  EXPECT_EQ(device.state().assignLeft, 3);
  // A camera command cancels the assignment.
  afterCommands(device, "/01");
  EXPECT_EQ(device.state().assignLeft, 0);
}

TEST(SimulatedDevice, SixteenAssignmentsNeverRunPastTheWindows) {
  SimulatedDevice device;
  afterCommands(device, "/44");
  for (int i = 0; i < 100; ++i) afterCommands(device, "/XA");
  EXPECT_GE(device.state().assignLeft, 0);
  EXPECT_LE(device.state().assignNext, 16);
}

TEST(SimulatedDevice, BeepGoesOutInOneFrameOnly) {
  SimulatedDevice device;
  device.requestBeep();
  EXPECT_TRUE(decodeStatusFrame(device.takeFrame()).beep);
  EXPECT_FALSE(decodeStatusFrame(device.takeFrame()).beep);
}

TEST(SimulatedDevice, EveryCommandHasOneRuleWithAMeaning) {
  std::set<K> kinds;
  for (const auto& rule : ruleTable()) {
    EXPECT_TRUE(kinds.insert(rule.kind).second) << rule.command;
    EXPECT_NE(std::string(rule.effect), "");
  }
  EXPECT_EQ(kinds.size(), 19u);
  SimulatedDevice device;
  for (const auto& rule : ruleTable())
    EXPECT_NE(device.apply({rule.kind, 3}), "ignored") << rule.command;
}

TEST(SimulatedDevice, FramesSurviveTheProgramsReceivePath) {
  // Frames of every state reach the panel intact when they arrive whole.
  SimulatedDevice device;
  for (const char* cmd : {"/12", "/22", "/TP", "/SQ", "/SL", "/AT", "/FZ", "/16", "/08"}) {
    afterCommands(device, cmd);
    const DeviceStatus status = device.status();
    const StatusFrame frame = device.takeFrame();
    TerminalBox box;
    std::string text(frame.begin(), frame.end());
    DisplayReceived(box, text);
    const auto taken = takeStatusFrame(box);
    ASSERT_TRUE(taken) << cmd;
    EXPECT_EQ(*taken, encodeStatusFrame(status)) << cmd;
  }
}

}  // namespace
}  // namespace vqx::sim
