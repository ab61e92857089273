// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "status/status_handler.h"

#include <string>
#include <string_view>

#include "status/receive_display.h"

namespace vqx {

namespace {

// Characters that formed no frame join those just before them that formed none.
void addPart(ReceivedTrace& trace, std::string_view bytes, bool frame, bool onPanel) {
  std::vector<ReceivedPart>& parts = trace.parts;
  if (!frame && !parts.empty() && !parts.back().frame) {
    parts.back().bytes += bytes;
  } else {
    parts.push_back({std::string(bytes), frame, onPanel});
  }
}

}  // namespace

std::optional<StatusFrame> takeStatusFrame(TerminalBox& txtTerm, ReceivedTrace* trace) {
  if (txtTerm.size() < 4) return std::nullopt;  // waits for the rest of the frame
  const std::string_view taken = txtTerm.text();
  const auto frame = alignStatusFrame(taken.substr(0, 4));
  if (trace) {
    const std::string aligned = frame ? std::string(frame->begin(), frame->end()) : "";
    addPart(*trace, frame ? aligned : taken.substr(0, 4), bool(frame), bool(frame));
    for (std::string_view rest = taken.substr(4); !rest.empty();) {
      const bool whole = rest.size() >= 4 && static_cast<unsigned char>(rest[0]) > 127;
      const std::size_t length = whole ? 4 : 1;
      addPart(*trace, rest.substr(0, length), whole, false);
      rest.remove_prefix(length);
    }
  }
  txtTerm.setText({});
  return frame;
}

std::optional<Indicators> MSComm1_OnComm(SerialControl& MSComm1, TerminalBox& txtTerm,
                                         ReceivedTrace* trace) {
  if (MSComm1.commEvent() != kCommEventReceive) return std::nullopt;
  std::string received = MSComm1.input();
  DisplayReceived(txtTerm, received);
  const auto frame = takeStatusFrame(txtTerm, trace);
  if (!frame) return std::nullopt;
  return decodeStatusFrame(*frame);
}

}  // namespace vqx
