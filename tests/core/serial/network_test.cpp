// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// A port behind a device server: its address, and the Telnet COM-PORT-OPTION conversation.
#include <gtest/gtest.h>

#include <sstream>

#include "common/text.h"
#include "serial/network_address.h"
#include "serial/network_link.h"
#include "serial/rfc2217.h"
#include "traffic/traffic.h"

namespace vqx {
namespace {

std::string bytes(const std::string& hex) {
  std::istringstream in(hex);
  std::string out;
  for (unsigned byte = 0; in >> std::hex >> byte;) out += static_cast<char>(byte);
  return out;
}

const LineSettings k9600{};  // 9600,n,8,1

TEST(NetworkAddress, ReadsSchemeHostAndPortAndRefusesWhatItCannotReach) {
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {  // the text; as shown, or why refused
      {"/dev/ttyUSB0", "a device"}, {"tcp://1.0.0.255:7001", "tcp://1.0.0.255:7001 1.0.0.255:7001"},
      {"RFC2217://Box-1.example:07002", "rfc2217://Box-1.example:7002 Box-1.example:7002"},
      {"rfc2217://[::1]:65535", "rfc2217://[::1]:65535 [::1]:65535"},
      {"tcp://[fe80::aB]:1", "tcp://[fe80::aB]:1 [fe80::aB]:1"},
      {"tcp://[::ffff:10.0.0.1]:1", "tcp://[::ffff:10.0.0.1]:1 [::ffff:10.0.0.1]:1"},
      {"udp://box:7001", "write tcp://HOST:PORT"}, {"tcp://box:0", "1 to 65535"},
      {"tcp://box:65536", "1 to 65535"}, {"tcp://box", "1 to 65535"}, {"tcp://[::1]", "1 to 65535"},
      {"tcp://box :7001", "cannot hold a space"}, {"tcp://box:70\n01", "cannot hold a space"},
      {"tcp://::1:7001", "IPv6 address in brackets"}, {"tcp://256.0.0.1:7001", "IPv6 address in"},
      {"tcp://1.2.3:7001", "IPv6 address in"}, {"tcp://user@box:7001", "without a user name"},
      {"tcp://box:7001/", "path or query"}, {"tcp://box.:7001", "IPv6 address in"}};
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

// Each row: settings text and handshaking, set before the server takes COM-PORT-OPTION; the values
// of SET-BAUDRATE ... SET-CONTROL then sent, each within FF FA 2C ... FF F0.
TEST(TelnetComPort, SendsTheLineSettingsOnceTheServerTakesTheOptionWith0xFFDoubled) {
  const std::tuple<const char*, int, std::vector<const char*>> cases[] = {
      {"115200,e,7,1.5", 3, {"01 00 01 C2 00", "02 07", "03 03", "04 03", "05 03"}},
      {"65535,o,5,2", 1, {"01 00 00 FF FF FF FF", "02 05", "03 02", "04 02", "05 02"}},
      {"16777215,m,6,1", 2, {"01 00 FF FF FF FF FF FF", "02 06", "03 04", "04 01", "05 03"}},
      {"300,s,4,1", 0, {"01 00 00 01 2C", "02 04", "03 05", "04 01", "05 01"}}};
  for (const auto& [settings, handshaking, values] : cases) {
    TelnetComPort port(k9600, 0);
    (void)port.connect();
    EXPECT_EQ(port.setLine(parseLineSettings(settings).settings, handshaking), "");
    std::string expected;
    for (const char* value : values) expected += "FF FA 2C " + std::string(value) + " FF F0 ";
    EXPECT_EQ(port.receive(bytes("FF FD 2C")).reply, bytes(expected)) << settings;
  }
}

// What ser2net 4.3 sent before a pseudo-terminal (its offers; after the client's, a modem-state
// notice, SGA asked again, the replies to 9600 8N1, a frame), read whole, cut in two at every
// byte, and byte by byte: the client answers DONT ECHO and its settings, nothing more.
TEST(TelnetComPort, SettlesWithSer2netInOneAnswerWhereverTheReadsSplit) {
  const std::string conversation = bytes(
      "FF FB 03 FF FD 03 FF FB 01 FF FE 01 FF FD 00 FF FB 00 FF FD 2C FF FA 2C 6B 00 FF F0 "
      "FF FD 03 FF FA 2C 65 00 00 25 80 FF F0 FF FA 2C 66 08 FF F0 FF FA 2C 67 01 FF F0 "
      "FF FA 2C 68 01 FF F0 FF FA 2C 69 01 FF F0 FF FF 77 7B 37");
  std::vector<std::vector<std::string>> readings(1);
  for (const char c : conversation) readings.front().emplace_back(1, c);
  for (std::size_t cut = 0; cut <= conversation.size(); ++cut)
    readings.push_back({conversation.substr(0, cut), conversation.substr(cut)});
  for (const std::vector<std::string>& pieces : readings) {
    SCOPED_TRACE(std::to_string(pieces.size()) + " pieces, " + std::to_string(pieces[0].size()));
    TelnetComPort port(k9600, 0);
    EXPECT_EQ(port.connect(), bytes("FF FB 2C FF FB 00 FF FD 00 FF FB 03 FF FD 03"));
    std::string data;
    std::string reply;
    for (const std::string& piece : pieces) {
      const TelnetComPort::Received received = port.receive(piece);
      data += received.data;
      reply += received.reply;
      EXPECT_EQ(received.refusals.size(), 0u);
    }
    EXPECT_EQ(reply,
              bytes("FF FE 01 FF FA 2C 01 00 00 25 80 FF F0 FF FA 2C 02 08 FF F0 FF FA 2C 03 01 "
                    "FF F0 FF FA 2C 04 01 FF F0 FF FA 2C 05 01 FF F0"));
    EXPECT_EQ(data, bytes("FF 77 7B 37"));
    EXPECT_EQ(TelnetComPort::escape(data), bytes("FF FF 77 7B 37"));  // as it would be sent
    EXPECT_FALSE(port.awaitingReplies());
  }
}

// Each row: what the server sends after the client's offers (9600,n,8,1 with RTS/CTS asked);
// the refusals reported, and the warning due if nothing more comes. Line-state, modem-state and
// other notices, and a reply cut short by another command, say nothing.
TEST(TelnetComPort, ReportsEachSettingTheServerRefusedAndEachReplyStillMissing) {
  // clang-format off
  const std::string agreed = "FF FD 2C ";
  const std::string notices = "FF FA 2C 6A 60 FF F0 FF FA 2C 6B 30 FF F0 FF FA 2C 6E 02 FF F0 "
                              "FF FA 05 FF F0 FF FA 2C 67 FF FF FF F1 FF F0 ";
  const std::string confirmed = "FF FA 2C 66 08 FF F0 FF FA 2C 67 01 FF F0 FF FA 2C 68 01 FF F0 ";
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {agreed + notices + confirmed + "FF FA 2C 65 00 00 FF FF FF FF FF F0 FF FA 2C 69 01 FF F0",
       "9600,n,8,1 (the device server set 65535 baud instead of 9600 baud)|9600,n,8,1 (the device "
       "server set no flow control instead of hardware flow control)", ""},
      {agreed + "FF FA 2C 65 00 FF F0 FF FA 2C 67 04 FF F0 FF FA 2C 68 07 FF F0",
       "9600,n,8,1 (the device server refused 9600 baud)|9600,n,8,1 (the device server set mark "
       "parity instead of no parity)|9600,n,8,1 (the device server set value 7 for the stop bits "
       "instead of 1 stop bit)", "the device server has not confirmed the data bits and the flow "
       "control, so its line may run with other settings"},
      {agreed, "", "the device server has not confirmed the speed, the data bits, the parity, "
                   "the stop bits and the flow control, so its line may run with other settings"},
      {"FF FE 2C", "9600,n,8,1 (the device server does not set its line)", ""},
      {"FF FD 2C FF FE 2C", "9600,n,8,1 (the device server does not set its line)", ""},
      {"FF FC 2C FF FB 05", "", "the device server has not answered the offer to set its line, so "
                                "the line keeps the server's own settings"}};
  // clang-format on
  for (const auto& [server, refusals, warning] : cases) {
    TelnetComPort port(k9600, 2);
    (void)port.connect();
    std::string reported;
    for (const std::string& refusal : port.receive(bytes(server)).refusals)
      reported += (reported.empty() ? "" : "|") + refusal;
    EXPECT_EQ(reported, refusals) << server;
    EXPECT_EQ(port.missingRepliesWarning(), warning) << server;
    EXPECT_EQ(port.awaitingReplies(), !warning.empty()) << server;
  }
}

// A connection to a device server, event by event: "connected", the timer's "time", the end of
// the socket ("refused", "closed" by the server), what the server sends ("server HEX"), new line
// settings ("line TEXT"); and what the steps tell, each step's news after a "|". A server whose
// line is in use is left, to be tried again; raw TCP opens once the connection has settled.
TEST(NetworkLink, OpensOrFailsAsTheServerAnswersAndWarnsOfSettingsNotConfirmed) {
  // The server's replies to 9600 8N1 without flow control, with the speed `baud` (hex).
  const auto replies = [](const std::string& baud) {
    return "server FF FA 2C 65 " + baud + " FF F0 FF FA 2C 66 08 FF F0 FF FA 2C 67 01 FF F0 " +
           "FF FA 2C 68 01 FF F0 FF FA 2C 69 01 FF F0";
  };
  const std::string confirmed = "server FF FD 2C; " + replies("00 00 25 80");
  // clang-format off
  const std::tuple<const char*, std::string, std::string> cases[] = {
      {"tcp://box:7001", "refused", "failed box:7001: connection refused"},
      {"tcp://box:7001", "time", "failed box:7001: no answer within 5 s"},
      {"tcp://box:7001", "connected; server 69 6E 20 75 73 65; closed; time; connected; closed",
       "disconnect| failed box:7001: the device server closed the connection"},
      {"tcp://box:7001", "connected; server 0D 0A 44 65 76 7F 0D 0A 69 6E; closed",
       "failed box:7001: the device server closed the connection (\"Dev\")"},
      {"tcp://box:7001", "connected; server FF 77; time; server FF; closed; closed",
       "opened data FF 77| data FF| lost tcp://box:7001: the device server closed the connection"},
      {"rfc2217://box:7002", "connected; server FF FD 2C FF FA 2C 65 00 00 12 C0 FF F0",
       "failed 9600,n,8,1 (the device server set 4800 baud instead of 9600 baud)"},
      {"rfc2217://box:7002", "connected; server FF FF 77; time",
       "opened warning the device server has not answered the offer to set its line, so the line "
       "keeps the server's own settings data FF 77"},
      {"rfc2217://box:7002",
       "connected; " + confirmed + "; line 19200,n,8,1.5; server FF FA 2C 65 00 00 25 80 FF F0; "
       "time", "opened| refused 19200,n,8,1.5 (the device server set 9600 baud instead of 19200 "
       "baud)| warning the device server has not confirmed the data bits, the parity, the stop "
       "bits and the flow control, so its line may run with other settings"},
      // New settings while the replies to the last are due: each reply is the earlier request's.
      {"rfc2217://box:7002", "connected; server FF FD 2C; line 19200,n,8,1; " +
       replies("00 00 25 80") + "; " + replies("00 00 4B 00"), "opened"}};
  // clang-format on
  for (const auto& [address, events, outcome] : cases) {
    NetworkLink link(parseNetworkAddress(address).address, k9600, 0);
    std::string told;
    const auto tell = [&](const NetworkLink::Step& step) {
      std::string news = step.opened ? " opened" : "";
      if (step.disconnect) news += " disconnect";
      if (!step.detail.empty()) news += " failed " + step.detail;
      if (!step.lost.empty()) news += " lost " + step.lost;
      for (const std::string& refusal : step.refusals) news += " refused " + refusal;
      if (!step.warning.empty()) news += " warning " + step.warning;
      if (!step.data.empty()) news += " data " + hexText(step.data);
      if (!news.empty()) told += (told.empty() ? "" : "|") + news;
    };
    tell(link.start());
    std::istringstream in(events);
    for (std::string event; std::getline(in, event, ';');) {
      event = trimmed(event);
      const std::string what = event.substr(0, event.find(' '));
      const std::string rest = event.substr(std::min(event.size(), what.size() + 1));
      if (what == "connected") tell(link.connected());
      if (what == "time") tell(link.timeUp());
      if (what == "refused") tell(link.ended(NetworkLink::SocketEnd::Refused, {}));
      if (what == "closed") tell(link.ended(NetworkLink::SocketEnd::ClosedByServer, {}));
      if (what == "server") tell(link.received(bytes(rest)));
      if (what == "line") tell(link.setLine(parseLineSettings(rest).settings, 0));
    }
    EXPECT_EQ(trimmed(told), outcome) << address << ": " << events;
  }
  NetworkLink raw(parseNetworkAddress("tcp://box:7001").address, k9600, 0);
  (void)raw.start();
  EXPECT_EQ(raw.connected().timer, std::chrono::milliseconds(300)) << "raw TCP settles, then opens";
}

}  // namespace
}  // namespace vqx
