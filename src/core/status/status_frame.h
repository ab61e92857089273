// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "status/indicators.h"

namespace vqx {

// A status frame of the device, aligned: byte 1 carries the marker bit 7 and the cameras 1 to
// 7, byte 2 the cameras 9 to 15, byte 3 camera 8, four lamps and the 16-picture key, byte 4
// camera 16, four key colours and the beep. Every indicator bit is active low.
using StatusFrame = std::array<std::uint8_t, 4>;

// Left in twips of camera key n (1 to 16), where the camera lamp sits for camera n.
constexpr int cameraLampLeft(int camera) {
  return 4920 + 240 * (camera - 1);
}

// The camera whose key is at this Left, or 0 when the Left is no camera key's.
int cameraAtLampLeft(int left);

// Aligns four received characters on the first one above 127: with that character at p, the
// frame is characters p..4 followed by 1..p-1. Empty when there are not exactly four
// characters or none of them is above 127.
std::optional<StatusFrame> alignStatusFrame(std::string_view four);

// Decodes an aligned frame into the panel's indicators, in the device's order: the camera
// lamp from bytes 1 and 2, then byte 3 and byte 4 by threshold and subtraction, from the
// highest bit down; the camera lamp's last move wins (bytes 1/2, then camera 8, then 16).
Indicators decodeStatusFrame(const StatusFrame& frame);

// What the device reports, in plain terms: the inverse of the decoding for frames that name at
// most one camera.
struct DeviceStatus {
  std::optional<int> camera;  // 1 to 16 under the camera lamp; anything else is no camera

  bool liveLamp = false;
  bool callLamp = false;
  bool sequenceLamp = false;
  bool tapeLamp = false;
  bool functionLamp = false;

  bool sediciScreenLit = false;
  bool noveScreenLit = false;
  bool quattroScreenLit = false;
  bool pipLit = false;
  bool fullScreenLit = false;

  bool beep = false;

  bool operator==(const DeviceStatus&) const = default;
};

StatusFrame encodeStatusFrame(const DeviceStatus& status);

}  // namespace vqx
