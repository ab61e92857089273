#include "panel/panel_keys.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/fake_panel_host.h"

namespace vqx {
namespace {

using testing::FakePanelHost;
using namespace std::string_literals;

// The six characters of a function variant: "/", the raw bytes 0 and 1, "/", "A", letter.
std::string fn(char letter) {
  return "/\x00\x01/A"s + letter;
}

struct Expect {
  bool function = false;
  bool zoom = false;
  std::int16_t assignLeft = 0;
  std::int16_t pipStep = 1;
};

struct Before {
  bool function = false;
  bool zoom = false;
  std::int16_t assignLeft = 0;  // 0, 4, 9 or 16: started with a right press
  std::int16_t pipStep = 1;
  bool sequenceLamp = false;
};

// Brings the keys into a state the way an operator would, then forgets what that sent.
void arrange(PanelKeys& keys, FakePanelHost& host, const Before& b) {
  if (b.pipStep == 2) {
    keys.FunctionA_MouseDown(MouseButton::Right);
    keys.Screen_MouseDown(ScreenKey::Pip, MouseButton::Left);
    keys.Screen_MouseUp(ScreenKey::Pip);
  }
  if (b.zoom) keys.FullScreen_Click();
  const ScreenKey byCount[] = {ScreenKey::QuattroScreen, ScreenKey::NoveScreen,
                               ScreenKey::SediciScreen};
  for (ScreenKey k : byCount) {
    if (screenKeySpec(k).rightPressCount == b.assignLeft) {
      keys.Screen_MouseDown(k, MouseButton::Right);
      keys.Screen_MouseUp(k);
    }
  }
  if (b.function) keys.FunctionA_MouseDown(MouseButton::Right);
  host.lamps[Lamp::Lux4] = b.sequenceLamp;
  host.clear();
  ASSERT_EQ(keys.state().FunctionOn, b.function);
  ASSERT_EQ(keys.state().ZoomOn, b.zoom);
  ASSERT_EQ(keys.state().AssignLeft, b.assignLeft);
  ASSERT_EQ(keys.state().PipFunctionStep, b.pipStep);
}

struct Row {
  const char* what;
  Before before;
  std::function<void(PanelKeys&)> act;
  std::string bytes;
  Expect after;
  bool sequenceLampAfter = false;
};

const auto press = [](ScreenKey k, MouseButton b) {
  return [=](PanelKeys& keys) { keys.Screen_MouseDown(k, b); };
};
constexpr auto L = MouseButton::Left;
constexpr auto R = MouseButton::Right;
constexpr auto M = MouseButton::Middle;
constexpr auto P = ScreenKey::Pip;
constexpr auto Q = ScreenKey::QuattroScreen;
constexpr auto N = ScreenKey::NoveScreen;
constexpr auto S = ScreenKey::SediciScreen;

const std::vector<Row>& rows() {
  static const std::vector<Row> table = {
      // FunctionA
      {"FunctionA right arms the shift",
       {},
       [](PanelKeys& k) { k.FunctionA_MouseDown(R); },
       "",
       {.function = true}},
      {"FunctionA right twice keeps it",
       {.function = true},
       [](PanelKeys& k) { k.FunctionA_MouseDown(R); },
       "",
       {.function = true}},
      {"FunctionA left sends /AT and clears",
       {.function = true},
       [](PanelKeys& k) { k.FunctionA_MouseDown(L); },
       "/AT",
       {}},
      {"FunctionA left without shift",
       {},
       [](PanelKeys& k) { k.FunctionA_MouseDown(L); },
       "/AT",
       {}},
      {"FunctionA middle does nothing",
       {.function = true},
       [](PanelKeys& k) { k.FunctionA_MouseDown(M); },
       "",
       {.function = true}},
      // Zoom
      {"zoom on", {}, [](PanelKeys& k) { k.FullScreen_Click(); }, "/FZ", {.zoom = true}},
      {"zoom off", {.zoom = true}, [](PanelKeys& k) { k.FullScreen_Click(); }, "/FZ", {}},
      {"zoom with shift, zoom on",
       {.function = true, .zoom = true},
       [](PanelKeys& k) { k.FullScreen_Click(); },
       fn('F'),
       {}},
      {"zoom with shift, zoom off",
       {.function = true},
       [](PanelKeys& k) { k.FullScreen_Click(); },
       fn('F'),
       {}},
      {"zoom with sequence lamp",
       {.sequenceLamp = true},
       [](PanelKeys& k) { k.FullScreen_Click(); },
       "/FZ/SQ",
       {.zoom = true}},
      {"zoom keeps assignment",
       {.assignLeft = 9},
       [](PanelKeys& k) { k.FullScreen_Click(); },
       "/FZ",
       {.zoom = true, .assignLeft = 9}},
      // Mode keys
      {"live", {.pipStep = 2}, [](PanelKeys& k) { k.Live_Click(); }, "/LV", {}},
      {"live with shift",
       {.function = true, .pipStep = 2},
       [](PanelKeys& k) { k.Live_Click(); },
       "/AV",
       {}},
      {"tape", {.zoom = true}, [](PanelKeys& k) { k.Tape_Click(); }, "/TP", {.zoom = true}},
      {"tape with shift", {.function = true}, [](PanelKeys& k) { k.Tape_Click(); }, "/TP", {}},
      {"sequence",
       {.zoom = true, .pipStep = 2},
       [](PanelKeys& k) { k.Sequence_Click(); },
       "/SQ",
       {.pipStep = 2}},
      {"sequence with shift",
       {.function = true, .zoom = true},
       [](PanelKeys& k) { k.Sequence_Click(); },
       "/SQ",
       {}},
      {"call", {}, [](PanelKeys& k) { k.Call_Click(); }, "/SL", {}},
      {"call with shift",
       {.function = true, .assignLeft = 4},
       [](PanelKeys& k) { k.Call_Click(); },
       "/SL",
       {.assignLeft = 4}},
      // Screen keys without shift
      {"Pip left", {}, press(P, L), "/PP", {}},
      {"Pip right acts like left", {}, press(P, R), "/PP", {}},
      {"Pip middle", {}, press(P, M), "/PP", {}},
      {"Pip with sequence lamp, no shift", {.sequenceLamp = true}, press(P, L), "/PP", {}, true},
      {"4 left", {}, press(Q, L), "/22", {}},
      {"4 middle", {}, press(Q, M), "/22", {}},
      {"4 right starts assignment of 4", {}, press(Q, R), "/22/22", {.assignLeft = 4}},
      {"9 left", {}, press(N, L), "/33", {}},
      {"9 right starts assignment of 9", {}, press(N, R), "/33/33", {.assignLeft = 9}},
      {"16 left", {}, press(S, L), "/44", {}},
      {"16 right starts assignment of 16", {}, press(S, R), "/44/44", {.assignLeft = 16}},
      {"9 right restarts a count", {.assignLeft = 4}, press(N, R), "/33/33", {.assignLeft = 9}},
      {"4 with sequence lamp: lamp stays", {.sequenceLamp = true}, press(Q, L), "/22/SQ", {}, true},
      {"9 with sequence lamp: lamp hidden", {.sequenceLamp = true}, press(N, L), "/33/SQ", {}},
      {"16 right with sequence lamp",
       {.sequenceLamp = true},
       press(S, R),
       "/44/44/SQ",
       {.assignLeft = 16}},
      {"zoom on does not matter without shift", {.zoom = true}, press(S, L), "/44", {.zoom = true}},
      // Screen keys with shift, zoom off
      {"Pip with shift, first step", {.function = true}, press(P, L), fn('U'), {.pipStep = 2}},
      {"Pip with shift and sequence lamp",
       {.function = true, .sequenceLamp = true},
       press(P, R),
       fn('U') + "/SQ",
       {.pipStep = 2},
       true},
      {"4 with shift", {.function = true}, press(Q, L), fn('D'), {}},
      {"4 right with shift: no assignment", {.function = true}, press(Q, R), fn('D'), {}},
      {"9 with shift", {.function = true}, press(N, M), fn('L'), {}},
      {"16 with shift", {.function = true}, press(S, L), fn('R'), {}},
      {"4 with shift and sequence lamp",
       {.function = true, .sequenceLamp = true},
       press(Q, L),
       fn('D') + "/SQ",
       {},
       true},
      // Screen keys with shift, zoom on: nothing, the shift stays
      {"Pip with shift, zoom on",
       {.function = true, .zoom = true},
       press(P, L),
       "",
       {.function = true, .zoom = true}},
      {"Pip with shift, zoom on, sequence lamp",
       {.function = true, .zoom = true, .sequenceLamp = true},
       press(P, L),
       "",
       {.function = true, .zoom = true},
       true},
      {"4 with shift, zoom on",
       {.function = true, .zoom = true},
       press(Q, R),
       "",
       {.function = true, .zoom = true}},
      {"9 with shift, zoom on, sequence lamp",
       {.function = true, .zoom = true, .sequenceLamp = true},
       press(N, L),
       "/SQ",
       {.function = true, .zoom = true}},
      {"16 with shift, zoom on",
       {.function = true, .zoom = true, .pipStep = 2},
       press(S, L),
       "",
       {.function = true, .zoom = true, .pipStep = 2}},
  };
  return table;
}

TEST(PanelKeysTable, EveryRowSendsItsBytesAndLeavesItsState) {
  for (const Row& row : rows()) {
    SCOPED_TRACE(row.what);
    FakePanelHost host;
    PanelKeys keys(host);
    arrange(keys, host, row.before);
    row.act(keys);
    EXPECT_EQ(host.sent, row.bytes);
    EXPECT_EQ(keys.state().FunctionOn, row.after.function);
    EXPECT_EQ(keys.state().ZoomOn, row.after.zoom);
    EXPECT_EQ(keys.state().AssignLeft, row.after.assignLeft);
    EXPECT_EQ(keys.state().AssignOn, row.after.assignLeft != 0);
    EXPECT_EQ(keys.state().PipFunctionStep, row.after.pipStep);
    EXPECT_EQ(host.lamps[Lamp::Lux4], row.sequenceLampAfter);
  }
}

TEST(PanelKeysTable, ScreenKeyPressStartsItsRepeatTimerFirstAndReleaseStopsIt) {
  const std::pair<ScreenKey, const char*> keysAndTimers[] = {
      {P, "TimerUp"}, {Q, "TimerDown"}, {N, "TimerLeft"}, {S, "TimerRight"}};
  for (const auto& [key, timer] : keysAndTimers) {
    for (const Before& b :
         {Before{}, Before{.function = true}, Before{.function = true, .zoom = true}}) {
      FakePanelHost host;
      PanelKeys keys(host);
      arrange(keys, host, b);
      keys.Screen_MouseDown(key, R);
      ASSERT_FALSE(host.log.empty());
      EXPECT_EQ(host.log.front(), std::string(timer) + " on");
      host.clear();
      keys.Screen_MouseUp(key);
      EXPECT_EQ(host.log, std::vector<std::string>{std::string(timer) + " off"});
      EXPECT_EQ(host.sent, "");
    }
  }
}

TEST(PanelKeysTable, RepeatTicks) {
  struct Tick {
    RepeatTimer timer;
    bool function;
    bool zoom;
    std::string bytes;
  };
  const Tick ticks[] = {
      {RepeatTimer::TimerUp, false, false, "/PP"},    {RepeatTimer::TimerUp, true, true, "/PP"},
      {RepeatTimer::TimerDown, false, false, "/22"},  {RepeatTimer::TimerDown, true, false, ""},
      {RepeatTimer::TimerDown, true, true, ""},       {RepeatTimer::TimerLeft, false, true, "/33"},
      {RepeatTimer::TimerLeft, true, true, "/33"},    {RepeatTimer::TimerRight, true, false, "/44"},
      {RepeatTimer::TimerRight, false, false, "/44"},
  };
  for (const Tick& t : ticks) {
    FakePanelHost host;
    PanelKeys keys(host);
    arrange(keys, host, {.function = t.function, .zoom = t.zoom, .sequenceLamp = true});
    const KeyState before = keys.state();
    keys.Repeat_Timer(t.timer);
    EXPECT_EQ(host.sent, t.bytes) << testing::timerName(t.timer);
    EXPECT_EQ(keys.state(), before);
    EXPECT_TRUE(host.lamps[Lamp::Lux4]) << "a tick never touches the sequence lamp";
    EXPECT_EQ(host.changes, 0);
  }
}

// The sixteen camera keys, written out as the device expects them.
struct CameraRow {
  int n;
  const char* plain;
  const char* function;
  const char* assign;
};
const CameraRow kCameras[] = {
    {1, "/01", "/S1", "/X1"},  {2, "/02", "/S2", "/X2"},  {3, "/03", "/S3", "/X3"},
    {4, "/04", "/S4", "/X4"},  {5, "/05", "/S5", "/X5"},  {6, "/06", "/S6", "/X6"},
    {7, "/07", "/S7", "/X7"},  {8, "/08", "/S8", "/X8"},  {9, "/09", "/S9", "/X9"},
    {10, "/10", "/SA", "/XA"}, {11, "/11", "/SB", "/XB"}, {12, "/12", "/SC", "/XC"},
    {13, "/13", "/SD", "/XD"}, {14, "/14", "/SE", "/XE"}, {15, "/15", "/SF", "/XF"},
    {16, "/16", "/SG", "/XG"},
};

TEST(CameraKeys, PlainFunctionAndAssignmentForEveryCamera) {
  for (const CameraRow& c : kCameras) {
    SCOPED_TRACE(c.n);
    {  // plain, zoom on before: zoom off after
      FakePanelHost host;
      PanelKeys keys(host);
      arrange(keys, host, {.zoom = true});
      keys.Camera_Click(c.n);
      EXPECT_EQ(host.sent, c.plain);
      EXPECT_FALSE(keys.state().ZoomOn);
      EXPECT_EQ(host.cameraLampLeft, 4920) << "camera keys never move the lamp";
    }
    {  // function shift, with zoom on and an assignment in progress: only the shift goes
      FakePanelHost host;
      PanelKeys keys(host);
      arrange(keys, host, {.function = true, .zoom = true, .assignLeft = 9});
      keys.Camera_Click(c.n);
      EXPECT_EQ(host.sent, c.function);
      EXPECT_FALSE(keys.state().FunctionOn);
      EXPECT_TRUE(keys.state().ZoomOn);
      EXPECT_EQ(keys.state().AssignLeft, 9);
      EXPECT_TRUE(keys.state().AssignOn);
    }
    {  // assignment
      FakePanelHost host;
      PanelKeys keys(host);
      arrange(keys, host, {.zoom = true, .assignLeft = 16});
      keys.Camera_Click(c.n);
      EXPECT_EQ(host.sent, c.assign);
      EXPECT_EQ(keys.state().AssignLeft, 15);
      EXPECT_TRUE(keys.state().AssignOn);
      EXPECT_FALSE(keys.state().ZoomOn);
    }
  }
}

TEST(CameraKeys, NumberOutsideTheRowChangesNothing) {
  FakePanelHost host;
  PanelKeys keys(host);
  arrange(keys, host, {.function = true});
  for (int n : {0, 17, -1, 100}) {
    EXPECT_THROW(keys.Camera_Click(n), std::out_of_range);
  }
  EXPECT_EQ(host.sent, "");
  EXPECT_TRUE(keys.state().FunctionOn);
}

TEST(CameraKeys, AssignmentOfFourEndsAfterTheFourthCamera) {
  FakePanelHost host;
  PanelKeys keys(host);
  keys.Screen_MouseDown(Q, R);
  keys.Screen_MouseUp(Q);
  host.clear();
  for (int n : {5, 6, 7, 8}) keys.Camera_Click(n);
  EXPECT_EQ(host.sent, "/X5/X6/X7/X8");
  EXPECT_FALSE(keys.state().AssignOn);
  EXPECT_EQ(keys.state().AssignLeft, 0);
  host.clear();
  keys.Camera_Click(1);
  EXPECT_EQ(host.sent, "/01");
}

TEST(CameraKeys, FunctionShiftDuringAssignmentDoesNotCount) {
  FakePanelHost host;
  PanelKeys keys(host);
  keys.Screen_MouseDown(Q, R);
  keys.Camera_Click(5);
  keys.FunctionA_MouseDown(R);
  keys.Camera_Click(6);
  EXPECT_EQ(keys.state().AssignLeft, 3);
  keys.Camera_Click(7);
  keys.Camera_Click(8);
  keys.Camera_Click(9);
  EXPECT_EQ(host.sent, "/22/22/X5/S6/X7/X8/X9");
  EXPECT_FALSE(keys.state().AssignOn);
}

TEST(CameraKeys, RightPressRestartsTheCount) {
  FakePanelHost host;
  PanelKeys keys(host);
  keys.Screen_MouseDown(N, R);
  for (int n : {1, 2, 3}) keys.Camera_Click(n);
  EXPECT_EQ(keys.state().AssignLeft, 6);
  keys.Screen_MouseDown(Q, R);
  EXPECT_EQ(keys.state().AssignLeft, 4);
  host.clear();
  for (int n : {13, 14, 15, 16, 1}) keys.Camera_Click(n);
  EXPECT_EQ(host.sent, "/XD/XE/XF/XG/01");
}

TEST(FunctionPip, SecondStepResetsThePanelAndTogglesThePort) {
  FakePanelHost host;
  PanelKeys keys(host);
  keys.setPipMessage("Panel reset");
  host.lamps[Lamp::Lux3] = true;
  keys.FunctionA_MouseDown(R);
  keys.Screen_MouseDown(P, L);
  keys.Screen_MouseUp(P);
  EXPECT_EQ(host.sent, fn('U')) << "the first step sends the six characters only";
  EXPECT_EQ(host.toggles, 0);
  EXPECT_EQ(keys.state().PipFunctionStep, 2);

  host.lamps[Lamp::Lux4] = true;
  host.clear();
  KeyState during;
  host.onMessage = [&] { during = keys.state(); };
  keys.FunctionA_MouseDown(R);
  keys.Screen_MouseDown(P, L);
  const std::vector<std::string> expected = {"TimerUp on",         "send " + fn('U'), "TimerUp off",
                                             "hide Lux3",          "hide Lux4",       "toggle",
                                             "message Panel reset"};
  EXPECT_EQ(host.log, expected) << "no /SQ after OK: the sequence lamp is hidden by then";
  EXPECT_EQ(host.messages, std::vector<std::string>{"Panel reset"});
  EXPECT_EQ(during.PipFunctionStep, 2) << "the step goes back only when the box is closed";
  EXPECT_TRUE(during.FunctionOn);
  EXPECT_EQ(keys.state().PipFunctionStep, 1);
  EXPECT_FALSE(keys.state().FunctionOn);
  EXPECT_FALSE(host.lamps[Lamp::Lux3]);
  EXPECT_FALSE(host.lamps[Lamp::Lux4]);
  EXPECT_FALSE(host.timers[RepeatTimer::TimerUp]);

  // and the cycle starts over
  host.clear();
  keys.FunctionA_MouseDown(R);
  keys.Screen_MouseDown(P, L);
  EXPECT_EQ(host.toggles, 1);
  EXPECT_EQ(keys.state().PipFunctionStep, 2);
}

TEST(FunctionPip, PressWithZoomOnDoesNotCount) {
  FakePanelHost host;
  PanelKeys keys(host);
  keys.FunctionA_MouseDown(R);
  keys.Screen_MouseDown(P, L);  // step 1 -> 2
  keys.FullScreen_Click();      // zoom on
  keys.FunctionA_MouseDown(R);
  host.clear();
  keys.Screen_MouseDown(P, L);
  EXPECT_EQ(host.sent, "");
  EXPECT_EQ(host.toggles, 0);
  EXPECT_EQ(keys.state().PipFunctionStep, 2);
  EXPECT_TRUE(keys.state().FunctionOn);
}

TEST(FunctionPip, LiveMakesTheNextFunctionPipAFirstStepAgain) {
  FakePanelHost host;
  PanelKeys keys(host);
  keys.FunctionA_MouseDown(R);
  keys.Screen_MouseDown(P, L);
  keys.Live_Click();
  keys.FunctionA_MouseDown(R);
  keys.Screen_MouseDown(P, L);
  EXPECT_EQ(host.toggles, 0);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(keys.state().PipFunctionStep, 2);
}

TEST(ZoomKey, PutsTheCameraLampBackAndHidesTheSequenceLamp) {
  for (bool function : {false, true}) {
    FakePanelHost host;
    PanelKeys keys(host);
    host.cameraLampLeft = 7560;
    arrange(keys, host, {.function = function, .sequenceLamp = true});
    keys.FullScreen_Click();
    EXPECT_EQ(host.sent, (function ? fn('F') : "/FZ"s) + "/SQ");
    EXPECT_EQ(host.log.back(), "move Lux 4920");
    EXPECT_EQ(host.cameraLampLeft, 4920);
    EXPECT_FALSE(host.lamps[Lamp::Lux4]);
  }
}

TEST(HeldKeys, TimerDownSilentWhileShiftStaysArmedWithZoomOn) {
  FakePanelHost host;
  PanelKeys keys(host);
  arrange(keys, host, {.function = true, .zoom = true});
  keys.Screen_MouseDown(Q, L);
  for (int i = 0; i < 3; ++i) keys.Repeat_Timer(RepeatTimer::TimerDown);
  keys.Screen_MouseUp(Q);
  EXPECT_EQ(host.sent, "");
  keys.Screen_MouseDown(N, L);
  keys.Repeat_Timer(RepeatTimer::TimerLeft);
  EXPECT_EQ(host.sent, "/33");
}

TEST(HeldKeys, ShiftConsumedByThePressThenTicksRepeatThePlainCommand) {
  FakePanelHost host;
  PanelKeys keys(host);
  arrange(keys, host, {.function = true});
  keys.Screen_MouseDown(Q, L);
  keys.Repeat_Timer(RepeatTimer::TimerDown);
  keys.Repeat_Timer(RepeatTimer::TimerDown);
  EXPECT_EQ(host.sent, fn('D') + "/22/22");
}

TEST(KeyStateNotice, HeardExactlyWhenTheStateChanged) {
  FakePanelHost host;
  PanelKeys keys(host);
  keys.Tape_Click();
  EXPECT_EQ(host.changes, 0);
  keys.FunctionA_MouseDown(R);
  EXPECT_EQ(host.changes, 1);
  keys.FunctionA_MouseDown(R);
  EXPECT_EQ(host.changes, 1);
  keys.Camera_Click(3);
  EXPECT_EQ(host.changes, 2);
  keys.Screen_MouseDown(S, R);
  EXPECT_EQ(host.changes, 3);
  keys.Screen_MouseUp(S);
  keys.Repeat_Timer(RepeatTimer::TimerRight);
  EXPECT_EQ(host.changes, 3);
}

TEST(Failures, AFailingStepIsSkippedAndTheRestStillRuns) {
  FakePanelHost host;
  PanelKeys keys(host);
  host.failKeyPress = true;
  host.failLampRead = true;
  keys.Screen_MouseDown(N, R);
  EXPECT_TRUE(keys.state().AssignOn);
  EXPECT_EQ(keys.state().AssignLeft, 9);
  EXPECT_TRUE(host.timers[RepeatTimer::TimerLeft]);
  keys.FullScreen_Click();
  EXPECT_TRUE(keys.state().ZoomOn);
  EXPECT_EQ(host.log.back(), "move Lux 4920");
}

TEST(WindowLoad, StartValuesKeepTheMessage) {
  FakePanelHost host;
  PanelKeys keys(host);
  keys.setPipMessage("reset");
  keys.FunctionA_MouseDown(R);
  keys.Screen_MouseDown(P, L);
  keys.FullScreen_Click();
  keys.Screen_MouseDown(S, R);
  keys.windowLoaded();
  KeyState start;
  start.PipMessage = "reset";
  EXPECT_EQ(keys.state(), start);
}

// Whatever the operator does, assignment mode is on exactly while cameras are left to assign.
TEST(Invariant, AssignOnGoesWithAssignLeftAfterEveryCall) {
  std::mt19937 random(20240611);
  FakePanelHost host;
  PanelKeys keys(host);
  const MouseButton buttons[] = {L, R, M};
  const ScreenKey screens[] = {P, Q, N, S};
  const RepeatTimer timers[] = {RepeatTimer::TimerUp, RepeatTimer::TimerDown,
                                RepeatTimer::TimerLeft, RepeatTimer::TimerRight};
  for (int i = 0; i < 20000; ++i) {
    host.lamps[Lamp::Lux4] = random() % 4 == 0;
    const auto button = buttons[random() % 3];
    switch (random() % 10) {
      case 0:
        keys.FunctionA_MouseDown(button);
        break;
      case 1:
        keys.FullScreen_Click();
        break;
      case 2:
        keys.Live_Click();
        break;
      case 3:
        keys.Tape_Click();
        break;
      case 4:
        keys.Sequence_Click();
        break;
      case 5:
        keys.Call_Click();
        break;
      case 6:
        keys.Screen_MouseDown(screens[random() % 4], button);
        break;
      case 7:
        keys.Screen_MouseUp(screens[random() % 4]);
        break;
      case 8:
        keys.Repeat_Timer(timers[random() % 4]);
        break;
      default:
        keys.Camera_Click(1 + static_cast<int>(random() % 16));
        break;
    }
    const KeyState& s = keys.state();
    ASSERT_EQ(s.AssignOn, s.AssignLeft != 0) << "after call " << i;
    ASSERT_GE(s.AssignLeft, 0);
    ASSERT_LE(s.AssignLeft, 16);
    ASSERT_TRUE(s.PipFunctionStep == 1 || s.PipFunctionStep == 2);
  }
}

}  // namespace
}  // namespace vqx
