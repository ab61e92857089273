// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/port_properties.h"

#include <cstddef>

#include "common/text.h"

namespace vqx {
namespace {

template <std::size_t N>
std::optional<int> indexOf(const std::array<const char*, N>& entries, const std::string& text) {
  for (std::size_t i = 0; i < N; ++i) {
    if (text == entries[i]) return static_cast<int>(i);
  }
  return std::nullopt;
}

// Character at 0-based position `pos`, or nothing when the text does not reach there.
std::optional<char> charAt(const std::string& s, long long pos) {
  if (pos < 0 || pos >= static_cast<long long>(s.size())) return std::nullopt;
  return s[static_cast<std::size_t>(pos)];
}

}  // namespace

std::string portEntryText(int index) {
  return "Com" + std::to_string(index + 1);
}

SettingsSelection selectSettingsText(const std::string& s) {
  SettingsSelection sel;
  const long long n = static_cast<long long>(s.size());
  const long long k = s.find('.') != std::string::npos ? 2 : 0;

  const long long speedLength = n - k - 6;
  if (speedLength > 0) sel.speed = indexOf(kSpeedEntries, s.substr(0, std::size_t(speedLength)));

  if (const auto p = charAt(s, n - k - 5)) {
    static constexpr char kLetters[] = {'e', 'o', 'n', 'm', 's'};  // order of kParityEntries
    for (int i = 0; i < 5; ++i) {
      if (*p == kLetters[i]) sel.parity = i;
    }
  }
  if (const auto d = charAt(s, n - k - 3)) sel.dataBits = indexOf(kDataBitsEntries, {*d});

  if (n >= k + 1) sel.stopBits = indexOf(kStopBitsEntries, s.substr(std::size_t(n - k - 1)));
  return sel;
}

PropertySelection dialogSelection(const SerialControl& serial, bool echo) {
  PropertySelection sel;
  sel.line = selectSettingsText(serial.settings());
  const int port = serial.commPort();
  if (port >= 1 && port <= kPortEntryCount) sel.port = port - 1;
  const int flow = serial.handshaking();
  if (flow >= 0 && flow < kFlowOptionCount) sel.flow = flow;
  sel.pendingFlow = flow;
  sel.echo = echo ? 1 : 0;
  sel.pendingEcho = echo;
  return sel;
}

std::string buildSettingsText(const PropertyChoice& c) {
  const std::string parity = c.parityText.empty() ? std::string() : c.parityText.substr(0, 1);
  return trimmed(c.speedText) + "," + parity + "," + trimmed(c.dataBitsText) + "," +
         trimmed(c.stopBitsText);
}

bool applyPropertySettings(const PropertyChoice& choice, PropertyTargets t) {
  // Every step runs; three checks (after the port, the line settings and the flow control) ask
  // whether anything has failed so far and report the latest failure.
  std::optional<std::string> error;
  auto note = [&error](Result r) {
    if (!r) error = r.error();
  };
  auto stopWithError = [&]() {
    t.prompts.error(*error);
    return false;
  };

  // Echo first; a later failure does not undo it.
  t.echo = choice.pendingEcho;

  // The port number. An open port whose number stays is moved too when its mapping names
  // another device now (chosen with Device... while it was open).
  const int oldPort = t.serial.commPort();
  const int newPort = choice.portIndex + 1;
  const bool moved = newPort == oldPort && t.serial.portOpen() &&
                     t.serial.openedDevice().path != t.serial.deviceAtPort().path;
  if (newPort != oldPort || moved) {
    bool wasOpen = false;
    if (t.serial.portOpen()) {
      note(t.serial.setPortOpen(false));
      wasOpen = true;
    }
    if (!moved) note(t.serial.setCommPort(newPort));
    if (!error && wasOpen) {
      note(t.serial.setPortOpen(true));
      if (t.setOpenChecked) t.setOpenChecked(t.serial.portOpen());
    }
    if (error) {  // reported, the old number put back; the port stays closed
      t.prompts.error(*error);
      (void)t.serial.setCommPort(oldPort);
      return false;
    }
  }

  // The line settings.
  note(t.serial.setSettings(buildSettingsText(choice)));
  if (error) return stopWithError();

  // The flow control.
  note(t.serial.setHandshaking(choice.pendingFlow));
  if (error) return stopWithError();

  // Store what the control reports now.
  const std::string app = kAppTitle;
  t.store.setValue(app, "Properties", "Settings", t.serial.settings());
  t.store.setValue(app, "Properties", "CommPort", std::to_string(t.serial.commPort()));
  t.store.setValue(app, "Properties", "Handshaking", std::to_string(t.serial.handshaking()));
  t.store.setValue(app, "Properties", "Echo", t.echo ? "True" : "False");
  return true;  // the dialog closes
}

}  // namespace vqx
