// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "panel/command_parser.h"
#include "status/status_frame.h"

namespace vqx::sim {

enum class Layout { Full, Pip, Quad, Nine, Sixteen };

// What the simulated multiplexer is doing.
struct DeviceState {
  int camera = 1;                 // camera on the main monitor, 1 to 16
  Layout layout = Layout::Full;   // screen layout of the main monitor
  bool zoom = false;              // zoomed picture; the screen keys then pan it
  bool tape = false;              // tape playback; live pictures otherwise
  bool sequence = false;          // camera sequence running
  bool callMonitor = false;       // call monitor switched on
  int callCamera = 1;             // camera on the call monitor
  bool functionLamp = false;      // the device's own function shift
  int assignLeft = 0;             // windows of the layout still to receive a camera
  int assignNext = 0;             // window that receives the next assigned camera
  std::array<int, 16> windows{};  // camera in each window of the multi-picture layout
  bool beepPending = false;       // the next frame carries the beep

  bool operator==(const DeviceState&) const = default;
};

// Number of windows of a layout: 1, 2, 4, 9 or 16.
int windowsOf(Layout layout);

// The simulated multiplexer: applies commands by one rule table and reports its state as
// status frames.
class SimulatedDevice {
 public:
  const DeviceState& state() const { return state_; }
  DeviceState& state() { return state_; }

  // Applies the command's rule; returns what it did, in words, for the log.
  std::string apply(const Command& command);
  // Once a second: a running sequence moves on to the next camera.
  void tick();
  void requestBeep() { state_.beepPending = true; }

  // The state as the panel shows it.
  DeviceStatus status() const;
  // The frame for the current state; the beep goes out once.
  StatusFrame takeFrame();

 private:
  DeviceState state_;
};

// One row of the rule table, for the documentation and the log.
struct RuleInfo {
  CommandKind kind;
  const char* command;  // as sent, c standing for a camera character
  const char* effect;
};
const std::array<RuleInfo, 19>& ruleTable();

}  // namespace vqx::sim
