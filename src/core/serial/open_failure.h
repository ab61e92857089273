// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vqx {

// Why opening a port failed, as the serial control tells it apart.
// NoLine: the device is no serial line (acceptDevicePath), and was not opened. Unreachable: a
// device server on the network did not take the connection.
enum class OpenFailure {
  None,
  Missing,
  NoPermission,
  InUse,
  LockFile,
  Refused,
  NoLine,
  Unreachable,
  Other
};

// A port and the device it stands for, as every message and the link state name it:
// "Com1 (/dev/ttyUSB0)".
std::string portLabel(int port, const std::string& device);

// The one wording of every failure to open a port: the port and its device, the reason, and
// what to do. `detail` is the system's description, or who holds the line, or the line settings
// the line refused.
std::string openFailureText(OpenFailure failure, const std::string& label,
                            const std::string& detail);

}  // namespace vqx
