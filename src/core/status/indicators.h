// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace vqx {

// What one status frame from the device says about the panel's indicators, in plain terms.
// The window applies it: a lamp shown or hidden, a key red or in the window's background
// colour, the camera lamp moved, a beep.
struct Indicators {
  // Left of the camera lamp (Lux) in twips after the frame's last move; empty when the frame
  // did not move it.
  std::optional<int> cameraLampLeft;

  bool liveLamp = false;      // Lux2, above Live
  bool callLamp = false;      // Lux3, above Call
  bool sequenceLamp = false;  // Lux4, above Sequence
  bool tapeLamp = false;      // Lux5, above Tape
  bool functionLamp = false;  // Lux6, above FunctionA

  bool sixteenPicturesRed = false;   // SediciScreen
  bool ninePicturesRed = false;      // NoveScreen
  bool fourPicturesRed = false;      // QuattroScreen
  bool pictureInPictureRed = false;  // Pip
  bool zoomRed = false;              // FullScreen

  bool beep = false;

  bool operator==(const Indicators&) const = default;
};

}  // namespace vqx
