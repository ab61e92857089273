// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Commands encoded per second by the panel's key handling: each iteration is one key event
// run through PanelKeys against a host that only collects the characters.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "panel/panel_keys.h"

namespace {

class CollectingHost : public vqx::PanelHost {
 public:
  std::string sent;
  void keyPress(std::int16_t code) override { sent.push_back(static_cast<char>(code)); }
  bool lampVisible(vqx::Lamp) override { return false; }
  void hideLamp(vqx::Lamp) override {}
  void moveCameraLamp(int) override {}
  void togglePort() override {}
  void showMessage(const std::string&) override {}
  void setRepeatTimer(vqx::RepeatTimer, bool) override {}
  void keyStateChanged() override {}
};

void BM_CameraClicks(benchmark::State& state) {
  CollectingHost host;
  vqx::PanelKeys keys(host);
  int n = 0;
  for (auto _ : state) {
    keys.cameraClicked(1 + n);
    n = (n + 1) % 16;
    if (host.sent.size() > 4096) host.sent.clear();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["commands/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CameraClicks);

// A mix: function shift, a function variant, an assignment of four, plain keys.
void BM_MixedKeys(benchmark::State& state) {
  CollectingHost host;
  vqx::PanelKeys keys(host);
  std::int64_t commands = 0;
  for (auto _ : state) {
    keys.functionPressed(vqx::MouseButton::Right);
    keys.screenKeyPressed(vqx::ScreenKey::FourPictures, vqx::MouseButton::Left);
    keys.screenKeyReleased(vqx::ScreenKey::FourPictures);
    keys.screenKeyPressed(vqx::ScreenKey::FourPictures, vqx::MouseButton::Right);
    for (int n = 5; n <= 8; ++n) keys.cameraClicked(n);
    keys.zoomClicked();
    keys.repeatTick(vqx::RepeatTimer::Left);
    commands += 9;  // function variant, two /22, four /X, /FZ, one repeat
    host.sent.clear();
  }
  state.counters["commands/s"] =
      benchmark::Counter(static_cast<double>(commands), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MixedKeys);

}  // namespace

BENCHMARK_MAIN();
