// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "common/prompts.h"
#include "serial/serial_control.h"

namespace vqx {

// The one path by which every command character reaches the device: the terminal box's key
// handling. Panel keys call it once per character of their command; the terminal box calls
// it for every character typed into it, before inserting the character.
//
// With the port closed nothing happens and `code` is left as it is. With the port open the
// byte is queued; then, without local echo, the caret moves to the end of the terminal box and
// `code` becomes 0 so the box inserts nothing. Codes outside 0..255 are no byte of the line
// and are not sent.
// `sent`, when given, hears every byte the port took.
void transmitCharacter(SerialControl& serial, bool echo, const std::function<void()>& caretToEnd,
                       std::int16_t& code, const std::function<void(char)>& sent = {});

// Whether `count` characters handed to transmitCharacter one after another now would all be
// queued, or all dropped alike with the port closed. A panel key asks before the first
// character of its command, so the device never gets half a command from a full send queue.
bool sendQueueTakes(const SerialControl& serial, std::size_t count);

// Opens the port when it is closed and closes it when it is open. A failure is shown
// (exclamation icon, OK). The check mark of the port menu entry is then set to the state the
// port is in, whatever happened. Returns that state.
bool togglePort(SerialControl& serial, Prompts& prompts, const std::function<void(bool)>& setCheck);

}  // namespace vqx
