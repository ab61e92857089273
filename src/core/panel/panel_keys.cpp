// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/panel_keys.h"

#include <exception>
#include <stdexcept>
#include <utility>

namespace vqx {

namespace {

constexpr int kCameraLampHomeLeft = 4920;  // above camera key 1

const std::array<ScreenKeyEntry, 4> kScreenKeys{{
    {ScreenKey::Pip, "Pip", command::kPip, RepeatTimer::TimerUp, 0, 'U', false, false},
    {ScreenKey::QuattroScreen, "QuattroScreen", command::kQuattroScreen, RepeatTimer::TimerDown, 4,
     'D', true, false},
    {ScreenKey::NoveScreen, "NoveScreen", command::kNoveScreen, RepeatTimer::TimerLeft, 9, 'L',
     true, true},
    {ScreenKey::SediciScreen, "SediciScreen", command::kSediciScreen, RepeatTimer::TimerRight, 16,
     'R', true, true},
}};

// Runs one step of a key handling; a step that fails is skipped and the handling goes on.
template <typename Step>
void step(Step&& run) {
  try {
    std::forward<Step>(run)();
  } catch (const std::exception&) {
  }
}

}  // namespace

const std::array<ScreenKeyEntry, 4>& screenKeyEntries() {
  return kScreenKeys;
}

const ScreenKeyEntry& screenKeyEntry(ScreenKey key) {
  for (const auto& entry : kScreenKeys) {
    if (entry.key == key) return entry;
  }
  throw std::invalid_argument("unknown screen key");
}

const ScreenKeyEntry& screenKeyEntry(RepeatTimer timer) {
  for (const auto& entry : kScreenKeys) {
    if (entry.timer == timer) return entry;
  }
  throw std::invalid_argument("unknown repeat timer");
}

void PanelKeys::send(std::string_view characters) {
  bool whole = true;  // a command goes out whole or not at all
  step([&] { whole = host_.canSend(characters.size()); });
  if (!whole) return;
  for (const char c : characters) {
    const auto code = static_cast<std::int16_t>(static_cast<unsigned char>(c));
    step([&] { host_.keyPress(code); });
  }
}

bool PanelKeys::lampVisible(Lamp lamp) {
  bool visible = false;
  step([&] { visible = host_.lampVisible(lamp); });
  return visible;
}

void PanelKeys::hideLamp(Lamp lamp) {
  step([&] { host_.hideLamp(lamp); });
}

void PanelKeys::setRepeatTimer(RepeatTimer timer, bool enabled) {
  step([&] { host_.setRepeatTimer(timer, enabled); });
}

void PanelKeys::finish(const KeyState& before) {
  if (!(state_ == before)) step([&] { host_.keyStateChanged(); });
}

void PanelKeys::windowLoaded() {
  const KeyState before = state_;
  KeyState fresh;
  fresh.PipMessage = std::move(state_.PipMessage);
  state_ = std::move(fresh);
  finish(before);
}

void PanelKeys::setPipMessage(std::string text) {
  state_.PipMessage = std::move(text);
}

void PanelKeys::Camera_Click(int n) {
  // Build every command first: a camera number out of range changes nothing.
  const std::string function = command::cameraFunction(n);
  const std::string assign = command::cameraAssign(n);
  const std::string plain = command::cameraPlain(n);
  const KeyState before = state_;
  if (state_.FunctionOn) {
    send(function);
    state_.FunctionOn = false;
  } else if (state_.AssignOn) {
    send(assign);
    state_.AssignLeft = static_cast<std::int16_t>(state_.AssignLeft - 1);
    if (state_.AssignLeft <= 0) {
      state_.AssignLeft = 0;
      state_.AssignOn = false;
    }
    state_.ZoomOn = false;
  } else {
    send(plain);
    state_.ZoomOn = false;
  }
  finish(before);
}

void PanelKeys::FunctionA_MouseDown(MouseButton button) {
  const KeyState before = state_;
  switch (button) {
    case MouseButton::Left:
      send(command::kFunction);
      state_.FunctionOn = false;
      break;
    case MouseButton::Right:
      state_.FunctionOn = true;
      break;
    case MouseButton::Middle:
      break;
  }
  finish(before);
}

void PanelKeys::FullScreen_Click() {
  const KeyState before = state_;
  if (!state_.FunctionOn) {
    send(command::kZoom);
    state_.ZoomOn = !state_.ZoomOn;
  } else {
    state_.ZoomOn = false;
    send(command::functionVariant('F'));
    state_.FunctionOn = false;
  }
  if (lampVisible(Lamp::Lux4)) send(command::kSequence);
  hideLamp(Lamp::Lux4);
  step([&] { host_.moveCameraLamp(kCameraLampHomeLeft); });
  finish(before);
}

void PanelKeys::Live_Click() {
  const KeyState before = state_;
  if (!state_.FunctionOn) {
    send(command::kLive);
  } else {
    send(command::kLiveFunction);
    state_.FunctionOn = false;
  }
  state_.PipFunctionStep = 1;
  finish(before);
}

void PanelKeys::Tape_Click() {
  const KeyState before = state_;
  send(command::kTape);
  state_.FunctionOn = false;
  finish(before);
}

void PanelKeys::Sequence_Click() {
  const KeyState before = state_;
  send(command::kSequence);
  state_.FunctionOn = false;
  state_.ZoomOn = false;
  finish(before);
}

void PanelKeys::Call_Click() {
  const KeyState before = state_;
  send(command::kCall);
  state_.FunctionOn = false;
  finish(before);
}

void PanelKeys::Screen_MouseDown(ScreenKey key, MouseButton button) {
  const ScreenKeyEntry& entry = screenKeyEntry(key);
  const KeyState before = state_;
  setRepeatTimer(entry.timer, true);
  if (!state_.FunctionOn) {
    send(entry.command);
    if (button == MouseButton::Right && entry.rightPressCount > 0) {
      send(entry.command);
      state_.AssignOn = true;
      state_.AssignLeft = entry.rightPressCount;
    }
  } else if (!state_.ZoomOn) {
    send(command::functionVariant(entry.functionLetter));
    if (key == ScreenKey::Pip) {
      if (state_.PipFunctionStep == 2) {
        // The reset opens modal boxes (TogglePort's failure report, the message): stop the
        // repeat first, so a held key cannot keep sending behind them.
        setRepeatTimer(entry.timer, false);
        hideLamp(Lamp::Lux3);
        hideLamp(Lamp::Lux4);
        step([&] { host_.togglePort(); });
        step([&] { host_.showMessage(state_.PipMessage); });
        state_.PipFunctionStep = 1;
      } else {
        state_.PipFunctionStep = 2;
      }
    }
    state_.FunctionOn = false;
    if (key == ScreenKey::Pip && lampVisible(Lamp::Lux4)) send(command::kSequence);
  }
  // Function shift with zoom on: nothing is sent and the shift stays armed.
  if (entry.sequenceCheckAfterEveryPress) {
    if (lampVisible(Lamp::Lux4)) send(command::kSequence);
    if (entry.hidesSequenceLamp) hideLamp(Lamp::Lux4);
  }
  finish(before);
}

void PanelKeys::Screen_MouseUp(ScreenKey key) {
  setRepeatTimer(screenKeyEntry(key).timer, false);
}

void PanelKeys::Repeat_Timer(RepeatTimer timer) {
  const ScreenKeyEntry& entry = screenKeyEntry(timer);
  if (timer == RepeatTimer::TimerDown && state_.FunctionOn) return;
  send(entry.command);
}

}  // namespace vqx
