// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "serial/serial_control.h"
#include "status/indicators.h"
#include "status/status_frame.h"
#include "status/terminal_box.h"

namespace vqx {

// What one receive event took from the terminal box, for the traffic monitor and the incident
// log, part by part in the order received: the frame the panel follows (the box's first four
// characters, aligned), then every whole frame after it (a character above 127 and the three
// that follow), which the panel does not follow; characters between them that form no frame are
// parts of their own.
struct ReceivedPart {
  std::string bytes;  // a frame as aligned, or characters that formed no frame
  bool frame = false;
  bool onPanel = false;  // the frame the panel follows
};
struct ReceivedTrace {
  std::vector<ReceivedPart> parts;
};

// Takes one status frame from the terminal box after received text has been shown in it:
// the box's first four characters, aligned on the first one above 127. Then, found or not,
// empties the box once it holds four or more characters, so characters past the fourth are
// dropped and one to three characters wait for the next block.
// When `trace` is given, every character taken from the box is described in it.
std::optional<StatusFrame> takeStatusFrame(TerminalBox& txtTerm, ReceivedTrace* trace = nullptr);

// The main window's handler of the serial control's communication event. Reads CommEvent
// once; on anything but data received it does nothing. Otherwise it reads Input once, shows
// the bytes in the box (DisplayReceived), takes a frame from the box and decodes it. Returns
// the indicators for the window to apply, or nothing when no frame was found (then no
// indicator changes). Keeps no state of its own between events: what waits is in the box.
// For the traffic monitor, `trace` (when given) receives what was taken from the box.
std::optional<Indicators> MSComm1_OnComm(SerialControl& MSComm1, TerminalBox& txtTerm,
                                         ReceivedTrace* trace = nullptr);

}  // namespace vqx
