// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/sys_info.h"

namespace vqx {

bool readRegistryValue(Registry& registry, std::uint32_t keyRoot, const std::string& keyName,
                 const std::string& subKeyRef, std::string& keyVal) {
  Registry::Key key{};
  if (!registry.openKey(keyRoot, keyName, key)) {
    keyVal.clear();
    return false;
  }
  std::uint32_t type = 0;
  std::string data;
  if (!registry.queryValue(key, subKeyRef, kRegistryBufferSize, type, data)) {
    keyVal.clear();
    registry.closeKey(key);
    return false;
  }
  if (!data.empty() && data.back() == '\0') data.pop_back();

  if (type == kRegistryText) {
    keyVal = data;
  } else if (type == kRegistryNumber) {
    // The value's bytes are little-endian. Each byte counts in full, so 0x0A 0x01 reads 266.
    std::uint32_t value = 0;
    for (std::size_t i = data.size(); i-- > 0;) {
      value = (value << 8) | static_cast<unsigned char>(data[i]);
    }
    keyVal = std::to_string(static_cast<std::int32_t>(value));
  }
  registry.closeKey(key);
  return true;
}

bool startSystemInformationTool(Registry& registry, ProgramLauncher& launcher, Prompts& prompts) {
  std::string path;
  std::string folder;
  if (readRegistryValue(registry, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                  path)) {
    // Registered path: used without an existence check.
  } else if (readRegistryValue(registry, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location",
                         "MSINFO", folder) &&
             launcher.fileExists(folder + "\\MSINFO32.EXE")) {
    path = folder + "\\MSINFO32.EXE";
  } else {
    prompts.message(kSysInfoUnavailable);
    return false;
  }
  if (!launcher.start(path)) {
    prompts.message(kSysInfoUnavailable);
    return false;
  }
  return true;
}

}  // namespace vqx
