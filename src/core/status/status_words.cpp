// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "status/status_words.h"

#include <utility>

#include "status/status_frame.h"

namespace vqx {

std::string describeStatus(const Indicators& i) {
  const int camera = i.cameraLampLeft ? cameraAtLampLeft(*i.cameraLampLeft) : 0;
  std::string words =
      camera ? "camera " + std::to_string(camera) + " on the main monitor" : "no camera";
  const std::pair<bool, const char*> parts[] = {
      {i.functionLamp, "function lamp"},
      {i.liveLamp, "live"},
      {i.tapeLamp, "tape"},
      {i.sequenceLamp, "sequence running"},
      {i.callLamp, "call monitor"},
      {i.zoomRed, "zoom key lit"},
      {i.pictureInPictureRed, "picture-in-picture key lit"},
      {i.fourPicturesRed, "4-picture key lit"},
      {i.ninePicturesRed, "9-picture key lit"},
      {i.sixteenPicturesRed, "16-picture key lit"},
      {i.beep, "beep"},
  };
  for (const auto& [on, part] : parts) {
    if (on) words += std::string(", ") + part;
  }
  return words;
}

}  // namespace vqx
