// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

#include "common/prompts.h"
#include "serial/serial_control.h"

namespace vqx {

// What the close sequence needs of the event loop while it waits for output to drain.
class EventPump {
 public:
  virtual ~EventPump() = default;
  // Lets pending events of all windows run, sleeping a few milliseconds when there are none.
  virtual void pumpBriefly() = 0;
  virtual std::chrono::steady_clock::time_point now() const = 0;
};

inline constexpr std::chrono::seconds kDrainDeadline{10};
inline constexpr const char* kDataCannotBeSent = "Data cannot be sent";

// The main window's close sequence. With the port open it waits for queued output to drain
// (outBufferCount 0: the line has every byte), asking "Data cannot be sent" (Abort, Retry,
// Ignore) each time 10 seconds pass without it, then closes the port: after the drain nothing
// is dropped, after Ignore what still waits is. Returns true when the program is to end, false
// when the operator chose Abort (the window and the port stay as they are).
bool runCloseSequence(SerialControl& serial, Prompts& prompts, EventPump& pump);

// Whether the close sequence has output to wait for: the port is open and bytes are still
// queued. A sequence that has none ends at once, without yielding to the event loop.
bool closeSequenceWaits(const SerialControl& serial);

}  // namespace vqx
