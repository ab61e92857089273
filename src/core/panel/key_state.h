// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace vqx {

// The key state of the main window: what makes the same key send different commands. Created
// with the window, never stored between runs.
struct KeyState {
  bool functionShift = false;  // armed: the next key sends its function variant
  bool zoomOn = false;         // toggled by the zoom key
  bool assigning = false;      // camera assignment mode; false exactly when camerasToAssign is 0
  std::int16_t camerasToAssign = 0;
  std::int16_t pipFunctionStep = 1;  // which of the two Function+Pip steps comes next (1 or 2)
  std::string pipMessage;            // text of the Function+Pip reset's message box

  bool operator==(const KeyState&) const = default;
};

}  // namespace vqx
