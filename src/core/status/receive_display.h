// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

#include "status/terminal_box.h"

namespace vqx {

// The box never holds more than this many characters on entry to displayReceived without
// being cut: above it, the oldest kReceiveDisplayCut characters are dropped first.
inline constexpr std::size_t kReceiveDisplayLimit = 16000;
inline constexpr std::size_t kReceiveDisplayCut = 4096;

inline constexpr char kBackspace = 8;
inline constexpr char kLineFeed = 10;
inline constexpr char kCarriageReturn = 13;

// Shows received text in the terminal box the way a simple terminal does, and leaves the
// caret at the end of the box:
// - a box of more than 16000 characters first loses its oldest 4096;
// - a backspace erases the character before it in the text; a backspace at the start of the
//   text erases the box's last character instead, at most one per call;
// - line feeds are dropped and every carriage return becomes carriage return + line feed.
// text is the working copy and is edited in place; the caller does not use it afterwards.
// The box model cannot fail, so there is nothing to report.
void displayReceived(TerminalBox& box, std::string& text);

}  // namespace vqx
