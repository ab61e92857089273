// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The About box's start button for the operating system's system-information tool: where the
// tool is registered, and how a registry value is read.

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/prompts.h"
#include "common/result.h"

namespace vqx {

inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;
inline constexpr std::uint32_t kRegistryText = 1;    // REG_SZ
inline constexpr std::uint32_t kRegistryNumber = 4;  // REG_DWORD
inline constexpr std::size_t kRegistryBufferSize = 1024;
inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// Read access to the system registry. Keys are opened for reading only.
class Registry {
 public:
  using Key = std::uintptr_t;
  virtual ~Registry() = default;
  // Opens `subKey` under the root handle for reading; true and the key on success.
  virtual bool openKey(std::uint32_t root, const std::string& subKey, Key& key) = 0;
  // Reads value `name` into at most `capacity` bytes; fails when the value needs more. On
  // success `type` is the value's type and `data` the bytes returned (text values with their
  // terminating zero byte, as the registry hands them out).
  virtual bool queryValue(Key key, const std::string& name, std::size_t capacity,
                          std::uint32_t& type, std::string& data) = 0;
  virtual void closeKey(Key key) = 0;
};

// Starting a program and asking whether a file exists.
class ProgramLauncher {
 public:
  virtual ~ProgramLauncher() = default;
  virtual bool fileExists(const std::string& path) const = 0;
  // Starts the program at `path` in a normal window with the focus and leaves it running.
  virtual Result start(const std::string& path) = 0;
};

// GetKeyValue: reads one registry value. True and `keyVal` set when the value was read; on
// failure `keyVal` is emptied. A text value gives its text without the terminating zero, a
// 32-bit number its decimal form; a value of any other type leaves `keyVal` as passed in.
bool readRegistryValue(Registry& registry, std::uint32_t keyRoot, const std::string& keyName,
                       const std::string& subKeyRef, std::string& keyVal);

// Starts the system-information tool registered under "SOFTWARE\Microsoft\Shared Tools\MSINFO"
// ("PATH", used as it stands), else the MSINFO32.EXE in the folder registered under
// "SOFTWARE\Microsoft\Shared Tools Location" ("MSINFO") when that file exists. Otherwise, or
// when the start fails, shows "System Information Is Unavailable At This Time" (OK, no icon).
// Returns whether the tool was started.
bool startSystemInformationTool(Registry& registry, ProgramLauncher& launcher, Prompts& prompts);

}  // namespace vqx
