#pragma once

// The program's own English texts beyond the device's panel (the traffic monitor, its log),
// which the language files do not relabel: kept in one place, so that a later language-file
// format can take them line by line.
namespace vqx::caption {

inline constexpr const char* kMonitorMenu = "Monitor...";
inline constexpr const char* kMonitorTitle = "VQX16 traffic monitor";
inline constexpr const char* kPause = "&Pause";
inline constexpr const char* kResume = "&Resume";
inline constexpr const char* kClear = "C&lear";
inline constexpr const char* kCopyAll = "&Copy all";
inline constexpr const char* kKeepLog = "&Keep an incident log";
inline constexpr const char* kNoFrame = "no frame";
inline constexpr const char* kLogStopped = "The incident log has stopped: ";

}  // namespace vqx::caption
