// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "traffic/traffic.h"

#include "common/captions.h"

namespace vqx {

namespace {

// The number's last `width` decimal digits, with leading zeros.
std::string digits(int value, int width) {
  std::string text(static_cast<std::size_t>(width), '0');
  for (int i = width - 1, v = value < 0 ? -value : value; i >= 0; --i, v /= 10) {
    text[static_cast<std::size_t>(i)] = static_cast<char>('0' + v % 10);
  }
  return text;
}

}  // namespace

std::string dateText(const LocalTime& t) {
  return digits(t.year, 4) + '-' + digits(t.month, 2) + '-' + digits(t.day, 2);
}

std::string timeText(const LocalTime& t) {
  return digits(t.hour, 2) + ':' + digits(t.minute, 2) + ':' + digits(t.second, 2) + '.' +
         digits(t.millisecond, 3);
}

std::string hexText(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (!text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

std::string trafficLine(const TrafficEvent& event) {
  const char* direction = event.kind == TrafficEvent::Kind::Sent   ? "out "
                          : event.kind == TrafficEvent::Kind::Port ? "port"
                                                                   : "in  ";
  std::string hex = hexText(event.bytes);
  if (hex.size() < 11) hex.resize(11, ' ');  // a status frame's width
  std::string line = timeText(event.time) + ' ' + direction + ' ' + hex + "  " + event.meaning;
  if (event.kind == TrafficEvent::Kind::Frame && !event.onPanel) line += caption::kNotOnPanel;
  return line;
}

}  // namespace vqx
