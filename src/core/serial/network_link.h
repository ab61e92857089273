// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "serial/network_address.h"
#include "serial/open_failure.h"
#include "serial/rfc2217.h"
#include "serial/settings_text.h"

namespace vqx {

// How long reaching a device server may take, the host name's lookup included.
inline constexpr std::chrono::seconds kConnectWait{5};
// A raw TCP connection counts as open once it has stood this long: time enough for a server that
// takes the connection but cannot serve it to say so and close (ser2net writes "Port already in
// use" as it accepts).
inline constexpr std::chrono::milliseconds kSettleTime{300};
// How long the server's replies to the line settings are awaited before the port goes on with a
// warning.
inline constexpr std::chrono::seconds kReplyWait{2};
// A server that has just let a connection go may hold its line a moment longer (ser2net frees it
// some 20 ms after the connection has closed, and turns another accepter of the same line away
// meanwhile): "in use" is asked again this many times, this far apart, before it is reported.
inline constexpr int kInUseRetries = 4;
inline constexpr std::chrono::milliseconds kInUsePause{250};

// The wait before the next attempt to reach a device server whose connection was lost, after
// `failedTries` attempts in a row have failed: 1, 2, 4, 8 and 16 s, then 30 s.
std::chrono::seconds reconnectDelay(int failedTries);

// One connection to a device server, as the serial control keeps it, without the socket or a
// clock: when the port counts as open, what the device sent, what goes to the server, and how
// each way it fails or ends is worded. The adapter makes the connection, runs one timer as each
// step says, and hands over what happens.
//
// Connecting: the host is looked up and the connection made, within kConnectWait. Settling: the
// connection stands, but a server may still turn it away (ser2net: "Port already in use",
// "Device open failure: ...") and close; its words say why the opening failed ("in use" only
// after kInUseRetries more tries, kInUsePause apart). With RFC 2217
// the port is open once the server has confirmed the line settings; a setting it refuses fails
// the opening as a line that does not take its settings does, and replies still missing after
// kReplyWait give a warning and the port opens. Raw TCP has no conversation: the port is open
// after kSettleTime. What the device sends while the port settles is handed on as it opens.
// Once open, RFC 2217 refusals and missing replies of new settings are warnings, and the end of
// the connection is a lost device.
class NetworkLink {
 public:
  NetworkLink(const NetworkAddress& address, const LineSettings& line, int handshaking);

  enum class Stage { Connecting, Settling, Pausing, Open, Ended };
  // How the connection or the attempt ended, as the socket tells it.
  enum class SocketEnd { Refused, HostNotFound, ClosedByServer, Other };

  // What the adapter does after each call, in this order.
  struct Step {
    bool disconnect = false;                         // drop the connection
    bool connect = false;                            // make a new one, to address()
    std::string send;                                // to the server
    std::optional<std::chrono::milliseconds> timer;  // the one timer started anew: timeUp()
    // The opening failed, with the detail of openFailureText(), or the open connection ended,
    // with the description of a lost device: close, and tell it.
    OpenFailure failure = OpenFailure::None;
    std::string detail;
    std::string lost;
    bool opened = false;                // the port is open now: tell it, before the data
    std::vector<std::string> refusals;  // settings the server refused, worded as for Refused
    std::string warning;                // replies still missing
    std::string data;                   // the device's bytes
  };

  Stage stage() const { return stage_; }
  const NetworkAddress& address() const { return address_; }
  Step start();
  Step connected();
  Step received(std::string_view bytes);
  // `systemText`: the system's description, for an end of another kind.
  Step ended(SocketEnd end, const std::string& systemText);
  Step timeUp();
  // New line settings: sent at once over RFC 2217 when the server takes them, nothing for raw.
  Step setLine(const LineSettings& line, int handshaking);
  // The device's bytes as they travel: unchanged raw, every 0xFF doubled over RFC 2217.
  std::string encode(std::string_view data) const;

 private:
  Step fail(OpenFailure failure, const std::string& detail);
  void open(Step& step);
  std::string closedWords() const;

  NetworkAddress address_;
  LineSettings line_;
  int handshaking_;
  std::optional<TelnetComPort> telnet_;  // RFC 2217, for the connection that stands
  Stage stage_ = Stage::Connecting;
  std::string held_;  // what the device sent while the port settled
  int retriesLeft_ = kInUseRetries;
};

}  // namespace vqx
