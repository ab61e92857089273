// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "common/result.h"

namespace vqx {

// A port may stand for a serial line behind a device server on the network instead of a device
// node: "tcp://HOST:PORT" passes bytes unchanged, "rfc2217://HOST:PORT" also sets the remote
// line (the Telnet COM-PORT-OPTION, see TelnetComPort).
enum class NetworkMode { RawTcp, Rfc2217 };

struct NetworkAddress {
  NetworkMode mode = NetworkMode::RawTcp;
  std::string host;  // a name, an IPv4 address, or an IPv6 address without its brackets
  int port = 0;      // 1 to 65535
  bool operator==(const NetworkAddress&) const = default;
};

// Whether a port's device text is meant as a network address: it starts with a scheme and
// "://" (device paths never do). Such a text is read with parseNetworkAddress(), which refuses
// what it cannot use.
bool isNetworkAddress(std::string_view device);

// Reads "tcp://HOST:PORT" or "rfc2217://HOST:PORT" (the scheme in any case). HOST is a name, an
// IPv4 address or a bracketed IPv6 address ("[::1]"); PORT is 1 to 65535 in decimal digits.
// Refused, with the reason the operator is shown: another scheme, spaces or control characters,
// a user, path or query part, a bad host, a missing or bad port number.
struct ParsedNetworkAddress {
  NetworkAddress address;
  Result result = Result::ok();
};
ParsedNetworkAddress parseNetworkAddress(std::string_view text);

// "HOST:PORT" ("[::1]:7002" for IPv6), as messages about reaching the server name it.
std::string hostAndPort(const NetworkAddress& address);
// The whole address with its scheme in lower case, as it is stored and shown as a port's device.
std::string networkAddressText(const NetworkAddress& address);

}  // namespace vqx
