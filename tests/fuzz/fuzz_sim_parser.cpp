// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Bytes in pieces into the simulator's parser; every command applied to a simulated device.
#include <cstdint>
#include <cstdlib>

#include "sim/simulated_device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t piece = 1 + data[0] % 16;
  const std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);

  vqx::CommandParser parser;
  vqx::sim::SimulatedDevice device;
  std::vector<vqx::Command> found;
  for (std::size_t pos = 0; pos < stream.size(); pos += piece) {
    for (const auto& command : parser.feed(stream.substr(pos, piece))) {
      found.push_back(command);
      device.apply(command);
      if (found.size() % 3 == 0) device.tick();
      const auto frame = device.takeFrame();
      const auto ind = vqx::decodeStatusFrame(frame);
      if (frame[0] < 128 || frame[1] > 127 || frame[2] > 127 || frame[3] > 63) std::abort();
      if (!ind.cameraLampLeft ||
          vqx::cameraAtLampLeft(*ind.cameraLampLeft) != device.state().camera)
        std::abort();
    }
  }

  // The same bytes in one piece give the same commands, and each command's bytes parse back.
  if (vqx::CommandParser().feed(stream) != found) std::abort();
  for (const auto& command : found) {
    const auto back = vqx::CommandParser().feed(vqx::commandBytes(command));
    if (back.size() != 1 || back[0] != command) std::abort();
  }
  return 0;
}
