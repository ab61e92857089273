// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/port_device.h"

#include <algorithm>

#include "common/captions.h"
#include "common/text.h"

namespace vqx {
namespace {

// Character devices that are no line: what is written to them vanishes or nothing answers.
bool isLine(const DeviceFacts& facts) {
  static const char* const kNoLines[] = {"/dev/null", "/dev/zero", "/dev/full", "/dev/random",
                                         "/dev/urandom"};
  return facts.kind == NodeKind::Device &&
         std::none_of(std::begin(kNoLines), std::end(kNoLines),
                      [&](const char* n) { return facts.canonical == n; });
}

}  // namespace

std::string describeDevice(const DeviceFacts& facts) {
  if (facts.kind == NodeKind::Absent) return caption::kDeviceAbsent;
  if (!isLine(facts)) return caption::kDeviceNoLine;
  std::string text = caption::kDevicePresent;
  for (const std::string& part :
       {facts.description, facts.manufacturer,
        facts.serialNumber.empty() ? std::string()
                                   : withArgs(caption::kSerialNumber, {facts.serialNumber})}) {
    if (!part.empty()) text += ", " + part;
  }
  return text;
}

Result acceptDevicePath(const std::string& path, const DeviceFacts& facts) {
  if (path.empty()) return Result::fail(caption::kRefuseEmpty);
  if (std::any_of(path.begin(), path.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 32 || c == 127; })) {
    return Result::fail(caption::kRefuseControl);
  }
  switch (facts.kind) {
    case NodeKind::Absent:
      return Result::ok();
    case NodeKind::Folder:
      return Result::fail(withArgs(caption::kRefuseFolder, {path}));
    case NodeKind::File:
      return Result::fail(withArgs(caption::kRefuseFile, {path}));
    case NodeKind::Device:
    case NodeKind::Other:
      break;
  }
  return isLine(facts) ? Result::ok() : Result::fail(withArgs(caption::kRefuseNoLine, {path}));
}

std::string stableDeviceName(const std::string& path, const std::string& canonical,
                             const std::vector<std::pair<std::string, std::string>>& links) {
  for (const auto& [name, target] : links) {
    if (target == canonical) return name;
  }
  return path;
}

}  // namespace vqx
