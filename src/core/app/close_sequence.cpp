// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/close_sequence.h"

namespace vqx {

bool runCloseSequence(SerialControl& serial, Prompts& prompts, EventPump& pump) {
  if (!serial.portOpen()) return true;
  auto deadline = pump.now() + kDrainDeadline;
  while (closeSequenceWaits(serial)) {
    pump.pumpBriefly();
    if (pump.now() < deadline) continue;
    const PromptAnswer answer = prompts.show(kDataCannotBeSent, kAppTitle, PromptIcon::Question,
                                             PromptButtons::AbortRetryIgnore);
    if (answer == PromptAnswer::Abort) return false;
    if (answer == PromptAnswer::Ignore) break;
    deadline = pump.now() + kDrainDeadline;
  }
  // Drained, nothing is left to drop; after Ignore what still waits is dropped.
  (void)serial.setPortOpen(false);
  return true;
}

bool closeSequenceWaits(const SerialControl& serial) {
  return serial.portOpen() && serial.outBufferCount() != 0;
}

}  // namespace vqx
