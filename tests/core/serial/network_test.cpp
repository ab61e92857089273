// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// A port behind a device server: its address, and the Telnet COM-PORT-OPTION conversation.
#include <gtest/gtest.h>

#include "serial/network_address.h"

namespace vqx {
namespace {

TEST(NetworkAddress, ReadsSchemeHostAndPortAndRefusesWhatItCannotReach) {
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {  // the text; as shown, or why refused
      {"/dev/ttyUSB0", "a device"}, {"tcp://127.0.0.1:7001", "tcp://127.0.0.1:7001 127.0.0.1:7001"},
      {"RFC2217://Box-1.example:07002", "rfc2217://Box-1.example:7002 Box-1.example:7002"},
      {"rfc2217://[::1]:65535", "rfc2217://[::1]:65535 [::1]:65535"},
      {"udp://box:7001", "write tcp://HOST:PORT"}, {"tcp://box:0", "1 to 65535"},
      {"tcp://box:65536", "1 to 65535"}, {"tcp://box", "1 to 65535"}, {"tcp://[::1]", "1 to 65535"},
      {"tcp://box :7001", "cannot hold a space"}, {"tcp://box:70\n01", "cannot hold a space"},
      {"tcp://::1:7001", "IPv6 address in brackets"}, {"tcp://256.0.0.1:7001", "IPv6 address in"},
      {"tcp://1.2.3:7001", "IPv6 address in"}, {"tcp://user@box:7001", "without a user name"},
      {"tcp://box:7001/", "path or query"}};
  // clang-format on
  for (const auto& [text, expected] : cases) {
    const ParsedNetworkAddress parsed = parseNetworkAddress(text);
    if (!isNetworkAddress(text)) {
      EXPECT_EQ("a device", std::string(expected)) << text;
    } else if (parsed.result) {
      EXPECT_EQ(networkAddressText(parsed.address) + " " + hostAndPort(parsed.address), expected);
    } else {
      EXPECT_NE(parsed.result.error().find(expected), std::string::npos) << parsed.result.error();
    }
  }
}

}  // namespace
}  // namespace vqx
