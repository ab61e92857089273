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

TEST(PanelKeyboard, ArrowsWorkTheScreenKeysAndACameraKeysTipTellsItsNumber) {
  EXPECT_EQ(screenKeyForArrow(Arrow::Left), "NoveScreen");
  EXPECT_TRUE(keyToolTip(*layout::findKey("Cinque")).ends_with("hold Ctrl and type 5."));
}

}  // namespace
}  // namespace vqx
