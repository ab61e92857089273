// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/panel_layout.h"

#include <array>
#include <stdexcept>

namespace vqx::layout {

namespace {

constexpr FontStyle kSans{"MS Sans Serif", 8.25, false, false};
constexpr FontStyle kArrow{"Wingdings 3", 10.5, false, true};
constexpr FontStyle kBrand{"MS Sans Serif", 12, true, false};

constexpr Rect keyAt(int left) {
  return {left, kKeyTop, kKeySize, kKeySize};
}

constexpr std::array<std::string_view, 16> kCameraNames{
    "Uno",  "Due",   "Tre",    "Quattro", "Cinque",  "Sei",         "Sette",    "Otto",
    "Nove", "Dieci", "Undici", "Dodici",  "Tredici", "Quattordici", "Quindici", "Sedici"};

constexpr std::array<std::string_view, 16> kCameraNamesSpoken{
    "Camera 1",  "Camera 2",  "Camera 3",  "Camera 4",  "Camera 5",  "Camera 6",
    "Camera 7",  "Camera 8",  "Camera 9",  "Camera 10", "Camera 11", "Camera 12",
    "Camera 13", "Camera 14", "Camera 15", "Camera 16"};

// Focus order of the camera keys: 1, 2, 3, 4, 6, 8 ... 16 from 11 on, then 7 and 5 last.
constexpr int cameraFocus(int n) {
  if (n == 7) return 25;
  if (n == 5) return 26;
  if (n <= 4) return 10 + n;
  if (n == 6) return 15;
  return 8 + n;  // 8 -> 16 ... 16 -> 24
}

constexpr std::string_view kCameraTip =
    "Camera: shows this camera on the main monitor; with the function shift, its function; in "
    "assignment mode, puts it in the next window of the layout";

constexpr std::array<KeyEntry, 26> makeKeys() {
  std::array<KeyEntry, 26> k{{
      {"FunctionA", KeyRole::Function, KeyAction::Press, 0, keyAt(120), 1, "Function",
       "Function: left button sends the function command, right button arms the function shift "
       "for the next key"},
      {"FullScreen", KeyRole::Zoom, KeyAction::Click, 0, keyAt(720), 2, "Zoom",
       "Zoom: switches zoom on or off; with the function shift, its function"},
      {"Pip", KeyRole::Screen, KeyAction::PressRelease, 0, keyAt(1080), 4,
       "Picture in picture / up", "Picture in picture; up arrow, repeats while held"},
      {"QuattroScreen", KeyRole::Screen, KeyAction::PressRelease, 0, keyAt(1440), 3,
       "4 pictures / down",
       "4 pictures; down arrow, repeats while held; right button: assign 4 cameras"},
      {"NoveScreen", KeyRole::Screen, KeyAction::PressRelease, 0, keyAt(1800), 5,
       "9 pictures / left",
       "9 pictures; left arrow, repeats while held; right button: assign 9 cameras"},
      {"SediciScreen", KeyRole::Screen, KeyAction::PressRelease, 0, keyAt(2160), 6,
       "16 pictures / right",
       "16 pictures; right arrow, repeats while held; right button: assign 16 cameras"},
      {"Live", KeyRole::Live, KeyAction::Click, 0, keyAt(2760), 7, "Live",
       "Live pictures; with the function shift, its function"},
      {"Tape", KeyRole::Tape, KeyAction::Click, 0, keyAt(3120), 8, "Tape", "Tape playback"},
      {"Sequence", KeyRole::Sequence, KeyAction::Click, 0, keyAt(3600), 9, "Sequence",
       "Camera sequence on or off"},
      {"Call", KeyRole::Call, KeyAction::Click, 0, keyAt(3960), 10, "Call", "Call monitor"},
  }};
  for (int n = 1; n <= 16; ++n) {
    k[9 + n] = {kCameraNames[n - 1],  KeyRole::Camera, KeyAction::Click,          n,
                keyAt(cameraLeft(n)), cameraFocus(n),  kCameraNamesSpoken[n - 1], kCameraTip};
  }
  return k;
}

constexpr std::array<KeyEntry, 26> kKeys = makeKeys();

constexpr std::array<LampEntry, 6> kLamps{{
    {"Lux", {4920, 264, 252, 132}, kRed, true, "Camera lamp"},
    {"Lux2", {2760, 240, 252, 132}, kRed, true, "Live lamp"},
    {"Lux5", {3180, 240, 132, 132}, kRed, true, "Tape lamp"},
    {"Lux4", {3600, 240, 252, 132}, kRed, false, "Sequence lamp"},
    {"Lux3", {3960, 264, 252, 132}, kRed, true, "Call lamp"},
    {"Lux6", {180, 240, 132, 132}, kGreen, false, "Function lamp"},
}};

constexpr std::array<std::string_view, 15> kNumberCaptions{
    "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"};
constexpr std::array<std::string_view, 15> kNumberNames{
    "Label16", "Label17", "Label18", "Label19", "Label20", "Label21", "Label22", "Label23",
    "Label24", "Label25", "Label26", "Label27", "Label28", "Label29", "Label30"};

constexpr std::array<LabelEntry, 28> makeLabels() {
  std::array<LabelEntry, 28> l{{
      {"Label12", "1", {4980, 24, 132, 252}, Align::Left, kSans, kBlack},
      {"Label8", "  1 cam", {0, 24, 612, 252}, Align::Left, kSans, kBlack},
      {"Label10", "live tape", {2760, 24, 612, 252}, Align::Centre, kSans, kBlack},
      {"Label11", "seq. call", {3600, 24, 612, 252}, Align::Centre, kSans, kBlack},
      {"Label9", "MAIN MONITOR", {720, 264, 1692, 252}, Align::Centre, kSans, kBlack},
      {"Label1", "  function zoom     ", {0, 840, 1092, 252}, Align::Left, kSans, kBlack},
      {"Label2", "\u25B2", {1128, 840, 252, 252}, Align::Left, kArrow, kBlack},
      {"Label3", "\u25BC", {1464, 840, 252, 252}, Align::Left, kArrow, kBlack},
      {"Label4", "\u25C0", {1824, 840, 252, 252}, Align::Left, kArrow, kBlack},
      {"Label5", "\u25B6", {2196, 840, 252, 252}, Align::Left, kArrow, kBlack},
      {"Label6", "MODE", {2820, 840, 492, 252}, Align::Left, kSans, kBlack},
      {"Label13", "camera", {5760, 840, 852, 252}, Align::Centre, kSans, kBlack},
      {"Label7", "VQX16", {7680, 792, 1092, 372}, Align::Left, kBrand, kBrandBlue},
  }};
  for (int k = 2; k <= 16; ++k) {
    l[11 + k] = {kNumberNames[k - 2],
                 kNumberCaptions[k - 2],
                 {5160 + 240 * (k - 2), 24, 252, 252},
                 Align::Centre,
                 kSans,
                 kBlack};
  }
  return l;
}

constexpr std::array<LabelEntry, 28> kLabels = makeLabels();

constexpr std::array<ShapeEntry, 8> kShapes{{
    {"Shape1", {720, 0, 252, 252}},
    {"Shape2", {1080, 0, 252, 252}},
    {"Shape5", {1200, 120, 132, 132}},
    {"Shape4", {1440, 0, 252, 252}},
    {"Shape9", {1440, 0, 132, 132}},
    {"Shape6", {1560, 120, 132, 132}},
    {"Shape7", {1800, 0, 252, 252}},
    {"Shape8", {2160, 0, 252, 252}},
}};

constexpr std::array<LineEntry, 12> kLines{{
    {"Line3", 1872, 0, 1872, 240},
    {"Line4", 1968, 0, 1968, 240},
    {"Line11", 1800, 72, 2040, 72},
    {"Line6", 1800, 156, 2040, 156},
    {"Line8", 2220, 0, 2220, 240},
    {"Line7", 2280, 240, 2280, 0},
    {"Line9", 2340, 0, 2340, 240},
    {"Line5", 2160, 60, 2400, 60},
    {"Line10", 2160, 120, 2400, 120},
    {"Line12", 2160, 180, 2400, 180},
    {"Line2", 4080, 840, 4080, 960},
    {"Line1", 4080, 960, 7560, 960},
}};

template <typename Entry, std::size_t N>
const Entry* findIn(const std::array<Entry, N>& table, std::string_view name) {
  for (const auto& entry : table) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

}  // namespace

std::span<const KeyEntry> keys() {
  return kKeys;
}
std::span<const LampEntry> lamps() {
  return kLamps;
}
std::span<const LabelEntry> labels() {
  return kLabels;
}
std::span<const ShapeEntry> shapes() {
  return kShapes;
}
std::span<const LineEntry> lines() {
  return kLines;
}

const KeyEntry* findKey(std::string_view name) {
  return findIn(kKeys, name);
}
const LampEntry* findLamp(std::string_view name) {
  return findIn(kLamps, name);
}
const LabelEntry* findLabel(std::string_view name) {
  return findIn(kLabels, name);
}

std::string_view cameraKeyName(int n) {
  if (n < 1 || n > 16) throw std::out_of_range("camera number outside 1 to 16");
  return kCameraNames[n - 1];
}

}  // namespace vqx::layout
