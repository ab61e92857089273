// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vqx {

// The panel's six lamps, in the order of their object names Lux, Lux2 ... Lux6.
enum class Lamp { Camera, Live, Call, Sequence, Tape, Function };

// The repeat timers of the four screen keys, after their arrows (TimerUp ... TimerRight).
enum class RepeatTimer { Up, Down, Left, Right };

// Everything a panel key may do to the world around it. The drawn panel implements it; the
// key handling in PanelKeys acts only through these calls.
class PanelHost {
 public:
  virtual ~PanelHost() = default;

  // Hands one character code (0 to 255) to the key transmission. What the
  // transmission does with the code (send it, drop it with the port closed) is its business.
  virtual void keyPress(std::int16_t code) = 0;
  // Whether the key transmission takes `count` characters now, every one of them. A command
  // that would not go out whole is not sent at all: half a command would make the device read
  // the next one from its middle. A host without a send queue takes everything.
  virtual bool canSend(std::size_t count) {
    (void)count;
    return true;
  }

  // Whether a lamp is currently shown, and hiding one.
  virtual bool lampVisible(Lamp lamp) = 0;
  virtual void hideLamp(Lamp lamp) = 0;

  // Moves the camera lamp to this Left (twips); nothing else of it changes.
  virtual void moveCameraLamp(int leftTwips) = 0;

  // Toggles the port (TogglePort): opens the port when it is closed, closes it when it is open; reports its
  // own failure.
  virtual void togglePort() = 0;

  // A modal message box: the text as plain text, an OK button, no icon, the application
  // title as caption. Returns when it has been closed.
  virtual void showMessage(const std::string& text) = 0;

  // Enables or disables one of the four repeat timers.
  virtual void setRepeatTimer(RepeatTimer timer, bool enabled) = 0;

  // The key state has changed: FunctionA and the camera keys are to be repainted from it.
  virtual void keyStateChanged() = 0;
};

}  // namespace vqx
