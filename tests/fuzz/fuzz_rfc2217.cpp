// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// What a device server sends, through the Telnet COM-PORT-OPTION conversation, read whole and in
// pieces of many sizes, and as the last words of a server that turns the connection away. The first
// input byte chooses the line settings, whether the client made its offers, and where the stream is
// cut; the rest is the stream.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "serial/network_link.h"
#include "serial/rfc2217.h"

using vqx::TelnetComPort;

namespace {

// All that one conversation gave: the data, then the answers, refusals and warning.
std::pair<std::string, std::string> converse(const std::string& stream, unsigned seed, bool whole) {
  vqx::LineSettings line;
  line.speed = 0xFF00 | seed;  // a speed with a byte 0xFF, doubled in SET-BAUDRATE
  line.parity = "noems"[seed % 5];
  TelnetComPort port(line, static_cast<int>(seed & 3));
  std::string data;
  std::string replies = seed & 0x10 ? port.connect() : "";
  std::string refusals;
  for (std::size_t at = 0, step = 0; at < stream.size(); ++step) {
    const std::size_t size = whole ? stream.size() : 1 + (seed + step * 7) % 13;
    const TelnetComPort::Received received = port.receive(stream.substr(at, size));
    data += received.data;
    replies += received.reply;
    for (const std::string& refusal : received.refusals) refusals += refusal + "\n";
    at += size;
  }
  const std::string warning = port.missingRepliesWarning();
  if (port.awaitingReplies() == warning.empty()) std::abort();
  return {data, replies + "\n" + refusals + "\n" + warning};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned seed = data[0];
  const std::string stream(reinterpret_cast<const char*>(data + 1), size - 1);

  // However the reads split the stream: the same data, answers, refusals and warning.
  const auto whole = converse(stream, seed, true);
  if (converse(stream, seed, false) != whole) std::abort();
  // The device's data, sent back as it travels, reads as the same data and asks nothing.
  TelnetComPort peer(vqx::LineSettings{}, 0);
  const TelnetComPort::Received echoed = peer.receive(TelnetComPort::escape(whole.first));
  if (echoed.data != whole.first || !echoed.reply.empty()) std::abort();
  // The same stream from a device server that then closes as the port opens: whatever it said,
  // the failure is worded in one line of printable text.
  vqx::NetworkLink link(
      vqx::parseNetworkAddress(seed & 0x20 ? "tcp://box:1" : "rfc2217://box:1").address, {}, 0);
  (void)link.connected();
  (void)link.received(stream);
  const auto end = link.ended(vqx::NetworkLink::SocketEnd::ClosedByServer, {});
  for (const char c : end.detail) {
    if (c < 32 || c > 126) std::abort();
  }
  return 0;
}
