// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/panel_requests.h"

#include <charconv>
#include <utility>

#include "serial/key_transmission.h"
#include "status/status_frame.h"

namespace vqx::remote {
namespace {

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameWords(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string joined(const std::vector<std::string_view>& names) {
  std::string text;
  for (const std::string_view name : names) {
    if (!text.empty()) text += ", ";
    text += name;
  }
  return text;
}

std::vector<std::string_view> heldKeyNames() {
  std::vector<std::string_view> names;
  for (const layout::KeyEntry& key : layout::keys()) {
    if (key.action == layout::KeyAction::PressRelease) names.push_back(key.accessibleName);
  }
  return names;
}

Refusal refuse(Fault fault, std::string message) {
  return {fault, std::move(message)};
}

std::string quoted(std::string_view name) {
  return "\"" + std::string(name) + "\"";
}

}  // namespace

std::string_view faultName(Fault fault) {
  switch (fault) {
    case Fault::UnknownKey:
      return "UnknownKey";
    case Fault::UnknownCamera:
      return "UnknownCamera";
    case Fault::InvalidArgs:
      return "InvalidArgs";
    case Fault::PortClosed:
      return "PortClosed";
    case Fault::QueueFull:
      return "QueueFull";
    case Fault::Busy:
      return "Busy";
  }
  return {};
}

std::vector<std::string_view> keyNames() {
  std::vector<std::string_view> names;
  for (const layout::KeyEntry& key : layout::keys()) names.push_back(key.accessibleName);
  return names;
}

const layout::KeyEntry* keyNamed(std::string_view name) {
  for (const layout::KeyEntry& key : layout::keys()) {
    if (sameWords(key.accessibleName, name)) return &key;
  }
  return nullptr;
}

KeyPlan planKey(KeyRequest request, std::string_view name) {
  KeyPlan plan;
  plan.key = keyNamed(name);
  if (plan.key == nullptr) {
    plan.refusal = refuse(Fault::UnknownKey,
                          "No key is called " + quoted(name) + "; the keys: " + joined(keyNames()));
    return plan;
  }
  const std::string_view key = plan.key->accessibleName;
  const bool click = plan.key->action == layout::KeyAction::Click;
  const bool repeats = plan.key->action == layout::KeyAction::PressRelease;
  switch (request) {
    case KeyRequest::Press:
      plan.gesture = click ? Gesture::Click : Gesture::PressAndRelease;
      break;
    case KeyRequest::PressRight:
      plan.gesture = Gesture::PressAndRelease;
      plan.button = MouseButton::Right;
      if (click) {
        plan.refusal = refuse(Fault::InvalidArgs, quoted(key) + " takes the left button only");
      }
      break;
    case KeyRequest::Hold:
    case KeyRequest::Release:
      plan.gesture = request == KeyRequest::Hold ? Gesture::PressDown : Gesture::LiftUp;
      if (!repeats) {
        plan.refusal = refuse(Fault::InvalidArgs, quoted(key) + " does not repeat; the keys held: " +
                                                      joined(heldKeyNames()));
      }
      break;
  }
  return plan;
}

std::optional<Refusal> checkCamera(long long camera) {
  if (camera >= 1 && camera <= command::kCameraCount) return std::nullopt;
  return refuse(Fault::UnknownCamera,
                "No camera " + std::to_string(camera) + "; the cameras are 1 to 16");
}

std::optional<Refusal> checkHoldTime(long long milliseconds) {
  if (milliseconds >= 1 && milliseconds <= kLongestHold.count()) return std::nullopt;
  return refuse(Fault::InvalidArgs, "A key is held for 1 to " +
                                        std::to_string(kLongestHold.count()) +
                                        " milliseconds, not " + std::to_string(milliseconds));
}

std::optional<long long> numberIn(std::string_view text) {
  long long number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

std::optional<Refusal> checkLine(const SerialControl& serial, const std::string& label,
                                 bool panelWaits) {
  if (panelWaits) {
    return refuse(Fault::Busy, "The panel waits for its message box to be closed");
  }
  if (!serial.portOpen()) {
    return refuse(Fault::PortClosed, label + " is closed: nothing was sent");
  }
  if (!sendQueueTakes(serial, kLongestKeyAction)) {
    return refuse(Fault::QueueFull, "The send queue of " + label + " is full (" +
                                        std::to_string(serial.sendQueueRoom()) +
                                        " bytes free): nothing was sent");
  }
  return std::nullopt;
}

std::string_view propertyName(Property property) {
  switch (property) {
    case Property::Camera:
      return "Camera";
    case Property::LitKeys:
      return "LitKeys";
    case Property::LitLamps:
      return "LitLamps";
    case Property::LinkState:
      return "LinkState";
    case Property::LinkReason:
      return "LinkReason";
    case Property::Port:
      return "Port";
    case Property::Device:
      return "Device";
  }
  return {};
}

void showFrame(PanelView& view, const Indicators& i) {
  view.camera = i.cameraLampLeft ? cameraAtLampLeft(*i.cameraLampLeft) : 0;
  view.litKeys.clear();
  const std::pair<bool, std::string_view> keys[] = {
      {i.zoomRed, "FullScreen"},
      {i.pictureInPictureRed, "Pip"},
      {i.fourPicturesRed, "QuattroScreen"},
      {i.ninePicturesRed, "NoveScreen"},
      {i.sixteenPicturesRed, "SediciScreen"},
  };
  for (const auto& [lit, key] : keys) {
    if (lit) view.litKeys.emplace_back(layout::findKey(key)->accessibleName);
  }
  view.litLamps.clear();
  const std::pair<bool, std::string_view> lamps[] = {
      {i.functionLamp, "Lux6"}, {i.liveLamp, "Lux2"},  {i.tapeLamp, "Lux5"},
      {i.sequenceLamp, "Lux4"}, {i.callLamp, "Lux3"},
  };
  for (const auto& [lit, lamp] : lamps) {
    if (lit) view.litLamps.emplace_back(layout::findLamp(lamp)->accessibleName);
  }
}

void showLink(PanelView& view, const LinkView& link, int port, std::string device) {
  view.linkState = link.word;
  view.linkReason = link.reason;
  view.port = port;
  view.device = std::move(device);
}

std::vector<Property> changedProperties(const PanelView& a, const PanelView& b) {
  const bool differs[] = {a.camera != b.camera,       a.litKeys != b.litKeys,
                          a.litLamps != b.litLamps,   a.linkState != b.linkState,
                          a.linkReason != b.linkReason, a.port != b.port,
                          a.device != b.device};
  std::vector<Property> changed;
  for (std::size_t i = 0; i < std::size(kProperties); ++i) {
    if (differs[i]) changed.push_back(kProperties[i]);
  }
  return changed;
}

std::string originText(std::string_view via, std::optional<long long> process,
                       std::string_view processName) {
  std::string text(via);
  if (!process) return text;
  text += ", process " + std::to_string(*process);
  if (processName.empty()) return text;
  text += ' ';
  for (const char c : processName) {
    const auto byte = static_cast<unsigned char>(c);
    text += byte < 0x20 || byte == 0x7F ? '?' : c;
  }
  return text;
}

}  // namespace vqx::remote
