// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vqx {

// The commands a multiplexer understands from its serial line.
enum class CommandKind {
  Camera,          // "/01" .. "/16": a camera on the main monitor
  FunctionCamera,  // "/S" c
  AssignCamera,    // "/X" c
  Pip,             // "/PP"
  Quad,            // "/22"
  Nine,            // "/33"
  Sixteen,         // "/44"
  FunctionUp,      // "/", 0, 1, "/AU"
  FunctionDown,    // "/", 0, 1, "/AD"
  FunctionLeft,    // "/", 0, 1, "/AL"
  FunctionRight,   // "/", 0, 1, "/AR"
  FunctionZoom,    // "/", 0, 1, "/AF"
  Zoom,            // "/FZ"
  FunctionKey,     // "/AT"
  Live,            // "/LV"
  FunctionLive,    // "/AV"
  Tape,            // "/TP"
  Sequence,        // "/SQ"
  Call,            // "/SL"
};

struct Command {
  CommandKind kind;
  int camera = 0;  // 1 to 16 for Camera, FunctionCamera and AssignCamera; 0 otherwise

  bool operator==(const Command&) const = default;
};

// The bytes that carry a command on the line; the bytes 0 and 1 of the function variants are
// real bytes, not digits.
std::string commandBytes(const Command& command);
// The same, readable: the bytes 0 and 1 shown as <00><01>.
std::string commandText(const Command& command);

// What a command asks of the device, in words: "camera 5", "assign camera 5 to the next window",
// "9 pictures / left", "function zoom", ...
std::string describeCommand(const Command& command);
// The commands in these bytes, in words, joined by "; "; bytes that are no command (typed into
// the terminal box, say) add "no command".
std::string describeCommands(std::string_view bytes);

// Reads commands from a byte stream fed in pieces of any size. A command starts at "/";
// bytes that do not complete a known command are ignored, and a "/" always starts a new
// command, so the parser is back in step at the next "/". Holds at most a few bytes.
class CommandParser {
 public:
  std::vector<Command> feed(std::string_view bytes);
  // Bytes dropped so far because they belonged to no known command.
  std::size_t ignoredBytes() const { return ignored_; }
  // Whether bytes of a command not yet complete are waiting.
  bool pending() const { return inCommand_; }

 private:
  void push(char byte, std::vector<Command>& out);
  void drop();
  // Counts the bytes of a function prefix that led to no function command as ignored.
  void dropFunctionPrefix();

  bool inCommand_ = false;
  bool functionPrefix_ = false;  // "/", 0, 1 seen; the next "/" carries the function variant
  std::string pending_;          // characters after the last "/", at most two
  std::size_t ignored_ = 0;
};

}  // namespace vqx
