// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/settings_text.h"

#include <vector>

#include "common/text.h"

namespace vqx {
namespace {

std::vector<std::string> splitFields(const std::string& text) {
  std::vector<std::string> fields;
  std::string::size_type start = 0;
  while (true) {
    const auto comma = text.find(',', start);
    fields.push_back(trimmed(text.substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return fields;
}

ParsedLineSettings failed(std::string description) {
  return {LineSettings{}, Result::fail(std::move(description))};
}

}  // namespace

ParsedLineSettings parseLineSettings(const std::string& text) {
  const auto fields = splitFields(text);
  if (fields.size() != 4) {
    return failed("Invalid port settings \"" + text +
                  "\": expected speed,parity,data bits,stop bits");
  }
  LineSettings s;

  const std::string& speed = fields[0];
  if (speed.empty() || speed.find_first_not_of("0123456789") != std::string::npos) {
    return failed("Invalid baud rate \"" + speed + "\"");
  }
  const auto digits = speed.find_first_not_of('0');
  if (digits == std::string::npos || speed.size() - digits > 9) {
    return failed("Baud rate out of range: " + speed);
  }
  s.speed = std::stol(speed);

  const std::string& parity = fields[1];
  const std::string letters = "eonms";
  if (parity.size() != 1) return failed("Invalid parity \"" + parity + "\"");
  const char p = parity[0] >= 'A' && parity[0] <= 'Z' ? char(parity[0] - 'A' + 'a') : parity[0];
  if (letters.find(p) == std::string::npos) return failed("Invalid parity \"" + parity + "\"");
  s.parity = p;

  const std::string& bits = fields[2];
  if (bits.size() != 1 || bits[0] < '0' || bits[0] > '9') {
    return failed("Invalid data bits \"" + bits + "\"");
  }
  s.dataBits = bits[0] - '0';
  if (s.dataBits < 4 || s.dataBits > 8) return failed("Data bits out of range: " + bits);

  const std::string& stop = fields[3];
  if (stop == "1") {
    s.stopBits = StopBits::One;
  } else if (stop == "1.5") {
    s.stopBits = StopBits::OneAndHalf;
  } else if (stop == "2") {
    s.stopBits = StopBits::Two;
  } else {
    return failed("Invalid stop bits \"" + stop + "\"");
  }
  return {s, Result::ok()};
}

std::string formatLineSettings(const LineSettings& s) {
  const char* stop = s.stopBits == StopBits::One ? "1" : s.stopBits == StopBits::Two ? "2" : "1.5";
  return std::to_string(s.speed) + "," + std::string(1, s.parity) + "," +
         std::to_string(s.dataBits) + "," + stop;
}

}  // namespace vqx
