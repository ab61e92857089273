// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "panel/commands.h"
#include "panel/key_state.h"
#include "panel/panel_host.h"
#include "panel/panel_layout.h"

namespace vqx {

// The four screen keys (Pip, QuattroScreen, NoveScreen, SediciScreen), which double as the up,
// down, left and right arrows.
enum class ScreenKey { PictureInPicture, FourPictures, NinePictures, SixteenPictures };

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
// The screen key of that name (Pip, QuattroScreen, NoveScreen, SediciScreen); nothing for
// another name.
std::optional<ScreenKey> screenKeyNamed(std::string_view name);

// The key state and every key's handling. Widgets translate their events into these calls;
// everything a key does to the world goes through the PanelHost. A failing host call is
// skipped and the handling goes on with its next step. A command goes to the key transmission
// whole or not at all (PanelHost::canSend). After every call assigning is false
// exactly when camerasToAssign is 0, and the host hears keyStateChanged() whenever the key state
// differs from what it was before the call.
class PanelKeys {
 public:
  explicit PanelKeys(PanelHost& host) : host_(host) {}

  const KeyState& state() const { return state_; }

  // Start values of the key state, as when the window loads; the Function+Pip message is kept.
  void windowLoaded();
  // Line 1 of the language file: the Function+Pip reset's message.
  void setPipMessage(std::string text);

  // A key of the layout table clicked, or a mouse button pressed on it or released, as the
  // key's action takes it (a click, or a press and release); each goes to the key's own handling
  // below. The way in for every front end: the mouse, the keyboard, a remote caller. What a key
  // does not act on is passed over.
  void clicked(const layout::KeyEntry& key);
  void pressed(const layout::KeyEntry& key, MouseButton button);
  void released(const layout::KeyEntry& key);

  // Click on camera key n (1 to 16, Uno to Sedici). Throws std::out_of_range for any other n
  // before anything is sent or changed.
  void cameraClicked(int n);
  // Camera n on the main monitor whatever is armed, as a request from outside the panel: the
  // plain command "/" and the two digits, which on the device also ends a camera assignment and
  // zoom. The key state follows: no function shift, no assignment, zoom off. Throws
  // std::out_of_range for n outside 1 to 16 before anything is sent or changed.
  void selectCamera(int n);

  // FunctionA reacts to a mouse button press only.
  void functionPressed(MouseButton button);

  void zoomClicked();
  void liveClicked();
  void tapeClicked();
  void sequenceClicked();
  void callClicked();

  // Press and release of any mouse button on a screen key.
  void screenKeyPressed(ScreenKey key, MouseButton button);
  void screenKeyReleased(ScreenKey key);

  // One tick of a repeat timer.
  void repeatTick(RepeatTimer timer);

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
