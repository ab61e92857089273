// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "serial/settings_text.h"

namespace vqx {

// The Telnet conversation with a device server that sets its serial line for us (RFC 2217,
// COM-PORT-OPTION), without the connection or a clock: the bytes received go in, and the
// device's data and the bytes to send back come out; the device's data to send goes through
// escape(). Every byte 0xFF of the device's data travels doubled, and so does one inside a
// setting's value.
//
// The program is the client. It offers COM-PORT-OPTION, and BINARY and SUPPRESS-GO-AHEAD both
// ways, and refuses every other option (a server's echo would hand our commands back as the
// device's data). It answers only a request that would change an option's state, and never
// one it made itself (RFC 1143), so two parties cannot loop. Once the server takes
// COM-PORT-OPTION, the line settings go out, and each should come back in the server's reply
// with the value it applied.
//
// Bytes may arrive split anywhere, a command or a setting's reply across reads: receive() goes
// on where the last call stopped. The server's line-state and modem-state notices, and whatever
// else it sends that the program does not know, are passed over.
class TelnetComPort {
 public:
  // `handshaking` as the serial control has it: 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 XON/XOFF and
  // RTS/CTS. RFC 2217 names one flow control at a time; 3 asks for hardware flow control, the
  // one that keeps the line's bytes as they are (XON/XOFF takes two byte values out of them).
  TelnetComPort(const LineSettings& line, int handshaking);

  // What to send as the connection opens: the client's offers. One object serves one
  // connection; a new connection starts with a new one.
  std::string connect();
  // New line settings for the open connection; what to send now. Nothing goes out before the
  // server has taken COM-PORT-OPTION: the newest settings go out then.
  std::string setLine(const LineSettings& line, int handshaking);

  struct Received {
    std::string data;   // the device's bytes
    std::string reply;  // to send to the server now
    // Each setting the server did not apply as asked, or all of them when it refused to set its
    // line: the detail of openFailureText(OpenFailure::Refused, label, detail), such as
    // "9600,n,8,1 (the device server set 4800 baud instead of 9600 baud)".
    std::vector<std::string> refusals;
  };
  Received receive(std::string_view bytes);

  // The device's data as it is sent: every 0xFF doubled.
  static std::string escape(std::string_view data);

  // Whether the server's answer to the offer, or a reply to a setting, is still awaited. The
  // caller waits a bounded time for it, then shows missingRepliesWarning() and carries on.
  bool awaitingReplies() const;
  // "the device server has not confirmed the data bits and the stop bits, so its line may run
  // with other settings"; empty when nothing is awaited.
  std::string missingRepliesWarning() const;

 private:
  // One side of an option: what we do (WILL) or what the server does (DO).
  enum class Side : std::uint8_t { No, Yes, AskedForYes };
  struct Option {
    Side ours = Side::No;
    Side theirs = Side::No;
  };
  static constexpr int kSettingCount = 5;  // SET-BAUDRATE ... SET-CONTROL, codes 1 to 5

  void take(std::uint8_t byte, Received& out);
  void command(std::uint8_t verb, std::uint8_t option, Received& out);
  void subnegotiation(Received& out);
  std::string settingBytes();

  enum class Reading : std::uint8_t { Data, Command, Option, Sub, SubCommand };
  Reading reading_ = Reading::Data;
  std::uint8_t verb_ = 0;  // WILL, WONT, DO or DONT, before its option byte
  std::string sub_;        // the subnegotiation so far, without IAC SB
  std::array<Option, 256> options_{};

  std::string line_;                                      // the settings text, for the refusals
  std::array<std::uint32_t, kSettingCount + 1> asked_{};  // by code; [0] unused
  // Replies still due by code: new settings may go out before the replies to the last came.
  std::array<int, kSettingCount + 1> awaited_{};
};

}  // namespace vqx
