// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/command_parser.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

namespace vqx {

namespace {

constexpr std::string_view kFunctionPrefix("\0\1", 2);

// Each command's characters after "/", and what it asks of the device, in the words of the
// panel's keys.
struct Plain {
  std::string_view chars;
  CommandKind kind;
  std::string_view meaning;
};
constexpr std::array kPlain{
    Plain{"PP", CommandKind::Pip, "picture in picture / up"},
    Plain{"22", CommandKind::Quad, "4 pictures / down"},
    Plain{"33", CommandKind::Nine, "9 pictures / left"},
    Plain{"44", CommandKind::Sixteen, "16 pictures / right"},
    Plain{"FZ", CommandKind::Zoom, "zoom"},
    Plain{"AT", CommandKind::FunctionKey, "function key"},
    Plain{"LV", CommandKind::Live, "live"},
    Plain{"AV", CommandKind::FunctionLive, "function live"},
    Plain{"TP", CommandKind::Tape, "tape"},
    Plain{"SQ", CommandKind::Sequence, "sequence"},
    Plain{"SL", CommandKind::Call, "call monitor"},
};
constexpr std::array kFunction{
    Plain{"AU", CommandKind::FunctionUp, "function up"},
    Plain{"AD", CommandKind::FunctionDown, "function down"},
    Plain{"AL", CommandKind::FunctionLeft, "function left"},
    Plain{"AR", CommandKind::FunctionRight, "function right"},
    Plain{"AF", CommandKind::FunctionZoom, "function zoom"},
};

// Camera character: "1" to "9" for cameras 1 to 9, "A" to "G" for 10 to 16.
int cameraOfChar(char c) {
  if (c >= '1' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'G') return 10 + (c - 'A');
  return 0;
}
char charOfCamera(int camera) {
  return camera <= 9 ? static_cast<char>('0' + camera) : static_cast<char>('A' + camera - 10);
}

bool isFunctionVariant(const Command& command) {
  return std::any_of(kFunction.begin(), kFunction.end(),
                     [&](const Plain& f) { return f.kind == command.kind; });
}

std::optional<Command> lookup(std::string_view two, bool functionPrefix) {
  if (functionPrefix)
    for (const auto& f : kFunction)
      if (f.chars == two) return Command{f.kind};
  for (const auto& p : kPlain)
    if (p.chars == two) return Command{p.kind};
  if (two[0] >= '0' && two[0] <= '9' && two[1] >= '0' && two[1] <= '9') {
    const int n = (two[0] - '0') * 10 + (two[1] - '0');
    if (n >= 1 && n <= 16) return Command{CommandKind::Camera, n};
    return std::nullopt;
  }
  if (const int camera = cameraOfChar(two[1]); camera != 0) {
    if (two[0] == 'S') return Command{CommandKind::FunctionCamera, camera};
    if (two[0] == 'X') return Command{CommandKind::AssignCamera, camera};
  }
  return std::nullopt;
}

}  // namespace

std::string commandBytes(const Command& command) {
  std::string bytes = "/";
  for (const auto& f : kFunction) {
    if (f.kind == command.kind) return bytes.append(kFunctionPrefix).append("/").append(f.chars);
  }
  for (const auto& p : kPlain) {
    if (p.kind == command.kind) return bytes.append(p.chars);
  }
  switch (command.kind) {
    case CommandKind::Camera: {
      const int n = command.camera;
      return {'/', static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
    }
    case CommandKind::FunctionCamera:
      return std::string("/S") + charOfCamera(command.camera);
    case CommandKind::AssignCamera:
      return std::string("/X") + charOfCamera(command.camera);
    default:
      return {};
  }
}

std::string commandText(const Command& command) {
  std::string text;
  for (const char c : commandBytes(command)) {
    if (c == '\0')
      text += "<00>";
    else if (c == '\1')
      text += "<01>";
    else
      text.push_back(c);
  }
  return text;
}

std::string describeCommand(const Command& command) {
  const std::string camera = std::to_string(command.camera);
  switch (command.kind) {
    case CommandKind::Camera:
      return "camera " + camera;
    case CommandKind::FunctionCamera:
      return "function camera " + camera;
    case CommandKind::AssignCamera:
      return "assign camera " + camera + " to the next window";
    default:
      break;
  }
  for (const auto tables : {std::span<const Plain>(kPlain), std::span<const Plain>(kFunction)}) {
    for (const auto& p : tables)
      if (p.kind == command.kind) return std::string(p.meaning);
  }
  return {};
}

std::string describeCommands(std::string_view bytes) {
  CommandParser parser;
  std::string words;
  for (const Command& command : parser.feed(bytes)) {
    words += (words.empty() ? "" : "; ") + describeCommand(command);
  }
  if (parser.ignoredBytes() > 0 || parser.pending()) {
    words += (words.empty() ? "" : "; ") + std::string("no command");
  }
  return words;
}

std::vector<Command> CommandParser::feed(std::string_view bytes) {
  std::vector<Command> out;
  for (const char byte : bytes) push(byte, out);
  return out;
}

void CommandParser::drop() {
  ignored_ += pending_.size() + (inCommand_ ? 1 : 0);
  dropFunctionPrefix();
  inCommand_ = false;
  pending_.clear();
}

void CommandParser::dropFunctionPrefix() {
  if (functionPrefix_) ignored_ += kFunctionPrefix.size() + 1;  // its "/", 0 and 1
  functionPrefix_ = false;
}

void CommandParser::push(char byte, std::vector<Command>& out) {
  if (byte == '/') {
    if (inCommand_ && pending_ == kFunctionPrefix) {
      // "/", 0, 1, "/": the function variant's own command follows. A prefix before it led to
      // nothing.
      dropFunctionPrefix();
      inCommand_ = true;
      functionPrefix_ = true;
      pending_.clear();
      return;
    }
    if (inCommand_) drop();
    inCommand_ = true;
    return;
  }
  if (!inCommand_) {
    ++ignored_;
    return;
  }
  if (pending_ == kFunctionPrefix) {
    // 0, 1 not followed by "/": not a command.
    pending_.push_back(byte);
    drop();
    return;
  }
  pending_.push_back(byte);
  if (pending_.size() < 2 || pending_ == kFunctionPrefix) return;
  if (const auto command = lookup(pending_, functionPrefix_)) {
    // A plain command after the prefix is read as plain; the prefix led to nothing.
    if (!isFunctionVariant(*command)) dropFunctionPrefix();
    out.push_back(*command);
    inCommand_ = false;
    functionPrefix_ = false;
    pending_.clear();
  } else {
    drop();
  }
}

}  // namespace vqx
