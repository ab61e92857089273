// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which device stands behind a port: how the port settings dialog describes it, and which
// paths the operator may map a port to.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/result.h"

namespace vqx {

// What is at a device path now.
enum class NodeKind { Absent, Device, Folder, File, Other };

// What Linux tells of a character device without opening it.
struct LinuxDevice {
  unsigned major = 0, minor = 0;
  // The kernel's class of it: "tty" for every serial line, "mem" for /dev/null or /dev/kmsg;
  // empty when it has none (a pseudo-terminal's slave, /dev/pts/N, has none).
  std::string subsystem;
};

struct DeviceFacts {
  std::string canonical;  // where the path leads, its links followed; the path when absent
  NodeKind kind = NodeKind::Absent;
  // The path, then every place it leads through, each link of a folder on the way and each
  // link itself followed in turn: /dev/fd/0 leads through /proc/<pid>/fd/0.
  std::vector<std::string> route;
  bool controllingTerminal = false;        // this program's own controlling terminal
  std::optional<LinuxDevice> linuxDevice;  // a character device on Linux; nothing elsewhere
  // What the system lists of an adapter; empty for a line it does not list.
  std::string description, manufacturer, serialNumber;
};

// "present, FT232R USB UART, FTDI, serial number A1B2C3", "present", "absent", or "not a serial
// device".
std::string describeDevice(const DeviceFacts& facts);
// What a port's device is: describeDevice() of a path; for a network address, the kind of
// device server and whether the line settings reach its line, told without connecting.
std::string describePortDevice(const std::string& device, const DeviceFacts& facts);

// Whether `path` (trimmed) may be a port's device, in the Device... dialog and again each time
// the port opens. A port is a serial line, or a pseudo-terminal that another program serves.
// Refused, with the reason the operator is shown: nothing typed, a line break or other control
// character, anything under /proc or leading there, a folder, a regular file, this program's own
// controlling terminal, /dev/tty, /dev/console, /dev/ptmx, a virtual console, and any other
// character device that is no tty (/dev/null, /dev/kmsg, a watchdog). A path where nothing is now
// is taken: an adapter may be plugged in later. A network address (tcp://HOST:PORT,
// rfc2217://HOST:PORT) is taken when parseNetworkAddress() reads it.
Result acceptDevicePath(const std::string& path, const DeviceFacts& facts);

// The name to store for the device at `canonical`: the first of `links` (name, where it leads),
// the system's stable names such as /dev/serial/by-id/..., that leads there; else `path`. A
// network address is stored as networkAddressText() writes it.
std::string stableDeviceName(const std::string& path, const std::string& canonical,
                             const std::vector<std::pair<std::string, std::string>>& links);

}  // namespace vqx
