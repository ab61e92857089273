// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's own English texts beyond the device's panel (the traffic monitor, its log, the
// link state, the port's device and the messages about opening it), which the language files do
// not relabel: kept in one place, so that a later language-file format can take them line by
// line. %1, %2 stand for what withArgs() puts in.
namespace vqx::caption {

inline constexpr const char* kMonitorMenu = "Monitor...";
inline constexpr const char* kMonitorTitle = "VQX16 traffic monitor";
inline constexpr const char* kPause = "&Pause";
inline constexpr const char* kResume = "&Resume";
inline constexpr const char* kClear = "C&lear";
inline constexpr const char* kCopyAll = "&Copy all";
inline constexpr const char* kKeepLog = "&Keep an incident log";
inline constexpr const char* kNoFrame = "no frame";
// After a frame that came in the same read as an earlier one: the panel follows a read's first.
inline constexpr const char* kNotOnPanel = " (not shown on the panel)";
inline constexpr const char* kLogStopped = "The incident log has stopped: ";
// A day's file that is not the log's own: "%1 is a symbolic link: ...".
inline constexpr const char* kLogFileRefused =
    "%1 is %2: the log writes only to regular files that belong to you.";
inline constexpr const char* kLogFileLink = "a symbolic link";
inline constexpr const char* kLogFilePipe = "a named pipe";
inline constexpr const char* kLogFileFolder = "a folder";
inline constexpr const char* kLogFileSocket = "a socket";
inline constexpr const char* kLogFileDevice = "a device";
inline constexpr const char* kLogFileOthers = "a file of another user";
inline constexpr const char* kLogFileLinked = "a file with other names (hard links)";

// A port and the device it stands for: "Com1 (/dev/ttyUSB0)".
inline constexpr const char* kPortLabel = "Com%1 (%2)";

// Why a port did not open, after the port's label (%1), and what to do.
inline constexpr const char* kOpenMissing =
    "%1 does not exist. Connect the adapter, or choose another port under Port > Properties.";
inline constexpr const char* kOpenNoPermission =
    "%1 cannot be opened: permission denied. Add your user to the dialout group, then log out "
    "and log in again.";
inline constexpr const char* kOpenInUse =
    "%1 is in use by another program (%2). Close that program, or choose another port under "
    "Port > Properties.";
inline constexpr const char* kOpenLockFile = "%1 cannot be locked: %2";
inline constexpr const char* kOpenRefused =
    "%1 does not take the line settings %2. Choose others under Port > Properties.";
inline constexpr const char* kOpenOther = "%1 cannot be opened: %2";
inline constexpr const char* kOpenNoLine =
    "%1 is not opened: %2 Choose another device under Port > Properties.";
// A device server that could not be reached (%2: "HOST:PORT: connection refused").
inline constexpr const char* kOpenUnreachable =
    "%1 cannot reach %2. Check the device server and its address, or choose another port under "
    "Port > Properties.";

// The link state beside the menus, and the port lines of the traffic record.
inline constexpr const char* kLinkOpen = "open";
inline constexpr const char* kLinkQuiet = "no frame for %1 s";
inline constexpr const char* kLinkClosed = "closed";
inline constexpr const char* kLinkLost = "lost, retrying";
inline constexpr const char* kLinkCannotOpen = "cannot open";
inline constexpr const char* kLinkOpened = "opened";
inline constexpr const char* kLinkReopened = "reopened";
inline constexpr const char* kLinkConnecting = "connecting";

// The device behind a port, in the port settings dialog.
inline constexpr const char* kPortDevice = "%1: %2 - %3";  // Com3: present - /dev/ttyUSB0
inline constexpr const char* kDeviceButton = "&Device...";
inline constexpr const char* kDeviceOf = "Device of %1:";
inline constexpr const char* kDeviceDefault = "&Default";
inline constexpr const char* kDeviceOk = "OK";
inline constexpr const char* kDeviceCancel = "Cancel";
inline constexpr const char* kDevicePresent = "present";
inline constexpr const char* kDeviceAbsent = "absent";
inline constexpr const char* kDeviceNoLine = "not a serial device";
inline constexpr const char* kDeviceRawTcp =
    "network device server, raw TCP: these line settings do not reach its serial line";
inline constexpr const char* kDeviceRfc2217 =
    "network device server, RFC 2217: these line settings are set on its serial line";
inline constexpr const char* kDeviceBadAddress = "not a usable network address";
inline constexpr const char* kSerialNumber = "serial number %1";
inline constexpr const char* kRefuseEmpty =
    "Type the path of a serial device, for example /dev/ttyUSB0.";
inline constexpr const char* kRefuseControl =
    "A device path cannot hold a line break or another control character.";
inline constexpr const char* kRefuseFolder = "%1 is a folder, not a serial device.";
inline constexpr const char* kRefuseFile = "%1 is a regular file, not a serial device.";
inline constexpr const char* kRefuseNoLine = "%1 is not a serial device.";
inline constexpr const char* kRefuseNoTty =
    "%1 is not a serial device: the system counts it among its \"%2\" devices.";
inline constexpr const char* kRefuseProc =
    "%1 leads into /proc, the system's view of running programs, not to a serial device.";
inline constexpr const char* kRefuseOwnTerminal =
    "%1 is the terminal this program was started from, not a serial device.";
inline constexpr const char* kRefuseTty =
    "%1 stands for the terminal of the program that opens it, not a serial device.";
inline constexpr const char* kRefuseConsole = "%1 is the system console, not a serial device.";
inline constexpr const char* kRefusePtmx =
    "%1 makes a new pseudo-terminal with nobody at its other end, not a serial device. Choose "
    "the pseudo-terminal another program serves, such as /dev/pts/3.";
inline constexpr const char* kRefuseVirtualConsole =
    "%1 is a virtual console of this computer, not a serial device.";

// A port's network address that cannot be used (%1 the address, %2 why).
inline constexpr const char* kAddressRefused = "%1 is not a usable network address: %2";
inline constexpr const char* kAddressScheme = "write tcp://HOST:PORT or rfc2217://HOST:PORT.";
inline constexpr const char* kAddressExtra =
    "write only HOST:PORT after the scheme, without a user name, path or query.";
inline constexpr const char* kAddressHost =
    "the host must be a name, an IPv4 address, or an IPv6 address in brackets such as [::1].";
inline constexpr const char* kAddressPort = "the port number must be 1 to 65535.";
inline constexpr const char* kAddressBlank =
    "A network address cannot hold a space, a line break or another control character.";

// What a device server did with the line settings it was asked to set (%1 the settings text,
// %2 and %3 a value in words), and what the operator is told when its replies do not come.
inline constexpr const char* kServerSet = "%1 (the device server set %2 instead of %3)";
inline constexpr const char* kServerRefused = "%1 (the device server refused %2)";
inline constexpr const char* kServerSetsNoLine = "%1 (the device server does not set its line)";
inline constexpr const char* kServerNoAnswer =
    "the device server has not answered the offer to set its line, so the line keeps the "
    "server's own settings";
inline constexpr const char* kServerUnconfirmed =
    "the device server has not confirmed %1, so its line may run with other settings";

// Why a device server could not be reached (after "HOST:PORT: "), or why its connection ended.
inline constexpr const char* kNetRefused = "connection refused";
inline constexpr const char* kNetNoAnswer = "no answer within %1 s";
inline constexpr const char* kNetHostNotFound = "host not found";
inline constexpr const char* kNetInUse = "in use by another client";
inline constexpr const char* kNetClosed = "the device server closed the connection";
inline constexpr const char* kNetClosedSaying = "the device server closed the connection (\"%1\")";

}  // namespace vqx::caption
