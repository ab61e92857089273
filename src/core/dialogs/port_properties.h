// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The port settings dialog's decisions, free of any window: which list entries show the serial
// control's current state (fillFromControl), and what OK does with the operator's choices.

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "common/prompts.h"
#include "common/settings_store.h"
#include "serial/serial_control.h"

namespace vqx {

// Entries of the dialog's lists, in list order; the index in a list is the position from 0.
inline constexpr int kPortEntryCount = 16;  // "Com1" ... "Com16", index = port number - 1
inline constexpr std::array<const char*, 16> kSpeedEntries = {
    "110",   "300",   "600",   "1200",  "2400",  "4800",   "9600",   "14400",
    "19200", "28800", "38400", "56000", "57600", "115200", "128000", "256000"};
inline constexpr std::array<const char*, 5> kDataBitsEntries = {"4", "5", "6", "7", "8"};
inline constexpr std::array<const char*, 5> kParityEntries = {"Even", "Odd", "None", "Mark",
                                                              "Space"};
inline constexpr std::array<const char*, 3> kStopBitsEntries = {"1", "1.5", "2"};
inline constexpr int kFlowOptionCount = 4;  // optFlow(0..3): None, Xon/Xoff, RTS, Xon/RTS

// Text of port list entry `index` (0 gives "Com1").
std::string portEntryText(int index);

// What the line-format lists select for a Settings text. An empty optional leaves that list
// without a selection (a speed the list does not offer, an unknown parity letter, a text too
// short for the fixed widths).
struct SettingsSelection {
  std::optional<int> speed, parity, dataBits, stopBits;
  bool operator==(const SettingsSelection&) const = default;
};

// Reads a Settings text from the right by fixed widths, as the dialog always has: the stop
// bits take the last character, or the last three when the text holds a "." anywhere; the
// data bits digit sits two characters before them, the parity letter four characters before
// them (compared case-sensitively against e, o, n, m, s), and everything in front of the
// parity's comma is the speed.
SettingsSelection selectSettingsText(const std::string& settings);

// Everything the dialog shows when it is filled from the serial control and Echo.
struct PropertySelection {
  SettingsSelection line;
  std::optional<int> port;  // cboPort index; none for a port number outside 1..16
  std::optional<int> flow;  // optFlow index; none for a handshaking value outside 0..3
  int echo = 0;             // optEcho index: 1 "On" when Echo is true, else 0 "Off"
  int pendingFlow = 0;      // the control's handshaking, so OK without changes reapplies it
  bool pendingEcho = false;
};

// What the dialog selects when it is filled from the serial control and the echo.
PropertySelection dialogSelection(const SerialControl& serial, bool echo);

// The operator's choices when OK is pressed: the list texts ("" when a list has no
// selection), the port list index (-1 for none) and the pending option values.
struct PropertyChoice {
  int portIndex = -1;
  std::string speedText, parityText, dataBitsText, stopBitsText;
  int pendingFlow = 0;
  bool pendingEcho = false;
};

// What OK may touch besides the serial control.
struct PropertyTargets {
  SerialControl& serial;
  SettingsStore& store;
  Prompts& prompts;
  bool& echo;                                // the program-wide Echo
  std::function<void(bool)> setOpenChecked;  // check mark of mnuOpen; may be empty
};

// The settings text OK writes to the control, for example "9600,N,8,1".
std::string buildSettingsText(const PropertyChoice& choice);

// cmdOK: applies the choices to the control, stores them under "Properties" and returns true
// when the dialog is to close. A failure is reported through the prompts (the control's
// description, exclamation icon, OK) and returns false with the dialog left open.
// Another port number closes an open port and opens it under the new number. So does the same
// number when the port is open on another device than the one its mapping names now (chosen with
// Device... while it was open); a failure to open it there is reported as for another number.
bool applyPropertySettings(const PropertyChoice& choice, PropertyTargets targets);

}  // namespace vqx
