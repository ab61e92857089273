// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/simulated_device.h"

#include <algorithm>

namespace vqx::sim {

namespace {

using S = DeviceState;

// Screen keys: the layout when not zoomed, an arrow that pans the zoomed picture otherwise.
std::string screenKey(S& s, Layout layout, const char* name, const char* direction) {
  if (s.zoom) return std::string("zoomed picture panned ") + direction;
  s.layout = layout;
  s.assignLeft = 0;
  s.assignNext = 0;
  return std::string(name) + " layout";
}

std::string functionArrow(S& s, const char* direction) {
  s.functionLamp = false;
  return std::string("picture-in-picture inset moved ") + direction;
}

// The rule table: every command's effect on the device, in one place.
struct Rule {
  RuleInfo info;
  std::string (*apply)(S&, int camera);
};

const std::array<Rule, 19> kRules{{
    {{CommandKind::Camera, "/01../16",
      "camera n full screen; zoom off, sequence stopped, assignment cancelled, function off"},
     [](S& s, int n) {
       s.camera = n;
       s.layout = Layout::Full;
       s.zoom = s.sequence = s.functionLamp = false;
       s.assignLeft = s.assignNext = 0;
       return "camera " + std::to_string(n) + " full screen";
     }},
    {{CommandKind::FunctionCamera, "/Sc",
      "camera c on the call monitor, call lamp on; function off"},
     [](S& s, int n) {
       s.callCamera = n;
       s.callMonitor = true;
       s.functionLamp = false;
       return "camera " + std::to_string(n) + " on the call monitor";
     }},
    {{CommandKind::AssignCamera, "/Xc",
      "camera c into the next window of the 4/9/16-picture or picture-in-picture layout "
      "(the first /X starts a new round over all windows); the camera lamp follows"},
     [](S& s, int n) {
       if (s.assignLeft <= 0 || s.assignNext < 0 || s.assignNext >= 16) {
         s.assignLeft = windowsOf(s.layout);
         s.assignNext = 0;
       }
       const int window = s.assignNext;
       s.windows[static_cast<std::size_t>(window)] = n;
       s.camera = n;
       ++s.assignNext;
       --s.assignLeft;
       return "camera " + std::to_string(n) + " into window " + std::to_string(window + 1) +
              (s.assignLeft == 0 ? ", assignment done"
                                 : ", " + std::to_string(s.assignLeft) + " left");
     }},
    {{CommandKind::Pip, "/PP", "picture-in-picture layout, Pip lit; zoomed: pan up"},
     [](S& s, int) { return screenKey(s, Layout::Pip, "picture-in-picture", "up"); }},
    {{CommandKind::Quad, "/22", "4-picture layout, QuattroScreen lit; zoomed: pan down"},
     [](S& s, int) { return screenKey(s, Layout::Quad, "4-picture", "down"); }},
    {{CommandKind::Nine, "/33", "9-picture layout, NoveScreen lit; zoomed: pan left"},
     [](S& s, int) { return screenKey(s, Layout::Nine, "9-picture", "left"); }},
    {{CommandKind::Sixteen, "/44", "16-picture layout, SediciScreen lit; zoomed: pan right"},
     [](S& s, int) { return screenKey(s, Layout::Sixteen, "16-picture", "right"); }},
    {{CommandKind::FunctionUp, "/<00><01>/AU", "picture-in-picture inset up; function off"},
     [](S& s, int) { return functionArrow(s, "up"); }},
    {{CommandKind::FunctionDown, "/<00><01>/AD", "picture-in-picture inset down; function off"},
     [](S& s, int) { return functionArrow(s, "down"); }},
    {{CommandKind::FunctionLeft, "/<00><01>/AL", "picture-in-picture inset left; function off"},
     [](S& s, int) { return functionArrow(s, "left"); }},
    {{CommandKind::FunctionRight, "/<00><01>/AR", "picture-in-picture inset right; function off"},
     [](S& s, int) { return functionArrow(s, "right"); }},
    {{CommandKind::FunctionZoom, "/<00><01>/AF", "zoom off; function off"},
     [](S& s, int) {
       s.zoom = s.functionLamp = false;
       return std::string("zoom off");
     }},
    {{CommandKind::Zoom, "/FZ",
      "zoom toggled (FullScreen lit while on); zooming shows full screen"},
     [](S& s, int) {
       s.zoom = !s.zoom;
       if (s.zoom) s.layout = Layout::Full;
       return std::string(s.zoom ? "zoom on" : "zoom off");
     }},
    {{CommandKind::FunctionKey, "/AT", "function lamp toggled"},
     [](S& s, int) {
       s.functionLamp = !s.functionLamp;
       return std::string(s.functionLamp ? "function on" : "function off");
     }},
    {{CommandKind::Live, "/LV", "live pictures: live lamp on, tape lamp off"},
     [](S& s, int) {
       s.tape = false;
       return std::string("live");
     }},
    {{CommandKind::FunctionLive, "/AV", "live pictures; function off"},
     [](S& s, int) {
       s.tape = s.functionLamp = false;
       return std::string("live, function off");
     }},
    {{CommandKind::Tape, "/TP", "tape playback: tape lamp on, live lamp off"},
     [](S& s, int) {
       s.tape = true;
       return std::string("tape");
     }},
    {{CommandKind::Sequence, "/SQ",
      "sequence toggled (sequence lamp); while it runs the main monitor shows the next camera "
      "full screen every second"},
     [](S& s, int) {
       s.sequence = !s.sequence;
       if (s.sequence) {
         s.layout = Layout::Full;
         s.zoom = false;
       }
       return std::string(s.sequence ? "sequence started" : "sequence stopped");
     }},
    {{CommandKind::Call, "/SL", "call monitor toggled (call lamp)"},
     [](S& s, int) {
       s.callMonitor = !s.callMonitor;
       return std::string(s.callMonitor ? "call monitor on" : "call monitor off");
     }},
}};

const std::array<RuleInfo, 19> kInfos = [] {
  std::array<RuleInfo, 19> infos{};
  for (std::size_t i = 0; i < kRules.size(); ++i) infos[i] = kRules[i].info;
  return infos;
}();

}  // namespace

int windowsOf(Layout layout) {
  switch (layout) {
    case Layout::Full:
      return 1;
    case Layout::Pip:
      return 2;
    case Layout::Quad:
      return 4;
    case Layout::Nine:
      return 9;
    case Layout::Sixteen:
      return 16;
  }
  return 1;
}

const std::array<RuleInfo, 19>& ruleTable() {
  return kInfos;
}

std::string SimulatedDevice::apply(const Command& command) {
  const int camera = std::clamp(command.camera, 1, 16);
  for (const auto& rule : kRules)
    if (rule.info.kind == command.kind) return rule.apply(state_, camera);
  return "ignored";
}

void SimulatedDevice::tick() {
  if (!state_.sequence) return;
  state_.camera = state_.camera % 16 + 1;
  state_.layout = Layout::Full;
}

DeviceStatus SimulatedDevice::status() const {
  DeviceStatus st;
  st.camera = state_.camera;
  st.liveLamp = !state_.tape;
  st.tapeLamp = state_.tape;
  st.sequenceLamp = state_.sequence;
  st.callLamp = state_.callMonitor;
  st.functionLamp = state_.functionLamp;
  st.pipLit = state_.layout == Layout::Pip;
  st.quattroScreenLit = state_.layout == Layout::Quad;
  st.noveScreenLit = state_.layout == Layout::Nine;
  st.sediciScreenLit = state_.layout == Layout::Sixteen;
  st.fullScreenLit = state_.zoom;
  st.beep = state_.beepPending;
  return st;
}

StatusFrame SimulatedDevice::takeFrame() {
  const StatusFrame frame = encodeStatusFrame(status());
  state_.beepPending = false;
  return frame;
}

}  // namespace vqx::sim
