// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Received bytes, in blocks of any size, through the receive display and the status decoding,
// as the main window's communication handler runs them. The first input byte chooses where the
// stream is cut into blocks and which events are not data events; the rest is the stream.
#include <cstdint>
#include <cstdlib>

#include "status/receive_display.h"
#include "status/status_handler.h"
#include "support/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned seed = data[0];
  const std::string stream(reinterpret_cast<const char*>(data + 1), size - 1);

  vqx::testing::FakeSerialControl comm;
  vqx::TerminalBox txtTerm;
  // Sometimes start from a box the user filled, near the size limit.
  if (seed & 0x80) txtTerm.setText(std::string(16001 + (seed & 3), 'x'));

  for (std::size_t pos = 0, step = 0; pos < stream.size(); ++step) {
    const std::size_t len = 1 + (seed + step * 7) % 13;
    comm.received = stream.substr(pos, len);
    comm.event = ((seed >> 4) & 1) && step % 5 == 4 ? vqx::kCommErrorFrame : vqx::kCommEventReceive;
    const std::size_t before = txtTerm.size();
    vqx::ReceivedTrace trace;
    const auto ind = vqx::receiveStatus(comm, txtTerm, &trace);
    for (const vqx::ReceivedPart& part : trace.parts)  // every frame traced whole and aligned
      if (part.frame && (part.bytes.size() != 4 || static_cast<unsigned char>(part.bytes[0]) < 128))
        std::abort();
    if (comm.event == vqx::kCommEventReceive) pos += len;
    // After a data event the box holds at most three characters, or is untouched on others.
    if (comm.event == vqx::kCommEventReceive ? txtTerm.size() > 3 : txtTerm.size() != before)
      std::abort();
    if (ind && ind->cameraLampLeft && vqx::cameraAtLampLeft(*ind->cameraLampLeft) == 0)
      std::abort();
  }

  // The receive display alone on the whole stream, and the decoder on every window of four.
  vqx::TerminalBox box;
  std::string text = stream;
  vqx::displayReceived(box, text);
  if (box.selStart() != box.size() || box.size() > stream.size() * 2) std::abort();
  for (std::size_t i = 0; i + 4 <= stream.size(); i += 4)
    if (const auto frame = vqx::alignStatusFrame(std::string_view(stream).substr(i, 4)))
      if ((*frame)[0] < 128) std::abort();
  return 0;
}
