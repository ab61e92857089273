// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The device's command vocabulary: "/" and two command characters, or for the function
// variants of the zoom and screen keys "/", the raw bytes 0 and 1, "/", "A" and a letter.
namespace vqx::command {

inline constexpr std::string_view kPictureInPicture = "/PP";
inline constexpr std::string_view kFourPictures = "/22";
inline constexpr std::string_view kNinePictures = "/33";
inline constexpr std::string_view kSixteenPictures = "/44";
inline constexpr std::string_view kZoom = "/FZ";
inline constexpr std::string_view kFunction = "/AT";
inline constexpr std::string_view kLive = "/LV";
inline constexpr std::string_view kLiveFunction = "/AV";
inline constexpr std::string_view kTape = "/TP";
inline constexpr std::string_view kSequence = "/SQ";
inline constexpr std::string_view kCall = "/SL";

inline constexpr int kCameraCount = 16;

// The camera character of camera n: "1" to "9", then "A" to "G" for 10 to 16.
// Throws std::out_of_range for n outside 1 to 16.
char cameraCharacter(int n);

// "/" and n as two decimal digits: select camera n on the main monitor.
std::string cameraPlain(int n);
// "/S" and the camera character: the function variant of camera key n.
std::string cameraFunction(int n);
// "/X" and the camera character: assign camera n to the next window of the layout.
std::string cameraAssign(int n);
// "/", 0, 1, "/A" and the letter: the function variant of the zoom and screen keys.
std::string functionVariant(char letter);

}  // namespace vqx::command
