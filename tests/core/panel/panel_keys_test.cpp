// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/panel_keys.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <sstream>
#include <stdexcept>

namespace vqx {
namespace {

using namespace std::string_literals;

// A panel host that records what the key handling does: every character handed to the key
// transmission, and a log of the other calls in order, with the lamps it keeps.
struct Host : PanelHost {
  PanelKeys keys{*this};
  std::string sent;
  std::vector<std::string> log;
  std::map<Lamp, bool> lamps{{Lamp::Call, true}, {Lamp::Sequence, false}};
  bool failing = false;  // every character and every lamp read throws
  int stateChanges = 0;

  void keyPress(std::int16_t code) override {
    if (failing) throw std::runtime_error("Port not open");
    sent.push_back(static_cast<char>(code));
  }
  bool lampVisible(Lamp lamp) override {
    if (failing) throw std::runtime_error("property read failed");
    return lamps[lamp];
  }
  void hideLamp(Lamp lamp) override {
    lamps[lamp] = false;
    const char* const names[] = {"camera", "live", "call", "sequence", "tape", "function"};
    log.push_back("hide "s + names[int(lamp)]);
  }
  void moveCameraLamp(int left) override { log.push_back("move " + std::to_string(left)); }
  void togglePort() override { log.emplace_back("toggle"); }
  void showMessage(const std::string& text) override { log.push_back("message " + text); }
  void setRepeatTimer(RepeatTimer timer, bool on) override {
    log.push_back("timer " + std::to_string(int(timer)) + (on ? " on" : " off"));
  }
  void keyStateChanged() override { ++stateChanges; }
};

// Plays a script of operator actions, separated by spaces, each a mouse button pressed on a key
// of the layout and let go over it, as the window hands them on: "F<", "F>", "F^" the left,
// right or middle button on FunctionA, "P<", "4>", "9^", "16<"... on Pip, QuattroScreen,
// NoveScreen or SediciScreen; a left click on "Z", "LV", "TP", "SQ", "CL" (zoom, Live, Tape,
// Sequence, Call) or a camera key "1" to "16"; "=5" camera 5 selected from outside; "tU", "tD",
// "tL", "tR" a tick of a repeat timer; "lux4" the device lights the sequence lamp; "|" what is
// sent from here on is what the row expects. Returns that, and the state: "F" function shift,
// "Z" zoom, "A<n>" cameras to assign, "P2", "lux4".
std::pair<std::string, std::string> play(const std::string& script, Host* given = nullptr) {
  Host fresh;
  Host& host = given ? *given : fresh;
  PanelKeys& keys = host.keys;
  using T = RepeatTimer;
  // clang-format off
  const std::map<std::string, std::string_view> named = {{"F", "FunctionA"}, {"Z", "FullScreen"},
      {"LV", "Live"}, {"TP", "Tape"}, {"SQ", "Sequence"}, {"CL", "Call"}, {"P", "Pip"},
      {"4", "QuattroScreen"}, {"9", "NoveScreen"}, {"16", "SediciScreen"}};
  const std::map<std::string, T> ticks = {
      {"tU", T::Up}, {"tD", T::Down}, {"tL", T::Left}, {"tR", T::Right}};
  const std::map<char, MouseButton> buttons = {
      {'<', MouseButton::Left}, {'>', MouseButton::Right}, {'^', MouseButton::Middle}};
  std::istringstream in(script);
  for (std::string a; in >> a;) {
    if (a == "|") host.sent.clear();
    else if (a == "lux4") host.lamps[Lamp::Sequence] = true;
    else if (ticks.count(a)) keys.repeatTick(ticks.at(a));
    else if (a[0] == '=') keys.selectCamera(std::stoi(a.substr(1)));
    else {
      const bool withButton = buttons.count(a.back()) > 0;
      const std::string name = withButton ? a.substr(0, a.size() - 1) : a;
      const MouseButton button = withButton ? buttons.at(a.back()) : MouseButton::Left;
      const bool camera = !withButton && std::isdigit(a[0]);
      const layout::KeyEntry* key = layout::findKey(
          camera ? layout::cameraKeyName(std::stoi(name)) : named.at(name));
      keys.pressed(*key, button);
      keys.released(*key);
      if (button == MouseButton::Left) keys.clicked(*key);
    }
  }
  const KeyState& s = keys.state();
  std::string state;
  if (s.functionShift) state += " F";
  if (s.zoomOn) state += " Z";
  if (s.assigning || s.camerasToAssign) state += " A" + std::to_string(s.assigning ? s.camerasToAssign : -1);
  if (s.pipFunctionStep != 1) state += " P" + std::to_string(s.pipFunctionStep);
  if (host.lamps[Lamp::Sequence]) state += " lux4";
  // clang-format on
  return {host.sent, state.empty() ? state : state.substr(1)};
}

TEST(PanelKeys, EveryKeyInEveryStateSendsItsBytesAndLeavesItsState) {
  // The function variants: "/", the raw bytes 0 and 1, "/", "A" and a letter.
  const std::string fF = "/\0\1/AF"s, fU = "/\0\1/AU"s, fD = "/\0\1/AD"s, fL = "/\0\1/AL"s,
                    fR = "/\0\1/AR"s;
  const std::tuple<const char*, std::string, const char*> rows[] = {
      // clang-format off
      // FunctionA
      {"| F>", "", "F"}, {"F> | F>", "", "F"}, {"F> | F<", "/AT", ""}, {"| F<", "/AT", ""},
      {"F> | F^", "", "F"},
      // Zoom: toggles; with the shift its variant and zoom off; "/SQ" and the lamp out with a
      // sequence running
      {"| Z", "/FZ", "Z"}, {"Z | Z", "/FZ", ""}, {"Z F> | Z", fF, ""}, {"F> | Z", fF, ""},
      {"lux4 | Z", "/FZ/SQ", "Z"}, {"lux4 F> | Z", fF + "/SQ", ""}, {"9> | Z", "/FZ", "Z A9"},
      // Mode keys
      {"F> P< | LV", "/LV", ""}, {"F> P< F> | LV", "/AV", ""}, {"Z | TP", "/TP", "Z"},
      {"F> | TP", "/TP", ""}, {"F> P< Z | SQ", "/SQ", "P2"}, {"Z F> | SQ", "/SQ", ""},
      {"4> F> | CL", "/SL", "A4"},
      // Screen keys without the shift: any button sends; a right press starts an assignment
      {"| P<", "/PP", ""}, {"| P>", "/PP", ""}, {"| P^", "/PP", ""}, {"lux4 | P<", "/PP", "lux4"},
      {"| 4<", "/22", ""}, {"| 4^", "/22", ""}, {"| 4>", "/22/22", "A4"}, {"| 9<", "/33", ""},
      {"| 9>", "/33/33", "A9"}, {"| 16^", "/44", ""}, {"| 16>", "/44/44", "A16"},
      {"4> 1 | 9>", "/33/33", "A9"}, {"lux4 | 4<", "/22/SQ", "lux4"}, {"lux4 | 9<", "/33/SQ", ""},
      {"lux4 | 16>", "/44/44/SQ", "A16"}, {"Z | 16<", "/44", "Z"},
      // Screen keys with the shift, zoom off: the function variant
      {"F> | P<", fU, "P2"}, {"F> lux4 | P>", fU + "/SQ", "P2 lux4"}, {"F> | 4<", fD, ""},
      {"F> | 4>", fD, ""}, {"F> | 9^", fL, ""}, {"F> | 16<", fR, ""},
      {"F> lux4 | 4<", fD + "/SQ", "lux4"},
      // ... zoom on: nothing, and the shift stays; only the sequence check still runs
      {"Z F> | P<", "", "F Z"}, {"Z F> lux4 | P<", "", "F Z lux4"}, {"Z F> | 4>", "", "F Z"},
      {"Z F> lux4 | 9<", "/SQ", "F Z"}, {"F> P< Z F> | 16<", "", "F Z P2"},
      // Cameras: the shift first, then assignment; plain and assignment clicks end zoom
      {"Z | 5", "/05", ""}, {"9> Z F> | 5", "/S5", "Z A9"}, {"16> Z | 5", "/X5", "A15"},
      {"4> | 5 6 7 8 | 1", "/01", ""}, {"4> 5 F> 6 | 7 8 9", "/X7/X8/X9", ""},
      {"9> 1 2 3 4> | 13 14 15 16 1", "/XD/XE/XF/XG/01", ""},
      // A camera selected from outside: the plain command whatever is armed, and nothing armed
      {"F> P< 9> 1 Z F> | =12", "/12", "P2"}, {"lux4 | =5", "/05", "lux4"},
      // Repeat ticks: the plain command whatever the state, but down stays silent under the shift
      {"Z F> lux4 | tU", "/PP", "F Z lux4"}, {"| tD", "/22", ""}, {"F> | tD", "", "F"},
      {"Z F> | tL", "/33", "F Z"}, {"F> | tR", "/44", "F"}, {"Z F> | 4< tD tD", "", "F Z"},
      {"F> | 4< tD tD", fD + "/22/22", ""},
      // clang-format on
  };
  for (const auto& [script, sent, state] : rows)
    EXPECT_EQ(play(script), std::pair(sent, std::string(state))) << script;
  std::string cameras;  // each camera key: plain, under the shift, in an assignment
  for (const char* before : {"| ", "F> | ", "16> | "})
    for (int n = 1; n <= 16; ++n) cameras += play(before + std::to_string(n)).first;
  EXPECT_EQ(cameras,
            "/01/02/03/04/05/06/07/08/09/10/11/12/13/14/15/16"
            "/S1/S2/S3/S4/S5/S6/S7/S8/S9/SA/SB/SC/SD/SE/SF/SG"
            "/X1/X2/X3/X4/X5/X6/X7/X8/X9/XA/XB/XC/XD/XE/XF/XG");
  for (int n : {0, 17}) {
    for (const auto command :
         {command::cameraPlain, command::cameraFunction, command::cameraAssign}) {
      EXPECT_THROW(command(n), std::out_of_range) << n;
    }
  }
}

TEST(PanelKeys, AFailingStepIsSkippedAndTheRestStillRuns) {
  Host host;
  host.failing = true;
  host.keys.screenKeyPressed(ScreenKey::NinePictures, MouseButton::Right);
  EXPECT_EQ(host.log.front(), "timer 2 on");
  host.keys.zoomClicked();
  EXPECT_EQ(host.log.back(), "move 4920") << "the zoom key puts the camera lamp above camera 1";
  host.failing = false;
  EXPECT_EQ(play("", &host).second, "Z A9");
}

// The second function Pip resets the device: the key's repeat stops before the port is closed
// or opened again and the reset's message shows; the call and sequence lamps go out.
TEST(PanelKeys, TheResetBySecondFunctionPipStopsTheRepeatFirstAndPutsOutTheLamps) {
  Host host;
  host.keys.setPipMessage("Reset done");
  EXPECT_EQ(play("lux4 F> P< F> |", &host).second, "F P2 lux4");
  host.log.clear();
  EXPECT_EQ(play("P<", &host).second, "");
  const std::vector<std::string> steps = {"timer 0 on", "timer 0 off", "hide call",
                                          "hide sequence", "toggle", "message Reset done",
                                          "timer 0 off"};
  EXPECT_EQ(host.log, steps);
}

// The windows draw the keys again when their state changed, and only then.
TEST(PanelKeys, TheHostHearsOfEachChangeOfTheKeyStateAndOfNothingElse) {
  Host host;
  play("5 1 LV", &host);
  EXPECT_EQ(host.stateChanges, 0);
  play("F> =5 Z F> LV F> TP F> SQ F> CL", &host);
  EXPECT_EQ(host.stateChanges, 11);
}

}  // namespace
}  // namespace vqx
