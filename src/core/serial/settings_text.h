// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "common/result.h"

namespace vqx {

enum class StopBits { One, OneAndHalf, Two };

// The line settings carried by the serial control's Settings text, for example
// "9600,n,8,1" or "115200,e,7,1.5".
struct LineSettings {
  long speed = 9600;
  char parity = 'n';  // e, o, n, m, s (always lower case here)
  int dataBits = 8;   // 4 to 8
  StopBits stopBits = StopBits::One;

  bool operator==(const LineSettings&) const = default;
};

// Parses a Settings text: speed (decimal digits), parity letter (e o n m s, either case),
// data bits (one digit, 4 to 8), stop bits (1, 1.5 or 2), separated by commas. Spaces around
// a field are allowed. Anything else fails with a description.
struct ParsedLineSettings {
  LineSettings settings;
  Result result = Result::ok();
};
ParsedLineSettings parseLineSettings(const std::string& text);

// The Settings text of these line settings, parity in lower case.
std::string formatLineSettings(const LineSettings& settings);

}  // namespace vqx
