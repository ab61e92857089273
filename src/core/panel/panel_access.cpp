// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/panel_access.h"

#include <array>
#include <utility>

namespace vqx {
namespace {

constexpr int kCameras = 16;

struct ArrowKey {
  Arrow arrow;
  std::string_view key;
  std::string_view keyName;  // as the keyboard's key is called
};

constexpr std::array<ArrowKey, 4> kArrowKeys{{
    {Arrow::Up, "Pip", "Up"},
    {Arrow::Down, "QuattroScreen", "Down"},
    {Arrow::Left, "NoveScreen", "Left"},
    {Arrow::Right, "SediciScreen", "Right"},
}};

using Step = CameraNumberEntry::Step;

Step select(int camera) {
  return {Step::Kind::Select, camera};
}

}  // namespace

CameraNumberEntry::Step CameraNumberEntry::digit(int digit) {
  typed_.push_back(static_cast<char>('0' + digit));
  const int number = std::stoi(typed_);
  // Another digit would make a number of ten times this one or more.
  const bool couldGrow = typed_.size() == 1 && number * 10 <= kCameras;
  if (couldGrow) return {};
  typed_.clear();
  if (number < 1 || number > kCameras) return {Step::Kind::NoCamera, 0};
  return select(number);
}

CameraNumberEntry::Step CameraNumberEntry::controlReleased() {
  const std::string typed = std::exchange(typed_, {});
  if (typed.empty()) return {};
  const int number = std::stoi(typed);
  if (number < 1) return {Step::Kind::NoCamera, 0};
  return select(number);
}

std::string_view screenKeyForArrow(Arrow arrow) {
  for (const ArrowKey& a : kArrowKeys) {
    if (a.arrow == arrow) return a.key;
  }
  return {};
}

std::string keyToolTip(const layout::KeyEntry& key) {
  std::string tip(key.toolTip);
  if (key.role == layout::KeyRole::Camera) {
    return tip + ". Keyboard: hold Ctrl and type " + std::to_string(key.number) + ".";
  }
  for (const ArrowKey& a : kArrowKeys) {
    if (a.key != key.name) continue;
    tip += ". Keyboard: Ctrl+" + std::string(a.keyName) + ", repeats while held";
    if (key.name != "Pip") tip += "; with Shift, as the right button";
    return tip + ".";
  }
  return tip;
}

std::string keyDescription(const layout::KeyEntry& key, bool onMainMonitor, bool litRed) {
  std::string text;
  if (onMainMonitor) text += "On the main monitor. ";
  if (litRed) text += "On at the device. ";
  return text + keyToolTip(key);
}

std::string_view lampDescription(bool lit) {
  return lit ? "Lit" : "Off";
}

}  // namespace vqx
