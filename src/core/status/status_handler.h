// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "serial/serial_control.h"
#include "status/indicators.h"
#include "status/status_frame.h"
#include "status/terminal_box.h"

namespace vqx {

// Takes one status frame from the terminal box after received text has been shown in it:
// the box's first four characters, aligned on the first one above 127. Then, found or not,
// empties the box once it holds four or more characters, so characters past the fourth are
// dropped and one to three characters wait for the next block.
// When `unframed` is given, the characters taken from the box that were no part of the frame
// (the whole four when there was no marker, and those past the fourth) are appended to it.
std::optional<StatusFrame> takeStatusFrame(TerminalBox& txtTerm, std::string* unframed = nullptr);

// The main window's handler of the serial control's communication event. Reads CommEvent
// once; on anything but data received it does nothing. Otherwise it reads Input once, shows
// the bytes in the box (DisplayReceived), takes a frame from the box and decodes it. Returns
// the indicators for the window to apply, or nothing when no frame was found (then no
// indicator changes). Keeps no state of its own between events: what waits is in the box.
// For the traffic monitor, `trace` (when given) receives the frame as aligned and the
// characters that formed no frame.
struct ReceivedTrace {
  std::optional<StatusFrame> frame;
  std::string unframed;
};
std::optional<Indicators> MSComm1_OnComm(SerialControl& MSComm1, TerminalBox& txtTerm,
                                         ReceivedTrace* trace = nullptr);

}  // namespace vqx
