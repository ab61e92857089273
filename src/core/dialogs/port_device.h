// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which device stands behind a port: how the port settings dialog describes it, and which
// paths the operator may map a port to.

#include <string>
#include <utility>
#include <vector>

#include "common/result.h"

namespace vqx {

// What is at a device path now.
enum class NodeKind { Absent, Device, Folder, File, Other };

struct DeviceFacts {
  std::string canonical;  // where the path leads, its links followed; the path when absent
  NodeKind kind = NodeKind::Absent;
  // What the system lists of an adapter; empty for a line it does not list.
  std::string description, manufacturer, serialNumber;
};

// "present, FT232R USB UART, FTDI, serial number A1B2C3", "present", "absent", or "not a serial
// device".
std::string describeDevice(const DeviceFacts& facts);

// Whether `path` (trimmed) may be stored as a port's device. Refused, with the reason the
// operator is shown: nothing typed, a line break or other control character, a folder, a regular
// file, or a device that is no line (/dev/null and its kind). A path where nothing is now is
// taken: an adapter may be plugged in later.
Result acceptDevicePath(const std::string& path, const DeviceFacts& facts);

// The name to store for the device at `canonical`: the first of `links` (name, where it leads),
// the system's stable names such as /dev/serial/by-id/..., that leads there; else `path`.
std::string stableDeviceName(const std::string& path, const std::string& canonical,
                             const std::vector<std::pair<std::string, std::string>>& links);

}  // namespace vqx
