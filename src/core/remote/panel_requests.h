// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a program outside the window (an alarm system, a script) may ask of the panel, and what it
// may read of it, whatever carries the request (D-Bus here; a local socket elsewhere). Every
// decision is here: the names of the keys, which request a key takes, when the line refuses a
// request, what a reader sees, and how the record names who asked.
//
// The names of the keys are the words a screen reader says for them (the layout table's
// accessible names: "Camera 12", "Function", "Zoom", "4 pictures / down", ...), matched without
// regard to case, so "camera 12" and "LIVE" are keys too.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "panel/panel_keys.h"
#include "panel/panel_layout.h"
#include "serial/link_state.h"
#include "serial/serial_control.h"
#include "status/indicators.h"

namespace vqx::remote {

// Why a request was refused. The words are the last part of the error's name
// (org.vqx16.vqx16.Error.UnknownKey); InvalidArgs is the bus's own.
enum class Fault { UnknownKey, UnknownCamera, InvalidArgs, PortClosed, QueueFull, Busy };
std::string_view faultName(Fault fault);

struct Refusal {
  Fault fault;
  std::string message;
};

// Every key's name, in the order of the panel from left to right.
std::vector<std::string_view> keyNames();
// The key of that name, matched without regard to case; nullptr when there is none.
const layout::KeyEntry* keyNamed(std::string_view name);

// A key pressed as a click with the left button; with the right button (the function shift, a
// camera assignment); held down until released (the keys that repeat while held).
enum class KeyRequest { Press, PressRight, Hold, Release };
// What the panel is to do with its key, as the mouse would.
enum class Gesture { Click, PressAndRelease, PressDown, LiftUp };

struct KeyPlan {
  const layout::KeyEntry* key = nullptr;
  Gesture gesture = Gesture::Click;
  MouseButton button = MouseButton::Left;
  std::optional<Refusal> refusal;  // then nothing is done
};
KeyPlan planKey(KeyRequest request, std::string_view name);

// The camera number a request names, checked: nothing when it is 1 to 16.
std::optional<Refusal> checkCamera(long long camera);
// The number in a text ("5"); nothing when it is no whole number.
std::optional<long long> numberIn(std::string_view text);

// The most bytes one key action sends: a function variant and the Sequence key's command.
inline constexpr std::size_t kLongestKeyAction = 9;

// Whether a request that may send goes ahead now: not while the port is closed (`label` names it
// and its device), not while the send queue lacks room for the longest key action (so a request
// is sent whole or refused whole), not while the panel waits for its own message box to close.
std::optional<Refusal> checkLine(const SerialControl& serial, const std::string& label,
                                 bool panelWaits);

// A key is held for as long as the request says, at most this long: a caller that never comes
// back to release it (a script that died) cannot leave the device repeating. A hold asked again
// before it ends goes on for the new time.
inline constexpr std::chrono::milliseconds kLongestHold{10000};
std::optional<Refusal> checkHoldTime(long long milliseconds);

// What a caller reads of the panel: the camera on the main monitor and the keys and lamps lit, as
// the last status frame says, and the link to the device.
struct PanelView {
  int camera = 0;  // 0: the last frame named none, or none has come
  std::vector<std::string> litKeys;   // the keys' names
  std::vector<std::string> litLamps;  // the lamps' accessible names ("Live lamp")
  std::string linkState;              // the word beside the menus: "open", "lost, retrying", ...
  std::string linkReason;
  int port = 0;
  std::string device;
  bool operator==(const PanelView&) const = default;
};

enum class Property { Camera, LitKeys, LitLamps, LinkState, LinkReason, Port, Device };
inline constexpr Property kProperties[] = {Property::Camera,    Property::LitKeys,
                                           Property::LitLamps,  Property::LinkState,
                                           Property::LinkReason, Property::Port,
                                           Property::Device};
std::string_view propertyName(Property property);

void showFrame(PanelView& view, const Indicators& indicators);
void showLink(PanelView& view, const LinkView& link, int port, std::string device);
// The properties that differ, in the order of kProperties.
std::vector<Property> changedProperties(const PanelView& before, const PanelView& after);

// Who asked, for the traffic record: "D-Bus :1.42, process 1234 alarm-door". `via` is the way
// and the caller's address on it; the process and its name where the system tells them. Control
// characters of the name (a process names itself) become "?", so a line stays one line.
std::string originText(std::string_view via, std::optional<long long> process,
                       std::string_view processName);

}  // namespace vqx::remote
