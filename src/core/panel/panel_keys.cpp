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
    {ScreenKey::PictureInPicture, "Pip", command::kPictureInPicture, RepeatTimer::Up, 0, 'U', false,
     false},
    {ScreenKey::FourPictures, "QuattroScreen", command::kFourPictures, RepeatTimer::Down, 4, 'D',
     true, false},
    {ScreenKey::NinePictures, "NoveScreen", command::kNinePictures, RepeatTimer::Left, 9, 'L', true,
     true},
    {ScreenKey::SixteenPictures, "SediciScreen", command::kSixteenPictures, RepeatTimer::Right, 16,
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

std::optional<ScreenKey> screenKeyNamed(std::string_view name) {
  for (const auto& entry : kScreenKeys) {
    if (entry.name == name) return entry.key;
  }
  return std::nullopt;
}

void PanelKeys::clicked(const layout::KeyEntry& key) {
  if (key.action != layout::KeyAction::Click) return;
  switch (key.role) {
    case layout::KeyRole::Camera:
      cameraClicked(key.number);
      break;
    case layout::KeyRole::Zoom:
      zoomClicked();
      break;
    case layout::KeyRole::Live:
      liveClicked();
      break;
    case layout::KeyRole::Tape:
      tapeClicked();
      break;
    case layout::KeyRole::Sequence:
      sequenceClicked();
      break;
    case layout::KeyRole::Call:
      callClicked();
      break;
    case layout::KeyRole::Function:
    case layout::KeyRole::Screen:
      break;
  }
}

void PanelKeys::pressed(const layout::KeyEntry& key, MouseButton button) {
  if (key.role == layout::KeyRole::Function) functionPressed(button);
  if (const auto screen = screenKeyNamed(key.name)) screenKeyPressed(*screen, button);
}

void PanelKeys::released(const layout::KeyEntry& key) {
  if (const auto screen = screenKeyNamed(key.name)) screenKeyReleased(*screen);
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
  fresh.pipMessage = std::move(state_.pipMessage);
  state_ = std::move(fresh);
  finish(before);
}

void PanelKeys::setPipMessage(std::string text) {
  state_.pipMessage = std::move(text);
}

void PanelKeys::cameraClicked(int n) {
  // Build every command first: a camera number out of range changes nothing.
  const std::string function = command::cameraFunction(n);
  const std::string assign = command::cameraAssign(n);
  const std::string plain = command::cameraPlain(n);
  const KeyState before = state_;
  if (state_.functionShift) {
    send(function);
    state_.functionShift = false;
  } else if (state_.assigning) {
    send(assign);
    state_.camerasToAssign = static_cast<std::int16_t>(state_.camerasToAssign - 1);
    if (state_.camerasToAssign <= 0) {
      state_.camerasToAssign = 0;
      state_.assigning = false;
    }
    state_.zoomOn = false;
  } else {
    send(plain);
    state_.zoomOn = false;
  }
  finish(before);
}

void PanelKeys::selectCamera(int n) {
  const std::string plain = command::cameraPlain(n);
  const KeyState before = state_;
  send(plain);
  state_.functionShift = false;
  state_.assigning = false;
  state_.camerasToAssign = 0;
  state_.zoomOn = false;
  finish(before);
}

void PanelKeys::functionPressed(MouseButton button) {
  const KeyState before = state_;
  switch (button) {
    case MouseButton::Left:
      send(command::kFunction);
      state_.functionShift = false;
      break;
    case MouseButton::Right:
      state_.functionShift = true;
      break;
    case MouseButton::Middle:
      break;
  }
  finish(before);
}

void PanelKeys::zoomClicked() {
  const KeyState before = state_;
  if (!state_.functionShift) {
    send(command::kZoom);
    state_.zoomOn = !state_.zoomOn;
  } else {
    state_.zoomOn = false;
    send(command::functionVariant('F'));
    state_.functionShift = false;
  }
  if (lampVisible(Lamp::Sequence)) send(command::kSequence);
  hideLamp(Lamp::Sequence);
  step([&] { host_.moveCameraLamp(kCameraLampHomeLeft); });
  finish(before);
}

void PanelKeys::liveClicked() {
  const KeyState before = state_;
  if (!state_.functionShift) {
    send(command::kLive);
  } else {
    send(command::kLiveFunction);
    state_.functionShift = false;
  }
  state_.pipFunctionStep = 1;
  finish(before);
}

void PanelKeys::tapeClicked() {
  const KeyState before = state_;
  send(command::kTape);
  state_.functionShift = false;
  finish(before);
}

void PanelKeys::sequenceClicked() {
  const KeyState before = state_;
  send(command::kSequence);
  state_.functionShift = false;
  state_.zoomOn = false;
  finish(before);
}

void PanelKeys::callClicked() {
  const KeyState before = state_;
  send(command::kCall);
  state_.functionShift = false;
  finish(before);
}

void PanelKeys::screenKeyPressed(ScreenKey key, MouseButton button) {
  const ScreenKeyEntry& entry = screenKeyEntry(key);
  const KeyState before = state_;
  setRepeatTimer(entry.timer, true);
  if (!state_.functionShift) {
    send(entry.command);
    if (button == MouseButton::Right && entry.rightPressCount > 0) {
      send(entry.command);
      state_.assigning = true;
      state_.camerasToAssign = entry.rightPressCount;
    }
  } else if (!state_.zoomOn) {
    send(command::functionVariant(entry.functionLetter));
    if (key == ScreenKey::PictureInPicture) {
      if (state_.pipFunctionStep == 2) {
        // The reset opens modal boxes (the port toggle's failure report, the message): stop the
        // repeat first, so a held key cannot keep sending behind them.
        setRepeatTimer(entry.timer, false);
        hideLamp(Lamp::Call);
        hideLamp(Lamp::Sequence);
        step([&] { host_.togglePort(); });
        step([&] { host_.showMessage(state_.pipMessage); });
        state_.pipFunctionStep = 1;
      } else {
        state_.pipFunctionStep = 2;
      }
    }
    state_.functionShift = false;
    if (key == ScreenKey::PictureInPicture && lampVisible(Lamp::Sequence)) send(command::kSequence);
  }
  // Function shift with zoom on: nothing is sent and the shift stays armed.
  if (entry.sequenceCheckAfterEveryPress) {
    if (lampVisible(Lamp::Sequence)) send(command::kSequence);
    if (entry.hidesSequenceLamp) hideLamp(Lamp::Sequence);
  }
  finish(before);
}

void PanelKeys::screenKeyReleased(ScreenKey key) {
  setRepeatTimer(screenKeyEntry(key).timer, false);
}

void PanelKeys::repeatTick(RepeatTimer timer) {
  const ScreenKeyEntry& entry = screenKeyEntry(timer);
  if (timer == RepeatTimer::Down && state_.functionShift) return;
  send(entry.command);
}

}  // namespace vqx
