// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <system_error>

#include "common/text.h"

namespace vqx {
namespace {

std::string lowered(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

}  // namespace

ParsedInteger parseStoredInteger(const std::string& text, long long min, long long max) {
  const std::string t = trimmed(text, " \t");
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
  if (i == t.size() || t.find_first_not_of("0123456789", i) != std::string::npos) {
    return {0, Result::fail("Type mismatch")};
  }
  long long value = 0;
  for (; i < t.size(); ++i) {
    value = value * 10 + (t[i] - '0');
    if (value > max - min + 1) return {0, Result::fail("Overflow")};  // no wrap-around
  }
  if (negative) value = -value;
  if (value < min || value > max) return {0, Result::fail("Overflow")};
  return {value, Result::ok()};
}

std::optional<bool> parseTruthValue(const std::string& text) {
  const std::string t = lowered(trimmed(text, " \t"));
  if (t == "true") return true;
  if (t == "false") return false;
  if (t.empty()) return std::nullopt;
  // A number: integer or decimal, as the stored value may have been written by hand; read
  // without the C library's locale, so the decimal point is always ".".
  const char* first = t.data() + (t[0] == '+' ? 1 : 0);
  const char* last = t.data() + t.size();
  const char* digits = first + (first < last && *first == '-' ? 1 : 0);
  if (digits == last || !(std::isdigit(static_cast<unsigned char>(*digits)) || *digits == '.')) {
    return std::nullopt;  // no inf, nan or other words
  }
  double value = 0;
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (end != last) return std::nullopt;
  // Too large (or too small) for a double: still a number, and not 0.
  if (error == std::errc::result_out_of_range) return true;
  if (error != std::errc()) return std::nullopt;
  return value != 0.0;
}

bool applyStoredPortSettings(const SettingsStore& store, SerialControl& serial, Prompts& prompts,
                             bool& echo) {
  const auto stored = [&](const char* key) {
    return store.value(kAppTitle, kPropertiesSection, key);
  };

  const std::string settings = stored("Settings");
  if (!settings.empty()) {
    if (const Result r = serial.setSettings(settings); !r) {
      prompts.error(r.error());
      return false;
    }
  }

  // A rejected port number is only reported together with the handshaking below.
  Result latest = Result::ok();
  const std::string port = stored("CommPort");
  if (!port.empty()) {
    const auto parsed = parseStoredInteger(port, INT16_MIN, INT16_MAX);
    latest = parsed.result ? serial.setCommPort(static_cast<int>(parsed.value)) : parsed.result;
  }

  const std::string handshaking = stored("Handshaking");
  if (!handshaking.empty()) {
    const auto parsed = parseStoredInteger(handshaking, INT32_MIN, INT32_MAX);
    if (!parsed.result) {
      latest = parsed.result;
    } else if (Result r = serial.setHandshaking(parsed.value); !r) {
      latest = r;
    }
    if (!latest) {
      prompts.error(latest.error());
      return false;
    }
  }

  if (const auto value = parseTruthValue(stored("Echo"))) echo = *value;
  return true;
}

}  // namespace vqx
