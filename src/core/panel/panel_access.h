// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The panel for those who do not use the mouse: its keyboard map, and what assistive technology
// is told of each key and lamp.
//
// The keyboard, beside the mouse. A desk's video keyboard selects a camera by its
// number, so the program does the same: hold Ctrl and type the camera's number (Ctrl+5 for
// camera 5, Ctrl+1 then 2 for camera 12). The four screen keys are the device's arrow keys, and
// the panel prints their arrows under them: Ctrl and an arrow key presses the key with that
// arrow, for as long as the arrow key is held (with Shift, as the right mouse button does). Ctrl
// with a digit or an arrow types nothing into the terminal box, is no menu's access key (those
// are Alt and a letter) and leaves Enter to the default key.

#include <optional>
#include <string>
#include <string_view>

#include "panel/panel_layout.h"

namespace vqx {

// The camera number typed with Ctrl held. A number is complete as soon as no further digit
// could make another camera of it (2 to 9, 10 to 16, or 01 to 09 with a leading zero); a lone
// 1 could still become 10 to 16, so it is complete when Ctrl is let go.
class CameraNumberEntry {
 public:
  struct Step {
    enum class Kind { Waiting, Select, NoCamera };
    Kind kind = Kind::Waiting;
    int camera = 0;  // 1 to 16, for Select
  };

  // A digit (0 to 9) typed with Ctrl held.
  Step digit(int digit);
  // Ctrl let go: a number still open is taken as it stands.
  Step controlReleased();
  // Anything else happened (another key, the window lost the focus): the number is dropped.
  void clear() { typed_.clear(); }

 private:
  std::string typed_;
};

enum class Arrow { Up, Down, Left, Right };

// The screen key whose arrow it is: Pip up, QuattroScreen down, NoveScreen left, SediciScreen
// right.
std::string_view screenKeyForArrow(Arrow arrow);

// A key's tooltip: what it does, then its way from the keyboard, for example "... Keyboard:
// hold Ctrl and type 12."
std::string keyToolTip(const layout::KeyEntry& key);

// What assistive technology is told of a key besides its name: the state the panel shows on it
// (the camera key under the camera lamp, a key the device lights red), then its tooltip.
std::string keyDescription(const layout::KeyEntry& key, bool onMainMonitor, bool litRed);
// ... and of a lamp: whether it is lit.
std::string_view lampDescription(bool lit);

}  // namespace vqx
