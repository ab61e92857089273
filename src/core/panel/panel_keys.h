// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "panel/commands.h"
#include "panel/key_state.h"
#include "panel/panel_host.h"

namespace vqx {

// The four screen keys, which double as the up, down, left and right arrows.
enum class ScreenKey { Pip, QuattroScreen, NoveScreen, SediciScreen };

enum class MouseButton { Left, Right, Middle };

// Per-key constants of the screen keys.
struct ScreenKeyEntry {
  ScreenKey key;
  std::string_view name;
  std::string_view command;           // plain command, also sent at every repeat tick
  RepeatTimer timer;                  // the key's repeat timer
  std::int16_t rightPressCount;       // cameras to assign after a right press; 0: none
  char functionLetter;                // last character of the function variant
  bool sequenceCheckAfterEveryPress;  // else only after the function variant (Pip)
  bool hidesSequenceLamp;             // hides Lux4 after the sequence check
};

const std::array<ScreenKeyEntry, 4>& screenKeyEntries();
const ScreenKeyEntry& screenKeyEntry(ScreenKey key);
const ScreenKeyEntry& screenKeyEntry(RepeatTimer timer);

// The key state and every key's handling. Widgets translate their events into these calls;
// everything a key does to the world goes through the PanelHost. A failing host call is
// skipped and the handling goes on with its next step. A command goes to the key transmission
// whole or not at all (PanelHost::canSend). After every call AssignOn is false
// exactly when AssignLeft is 0, and the host hears keyStateChanged() whenever the key state
// differs from what it was before the call.
class PanelKeys {
 public:
  explicit PanelKeys(PanelHost& host) : host_(host) {}

  const KeyState& state() const { return state_; }

  // Start values of the key state, as when the window loads; PipMessage is kept.
  void windowLoaded();
  // Line 1 of the language file: the Function+Pip reset's message.
  void setPipMessage(std::string text);

  // Click on camera key n (1 to 16, Uno to Sedici). Throws std::out_of_range for any other n
  // before anything is sent or changed.
  void Camera_Click(int n);

  // FunctionA reacts to a mouse button press only.
  void FunctionA_MouseDown(MouseButton button);

  void FullScreen_Click();
  void Live_Click();
  void Tape_Click();
  void Sequence_Click();
  void Call_Click();

  // Press and release of any mouse button on a screen key.
  void Screen_MouseDown(ScreenKey key, MouseButton button);
  void Screen_MouseUp(ScreenKey key);

  // One tick of a repeat timer.
  void Repeat_Timer(RepeatTimer timer);

 private:
  void send(std::string_view characters);
  bool lampVisible(Lamp lamp);
  void hideLamp(Lamp lamp);
  void setRepeatTimer(RepeatTimer timer, bool enabled);
  void finish(const KeyState& before);

  PanelHost& host_;
  KeyState state_;
};

}  // namespace vqx
