// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "common/prompts.h"
#include "common/settings_store.h"
#include "serial/serial_control.h"

namespace vqx {

inline constexpr const char* kPropertiesSection = "Properties";

// Applies the stored port settings ("Settings", "CommPort", "Handshaking", "Echo" of section
// "Properties") to the serial control and to echo, as the main window does when it loads.
// A rejected "Settings", or a rejected "Handshaking" (reported together with a rejected
// "CommPort" before it), is shown once and ends the startup: the result is false and the
// caller must not go on with the settings file, the language or the port.
bool applyStoredPortSettings(const SettingsStore& store, SerialControl& serial, Prompts& prompts,
                             bool& echo);

// Truth value of stored text: "True" and "False" (any case), or a number (true when not 0).
// Anything else is no truth value.
std::optional<bool> parseTruthValue(const std::string& text);

// A stored whole number, surrounding spaces ignored, in [min, max]. Fails with the
// description the operator is shown: "Type mismatch" for text that is no number, "Overflow"
// for a number outside the range.
struct ParsedInteger {
  long long value = 0;
  Result result = Result::ok();
};
ParsedInteger parseStoredInteger(const std::string& text, long long min, long long max);

}  // namespace vqx
