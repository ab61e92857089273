// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/panel_access.h"

#include <gtest/gtest.h>

namespace vqx {
namespace {

// Each row: the keys typed with Ctrl held ('^': Ctrl let go), then what each key does: "." waits
// for more, a number selects that camera, "none" selects no camera (the program beeps).
TEST(CameraNumberEntry, ANumberIsTakenAsSoonAsNoOtherCameraCanGrowFromIt) {
  const struct {
    const char* typed;
    const char* outcome;
  } cases[] = {
      {"5", "5"},          {"25", "2 5"},   {"12", ". 12"}, {"16", ". 16"}, {"1^", ". 1"},
      {"10^", ". 10 ."},   {"17", ". none"}, {"05", ". 5"},  {"0^", ". none"}, {"00", ". none"},
      {"1^1^", ". 1 . 1"}, {"^", "."},
  };
  for (const auto& c : cases) {
    CameraNumberEntry entry;
    std::string outcome;
    for (const char* key = c.typed; *key != '\0'; ++key) {
      const auto step = *key == '^' ? entry.controlReleased() : entry.digit(*key - '0');
      if (!outcome.empty()) outcome += ' ';
      switch (step.kind) {
        case CameraNumberEntry::Step::Kind::Waiting:
          outcome += '.';
          break;
        case CameraNumberEntry::Step::Kind::Select:
          outcome += std::to_string(step.camera);
          break;
        case CameraNumberEntry::Step::Kind::NoCamera:
          outcome += "none";
          break;
      }
    }
    EXPECT_EQ(outcome, c.outcome) << c.typed;
  }
}

// What a screen reader says of a key: its state, what it does, and its keys on the keyboard.
TEST(PanelKeyboard, ArrowsWorkTheScreenKeysAndEachKeySaysHowTheKeyboardReachesIt) {
  EXPECT_EQ(screenKeyForArrow(Arrow::Left), "NoveScreen");
  EXPECT_EQ(keyDescription(*layout::findKey("Cinque"), true, false),
            "On the main monitor. Camera: shows this camera on the main monitor; with the function "
            "shift, its function; in assignment mode, puts it in the next window of the layout. "
            "Keyboard: hold Ctrl and type 5.");
  EXPECT_EQ(keyDescription(*layout::findKey("QuattroScreen"), false, true),
            "On at the device. 4 pictures; down arrow, repeats while held; right button: assign 4 "
            "cameras. Keyboard: Ctrl+Down, repeats while held; with Shift, as the right button.");
  EXPECT_EQ(keyToolTip(*layout::findKey("Pip")),
            "Picture in picture; up arrow, repeats while held. Keyboard: Ctrl+Up, repeats while "
            "held.");
  EXPECT_EQ(keyToolTip(*layout::findKey("Tape")), "Tape playback");
}

}  // namespace
}  // namespace vqx
