// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/port_device.h"

#include <algorithm>

#include "common/captions.h"
#include "common/text.h"
#include "serial/network_address.h"

namespace vqx {
namespace {

// Terminal devices that are no line, by number on Linux and by name on every system.
struct NoLine {
  unsigned major, minor;
  const char* name;
  const char* refusal;
};
constexpr NoLine kNoLines[] = {
    {5, 0, "/dev/tty", caption::kRefuseTty},
    {5, 1, "/dev/console", caption::kRefuseConsole},
    {5, 2, "/dev/ptmx", caption::kRefusePtmx},
};

// Linux's numbers: the virtual consoles tty0 to tty63, the slaves of pseudo-terminals.
constexpr unsigned kConsoleMajor = 4;
constexpr unsigned kConsoles = 64;
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kLastPtySlaveMajor = 143;

// Why the device at `path` cannot be a port's line; nothing when it can.
std::optional<std::string> refusal(const std::string& path, const DeviceFacts& facts) {
  const auto refuse = [&path](const char* pattern) { return withArgs(pattern, {path}); };
  for (const std::string& step : facts.route) {
    if (step == "/proc" || step.starts_with("/proc/")) return refuse(caption::kRefuseProc);
  }
  switch (facts.kind) {
    case NodeKind::Absent:
      return std::nullopt;
    case NodeKind::Folder:
      return refuse(caption::kRefuseFolder);
    case NodeKind::File:
      return refuse(caption::kRefuseFile);
    case NodeKind::Other:
      return refuse(caption::kRefuseNoLine);
    case NodeKind::Device:
      break;
  }
  if (facts.controllingTerminal) return refuse(caption::kRefuseOwnTerminal);
  const std::optional<LinuxDevice>& onLinux = facts.linuxDevice;
  for (const NoLine& no : kNoLines) {
    const bool numbered = onLinux && onLinux->major == no.major && onLinux->minor == no.minor;
    if (numbered || facts.canonical == no.name) return refuse(no.refusal);
  }
  if (!onLinux) {
    // Elsewhere only the names tell: the devices that swallow or make up what goes to them.
    static const char* const kNoLineNames[] = {"/dev/null", "/dev/zero", "/dev/full", "/dev/random",
                                               "/dev/urandom"};
    const bool named = std::any_of(std::begin(kNoLineNames), std::end(kNoLineNames),
                                   [&](const char* n) { return facts.canonical == n; });
    return named ? std::optional(refuse(caption::kRefuseNoLine)) : std::nullopt;
  }
  if (onLinux->major == kConsoleMajor && onLinux->minor < kConsoles) {
    return refuse(caption::kRefuseVirtualConsole);
  }
  if (onLinux->major >= kFirstPtySlaveMajor && onLinux->major <= kLastPtySlaveMajor) {
    return std::nullopt;  // a pseudo-terminal: its master is another program's
  }
  if (onLinux->subsystem == "tty") return std::nullopt;
  if (onLinux->subsystem.empty()) return refuse(caption::kRefuseNoLine);
  return withArgs(caption::kRefuseNoTty, {path, onLinux->subsystem});
}

}  // namespace

std::string describeDevice(const DeviceFacts& facts) {
  if (facts.kind == NodeKind::Absent) return caption::kDeviceAbsent;
  if (refusal(facts.canonical, facts)) return caption::kDeviceNoLine;
  std::string text = caption::kDevicePresent;
  for (const std::string& part :
       {facts.description, facts.manufacturer,
        facts.serialNumber.empty() ? std::string()
                                   : withArgs(caption::kSerialNumber, {facts.serialNumber})}) {
    if (!part.empty()) text += ", " + part;
  }
  return text;
}

std::string describePortDevice(const std::string& device, const DeviceFacts& facts) {
  if (!isNetworkAddress(device)) return describeDevice(facts);
  const ParsedNetworkAddress parsed = parseNetworkAddress(device);
  if (!parsed.result) return caption::kDeviceBadAddress;
  return parsed.address.mode == NetworkMode::RawTcp ? caption::kDeviceRawTcp
                                                    : caption::kDeviceRfc2217;
}

Result acceptDevicePath(const std::string& path, const DeviceFacts& facts) {
  if (path.empty()) return Result::fail(caption::kRefuseEmpty);
  if (isNetworkAddress(path)) return parseNetworkAddress(path).result;
  if (std::any_of(path.begin(), path.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 32 || c == 127; })) {
    return Result::fail(caption::kRefuseControl);
  }
  const auto refused = refusal(path, facts);
  return refused ? Result::fail(*refused) : Result::ok();
}

std::string stableDeviceName(const std::string& path, const std::string& canonical,
                             const std::vector<std::pair<std::string, std::string>>& links) {
  if (isNetworkAddress(path)) {
    const ParsedNetworkAddress parsed = parseNetworkAddress(path);
    return parsed.result ? networkAddressText(parsed.address) : path;
  }
  for (const auto& [name, target] : links) {
    if (target == canonical) return name;
  }
  return path;
}

}  // namespace vqx
