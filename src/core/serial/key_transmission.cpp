// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/key_transmission.h"

#include <algorithm>
#include <string>

namespace vqx {

void transmitCharacter(SerialControl& serial, bool echo, const std::function<void()>& caretToEnd,
                       std::int16_t& code, const std::function<void(char)>& sent) {
  if (!serial.portOpen()) return;
  if (code >= 0 && code <= 255) {
    const char byte = static_cast<char>(static_cast<unsigned char>(code));
    // A failed write is not reported.
    if (serial.output(std::string_view(&byte, 1)) && sent) sent(byte);
  }
  if (!echo) {
    if (caretToEnd) caretToEnd();
    code = 0;
  }
}

bool sendQueueTakes(const SerialControl& serial, std::size_t count) {
  return !serial.portOpen() ||
         count <= static_cast<std::size_t>(std::max(serial.sendQueueRoom(), 0));
}

bool togglePort(SerialControl& serial, Prompts& prompts,
                const std::function<void(bool)>& setCheck) {
  if (const Result r = serial.setPortOpen(!serial.portOpen()); !r) prompts.error(r.error());
  const bool open = serial.portOpen();
  if (setCheck) setCheck(open);
  return open;
}

}  // namespace vqx
