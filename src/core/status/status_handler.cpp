// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "status/status_handler.h"

#include <string>
#include <string_view>

#include "status/receive_display.h"

namespace vqx {

std::optional<StatusFrame> takeStatusFrame(TerminalBox& txtTerm, std::string* unframed) {
  if (txtTerm.size() < 4) return std::nullopt;  // waits for the rest of the frame
  const auto frame = alignStatusFrame(std::string_view(txtTerm.text()).substr(0, 4));
  if (unframed) unframed->append(txtTerm.text(), frame ? 4 : 0);
  txtTerm.setText({});
  return frame;
}

std::optional<Indicators> MSComm1_OnComm(SerialControl& MSComm1, TerminalBox& txtTerm,
                                         ReceivedTrace* trace) {
  if (MSComm1.commEvent() != kCommEventReceive) return std::nullopt;
  std::string received = MSComm1.input();
  DisplayReceived(txtTerm, received);
  const auto frame = takeStatusFrame(txtTerm, trace ? &trace->unframed : nullptr);
  if (trace) trace->frame = frame;
  if (!frame) return std::nullopt;
  return decodeStatusFrame(*frame);
}

}  // namespace vqx
