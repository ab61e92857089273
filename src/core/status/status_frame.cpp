// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "status/status_frame.h"

namespace vqx {

namespace {

// Byte 3: 16-picture key, function lamp, camera 8, tape, live, call, sequence (bit 6 down).
constexpr std::uint8_t kSediciBit = 64, kFunctionBit = 32, kCamera8Bit = 16, kTapeBit = 8,
                       kLiveBit = 4, kCallBit = 2, kSequenceBit = 1;
// Byte 4: beep, 9-picture, 4-picture, picture-in-picture, zoom, camera 16 (bit 5 down).
constexpr std::uint8_t kBeepBit = 32, kNoveBit = 16, kQuattroBit = 8, kPipBit = 4,
                       kFullScreenBit = 2, kCamera16Bit = 1;

// Walks a byte from the threshold `top` down to 1: a value at least the threshold turns the
// indicator off and is reduced by it; a smaller value turns it on. For a byte below 2*top
// this is a plain bit test of active-low bits; a larger byte turns every indicator off.
template <typename Apply>
void thresholdWalk(unsigned v, unsigned top, Apply apply) {
  for (unsigned t = top; t >= 1; t /= 2) {
    const bool on = v < t;
    if (!on) v -= t;
    apply(t, on);
  }
}

}  // namespace

int cameraAtLampLeft(int left) {
  for (int camera = 1; camera <= 16; ++camera)
    if (cameraLampLeft(camera) == left) return camera;
  return 0;
}

std::optional<StatusFrame> alignStatusFrame(std::string_view four) {
  if (four.size() != 4) return std::nullopt;
  for (std::size_t p = 0; p < 4; ++p) {
    if (static_cast<unsigned char>(four[p]) > 127) {
      StatusFrame frame{};
      for (std::size_t i = 0; i < 4; ++i) frame[i] = static_cast<std::uint8_t>(four[(p + i) % 4]);
      return frame;
    }
  }
  return std::nullopt;
}

Indicators decodeStatusFrame(const StatusFrame& frame) {
  Indicators out;
  const unsigned b1 = frame[0], b2 = frame[1], b3 = frame[2], b4 = frame[3];

  // Cameras 1 to 7 in byte 1 (one bit cleared); with byte 1 all ones, 9 to 15 in byte 2.
  if (b1 < 255) {
    for (int bit = 0; bit < 7; ++bit)
      if (b1 == (255u & ~(1u << bit))) out.cameraLampLeft = cameraLampLeft(1 + bit);
  } else {
    for (int bit = 0; bit < 7; ++bit)
      if (b2 == (127u & ~(1u << bit))) out.cameraLampLeft = cameraLampLeft(9 + bit);
  }

  thresholdWalk(b3, 64, [&](unsigned bit, bool on) {
    switch (bit) {
      case kSediciBit:
        out.sixteenPicturesRed = on;
        break;
      case kFunctionBit:
        out.functionLamp = on;
        break;
      case kCamera8Bit:
        if (on) out.cameraLampLeft = cameraLampLeft(8);
        break;
      case kTapeBit:
        out.tapeLamp = on;
        break;
      case kLiveBit:
        out.liveLamp = on;
        break;
      case kCallBit:
        out.callLamp = on;
        break;
      case kSequenceBit:
        out.sequenceLamp = on;
        break;
    }
  });

  thresholdWalk(b4, 32, [&](unsigned bit, bool on) {
    switch (bit) {
      case kBeepBit:
        out.beep = on;
        break;
      case kNoveBit:
        out.ninePicturesRed = on;
        break;
      case kQuattroBit:
        out.fourPicturesRed = on;
        break;
      case kPipBit:
        out.pictureInPictureRed = on;
        break;
      case kFullScreenBit:
        out.zoomRed = on;
        break;
      case kCamera16Bit:
        if (on) out.cameraLampLeft = cameraLampLeft(16);
        break;
    }
  });
  return out;
}

StatusFrame encodeStatusFrame(const DeviceStatus& s) {
  std::uint8_t b1 = 0xFF, b2 = 0x7F, b3 = 0x7F, b4 = 0x3F;
  const auto clearIf = [](std::uint8_t& byte, std::uint8_t bit, bool on) {
    if (on) byte = static_cast<std::uint8_t>(byte & ~bit);
  };
  const int camera = s.camera.value_or(0);
  if (camera >= 1 && camera <= 7) clearIf(b1, static_cast<std::uint8_t>(1u << (camera - 1)), true);
  if (camera >= 9 && camera <= 15) clearIf(b2, static_cast<std::uint8_t>(1u << (camera - 9)), true);
  clearIf(b3, kCamera8Bit, camera == 8);
  clearIf(b4, kCamera16Bit, camera == 16);

  clearIf(b3, kSediciBit, s.sediciScreenLit);
  clearIf(b3, kFunctionBit, s.functionLamp);
  clearIf(b3, kTapeBit, s.tapeLamp);
  clearIf(b3, kLiveBit, s.liveLamp);
  clearIf(b3, kCallBit, s.callLamp);
  clearIf(b3, kSequenceBit, s.sequenceLamp);

  clearIf(b4, kBeepBit, s.beep);
  clearIf(b4, kNoveBit, s.noveScreenLit);
  clearIf(b4, kQuattroBit, s.quattroScreenLit);
  clearIf(b4, kPipBit, s.pipLit);
  clearIf(b4, kFullScreenBit, s.fullScreenLit);
  return {b1, b2, b3, b4};
}

}  // namespace vqx
