// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The drawn front panel: every key, lamp, label, pictogram rectangle and line with its place
// in twips of the main window's client area (origin top left), as the windows build it.
namespace vqx::layout {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kPanelWidth = 8910;
inline constexpr int kPanelHeight = 1200;

// Twips to logical pixels at 15 twips a pixel, rounded to the nearest pixel.
constexpr int toPixels(int twips) {
  return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                    : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// Colours in the platform's 0x00BBGGRR form.
inline constexpr std::uint32_t kArmedGrey = 8421504;  // RGB 128, 128, 128: armed key state
inline constexpr std::uint32_t kStatusRed = 255;      // RGB 255, 0, 0: a status bit on
constexpr Rgb toRgb(std::uint32_t bgr) {
  return {static_cast<std::uint8_t>(bgr & 0xFF), static_cast<std::uint8_t>((bgr >> 8) & 0xFF),
          static_cast<std::uint8_t>((bgr >> 16) & 0xFF)};
}
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 192, 0};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kBrandBlue{0, 0, 192};

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

// What a key is for; the mode keys each have their own.
enum class KeyRole { Function, Zoom, Screen, Live, Tape, Sequence, Call, Camera };
// How a key acts: on the press of a mouse button (FunctionA), on press and release of any
// button (the screen keys), or on a click (left button released over it, or the keyboard).
enum class KeyAction { Press, PressRelease, Click };

struct KeyEntry {
  std::string_view name;
  KeyRole role;
  KeyAction action;
  int number;  // camera number 1 to 16 for the camera keys, else 0
  Rect rect;
  int focusOrder;  // 1 to 26
  std::string_view accessibleName;
  std::string_view toolTip;
};

struct LampEntry {
  std::string_view name;
  Rect rect;
  Rgb fill;
  bool visibleAtStart;
  std::string_view accessibleName;
};

enum class Align { Left, Centre };

struct FontStyle {
  std::string_view family;  // the family the panel was designed with
  double pointSize;
  bool bold;
  bool symbol;  // a symbol font: the caption is shown with a font that has the characters
};

struct LabelEntry {
  std::string_view name;
  std::string_view caption;  // UTF-8, exactly as shown, spaces included
  Rect rect;
  Align align;
  FontStyle font;
  Rgb colour;
};

struct ShapeEntry {
  std::string_view name;
  Rect rect;  // a one-pixel black outline, no fill
};

struct LineEntry {
  std::string_view name;
  int x1, y1, x2, y2;  // a one-pixel black line
};

inline constexpr int kKeySize = 252;
inline constexpr int kKeyTop = 480;
inline constexpr int kFirstCameraLeft = 4920;
inline constexpr int kCameraPitch = 240;

// Left of camera key n, which is also the camera lamp's place for camera n.
constexpr int cameraLeft(int n) {
  return kFirstCameraLeft + kCameraPitch * (n - 1);
}

std::span<const KeyEntry> keys();      // 26 keys, in creation order
std::span<const LampEntry> lamps();    // Lux, Lux2, Lux5, Lux4, Lux3, Lux6
std::span<const LabelEntry> labels();  // every fixed text
std::span<const ShapeEntry> shapes();  // pictogram rectangles
std::span<const LineEntry> lines();    // pictogram lines and the camera row's lines

// Looks an element up by its name; nullptr when there is none.
const KeyEntry* findKey(std::string_view name);
const LampEntry* findLamp(std::string_view name);
const LabelEntry* findLabel(std::string_view name);

// Name of camera key n (Uno to Sedici); throws std::out_of_range outside 1 to 16.
std::string_view cameraKeyName(int n);

}  // namespace vqx::layout
