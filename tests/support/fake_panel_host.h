#pragma once

// A panel host that records what the key handling does: every character handed to the key
// transmission, and an ordered log of the other calls, with the lamps and timers it keeps.

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "panel/panel_host.h"

namespace vqx::testing {

inline const char* lampName(Lamp lamp) {
  switch (lamp) {
    case Lamp::Lux:
      return "Lux";
    case Lamp::Lux2:
      return "Lux2";
    case Lamp::Lux3:
      return "Lux3";
    case Lamp::Lux4:
      return "Lux4";
    case Lamp::Lux5:
      return "Lux5";
    case Lamp::Lux6:
      return "Lux6";
  }
  return "?";
}

inline const char* timerName(RepeatTimer timer) {
  switch (timer) {
    case RepeatTimer::TimerUp:
      return "TimerUp";
    case RepeatTimer::TimerDown:
      return "TimerDown";
    case RepeatTimer::TimerLeft:
      return "TimerLeft";
    case RepeatTimer::TimerRight:
      return "TimerRight";
  }
  return "?";
}

class FakePanelHost : public PanelHost {
 public:
  std::string sent;              // every character code, as bytes, in order
  std::vector<std::string> log;  // "send <bytes>", "hide Lux4", "toggle", "message <text>", ...
  std::map<Lamp, bool> lamps{{Lamp::Lux, true},   {Lamp::Lux2, true}, {Lamp::Lux3, true},
                             {Lamp::Lux4, false}, {Lamp::Lux5, true}, {Lamp::Lux6, false}};
  int cameraLampLeft = 4920;
  std::map<RepeatTimer, bool> timers;
  int toggles = 0;
  int changes = 0;
  std::vector<std::string> messages;
  std::function<void()> onMessage;  // runs while the message box would be open
  bool failKeyPress = false;        // every keyPress throws
  bool failLampRead = false;        // every lampVisible throws

  void keyPress(std::int16_t code) override {
    if (failKeyPress) throw std::runtime_error("Port not open");
    const char c = static_cast<char>(code);
    sent.push_back(c);
    if (log.empty() || log.back().rfind("send ", 0) != 0) log.emplace_back("send ");
    log.back().push_back(c);
  }
  bool lampVisible(Lamp lamp) override {
    if (failLampRead) throw std::runtime_error("property read failed");
    return lamps[lamp];
  }
  void hideLamp(Lamp lamp) override {
    lamps[lamp] = false;
    log.push_back(std::string("hide ") + lampName(lamp));
  }
  void moveCameraLamp(int leftTwips) override {
    cameraLampLeft = leftTwips;
    log.push_back("move Lux " + std::to_string(leftTwips));
  }
  void togglePort() override {
    ++toggles;
    log.emplace_back("toggle");
  }
  void showMessage(const std::string& text) override {
    messages.push_back(text);
    log.push_back("message " + text);
    if (onMessage) onMessage();
  }
  void setRepeatTimer(RepeatTimer timer, bool enabled) override {
    timers[timer] = enabled;
    log.push_back(std::string(timerName(timer)) + (enabled ? " on" : " off"));
  }
  void keyStateChanged() override { ++changes; }

  void clear() {
    sent.clear();
    log.clear();
    changes = 0;
  }
};

}  // namespace vqx::testing
