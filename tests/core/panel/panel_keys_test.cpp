// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/panel_keys.h"

#include <gtest/gtest.h>

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
    log.push_back("hide " + std::to_string(int(lamp)));
  }
  void moveCameraLamp(int left) override { log.push_back("move " + std::to_string(left)); }
  void togglePort() override { log.emplace_back("toggle"); }
  void showMessage(const std::string& text) override { log.push_back("message " + text); }
  void setRepeatTimer(RepeatTimer timer, bool on) override {
    log.push_back("timer " + std::to_string(int(timer)) + (on ? " on" : " off"));
  }
  void keyStateChanged() override { ++stateChanges; }
};

// Plays a script of operator actions, separated by spaces: "F<", "F>", "F^" a left, right or
// middle press on FunctionA; "Z", "LV", "TP", "SQ", "CL" a click on zoom, Live, Tape, Sequence
// or Call; "P<", "4>", "9^", "16<"... a press and release on Pip, QuattroScreen, NoveScreen or
// SediciScreen; "1" to "16" a click on a camera key; "=5" camera 5 selected from outside; "tU",
// "tD", "tL", "tR" a tick of a repeat timer; "lux4" the device lights the sequence lamp; "|" what
// is sent from here on is what the row expects. Returns that, and the state: "F" function shift,
// "Z" zoom, "A<n>" cameras to assign, "P2", "lux4".
std::pair<std::string, std::string> play(const std::string& script, Host* given = nullptr) {
  Host fresh;
  Host& host = given ? *given : fresh;
  PanelKeys& keys = host.keys;
  using K = PanelKeys;
  using T = RepeatTimer;
  using S = ScreenKey;
  // clang-format off
  const std::map<std::string, void (K::*)()> clicks = {{"Z", &K::zoomClicked},
      {"LV", &K::liveClicked}, {"TP", &K::tapeClicked}, {"SQ", &K::sequenceClicked},
      {"CL", &K::callClicked}};
  const std::map<std::string, T> ticks = {
      {"tU", T::Up}, {"tD", T::Down}, {"tL", T::Left}, {"tR", T::Right}};
  const std::map<std::string, S> screens = {
      {"P", S::PictureInPicture}, {"4", S::FourPictures}, {"9", S::NinePictures}, {"16", S::SixteenPictures}};
  const std::map<char, MouseButton> buttons = {
      {'<', MouseButton::Left}, {'>', MouseButton::Right}, {'^', MouseButton::Middle}};
  std::istringstream in(script);
  for (std::string a; in >> a;) {
    const std::string key = a.substr(0, a.size() - 1);
    if (a == "|") host.sent.clear();
    else if (a == "lux4") host.lamps[Lamp::Sequence] = true;
    else if (clicks.count(a)) (keys.*clicks.at(a))();
    else if (ticks.count(a)) keys.repeatTick(ticks.at(a));
    else if (key == "F") keys.functionPressed(buttons.at(a.back()));
    else if (screens.count(key)) keys.screenKeyPressed(screens.at(key), buttons.at(a.back()));
    else if (a[0] == '=') keys.selectCamera(std::stoi(a.substr(1)));
    else keys.cameraClicked(std::stoi(a));
    if (screens.count(key)) keys.screenKeyReleased(screens.at(key));  // the press ends at once
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
  for (int n : {0, 17}) EXPECT_THROW(command::cameraFunction(n), std::out_of_range) << n;
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

// The second function Pip resets the device: the call and sequence lamps go out.
TEST(PanelKeys, TheResetBySecondFunctionPipPutsOutTheCallAndSequenceLamps) {
  Host host;
  EXPECT_EQ(play("lux4 F> P< F> P<", &host).second, "");
  EXPECT_FALSE(host.lamps[Lamp::Call]);
}

// The windows draw the keys again when their state changed, and only then.
TEST(PanelKeys, TheHostHearsOfEachChangeOfTheKeyStateAndOfNothingElse) {
  Host host;
  play("5 1 LV", &host);
  EXPECT_EQ(host.stateChanges, 0);
  play("F> Z", &host);
  EXPECT_EQ(host.stateChanges, 2);
}

}  // namespace
}  // namespace vqx
