// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What passed over the line, one event a line, for the traffic monitor and the incident log:
// the commands sent (one line per key action), the status frames received (as decoded), the
// bytes received that formed no frame, and what happened to the port.

#include <string>
#include <string_view>

namespace vqx {

// A moment of the operator's local time.
struct LocalTime {
  int year = 1970, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0, millisecond = 0;

  bool operator==(const LocalTime&) const = default;
};

// "2026-12-07": the day a line belongs to.
std::string dateText(const LocalTime& time);
// "03:12:07.412".
std::string timeText(const LocalTime& time);

struct TrafficEvent {
  enum class Kind { Sent, Frame, Unframed, Port };
  LocalTime time;
  Kind kind = Kind::Port;
  std::string bytes;    // as they went over the line; empty for a port event
  std::string meaning;  // in words
  bool onPanel = true;  // a frame the panel follows; false for one that came after it in a read
};

// The bytes in hexadecimal, two digits each, separated by spaces: "2F 30 35".
std::string hexText(std::string_view bytes);

// One line of text: time, direction (out, in, port), the bytes and the meaning.
//   03:12:07.412 out  2F 30 35     camera 5
//   03:12:07.431 in   FF 77 7B 37  camera 12 on the main monitor, live, 4-picture key lit
//   03:12:07.431 in   FE 7F 7F 3F  camera 1 on the main monitor (not shown on the panel)
//   03:12:09.000 port              Com1 (/dev/ttyUSB0) opened
std::string trafficLine(const TrafficEvent& event);

}  // namespace vqx
