// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "status/status_handler.h"
#include "traffic/incident_log.h"
#include "traffic/traffic.h"

namespace vqx {

// What passed over the line, as the traffic monitor and the incident log take it, one event a
// line:
// - the bytes sent within one event of the program (a key action: a click, a repeat tick, a
//   typed character) are one line, whose words name the commands;
// - each part of a receive event is a line of its own: a frame with what it says, bytes that
//   formed no frame;
// - the port's events, in the link's words.
// A frame that the incident log would only count as a repeat gets no words while nobody watches
// the monitor: describing it is most of what recording costs.
class TrafficRecord {
 public:
  // `take` gets each event as it is finished.
  explicit TrafficRecord(std::function<void(TrafficEvent)> take) : take_(std::move(take)) {}

  // Whether the monitor shows the lines: then every frame gets its words.
  void setWatched(bool watched) { watched_ = watched; }
  // The log whose repeats need no words; none when the log is off.
  void setLog(const IncidentLog* log) { log_ = log; }

  // A byte the port took for the key action under way; its first byte sets the action's time.
  void sent(char byte, const LocalTime& now);
  bool actionUnderWay() const { return !action_.empty(); }
  // The event that sent them is over: the action's bytes are one line. An action that came from
  // outside the window names where from (`origin`), in brackets after its words:
  // "2F 30 35  camera 5 (D-Bus :1.42, process 1234 alarm-door)".
  void endAction(std::string_view origin = {});
  // What a receive event took from the box (what was sent before came first).
  void received(const ReceivedStatus& status, const LocalTime& now);
  void port(const std::string& what, const LocalTime& now);

 private:
  std::function<void(TrafficEvent)> take_;
  bool watched_ = false;
  const IncidentLog* log_ = nullptr;
  std::string action_;  // the bytes of the key action under way
  LocalTime actionTime_;
};

}  // namespace vqx
