#include "sim/command_parser.h"

#include <array>
#include <optional>

namespace vqx::sim {

namespace {

constexpr std::string_view kFunctionPrefix("\0\1", 2);

struct Plain {
  std::string_view chars;
  CommandKind kind;
};
constexpr std::array kPlain{
    Plain{"PP", CommandKind::Pip},  Plain{"22", CommandKind::Quad},
    Plain{"33", CommandKind::Nine}, Plain{"44", CommandKind::Sixteen},
    Plain{"FZ", CommandKind::Zoom}, Plain{"AT", CommandKind::FunctionKey},
    Plain{"LV", CommandKind::Live}, Plain{"AV", CommandKind::FunctionLive},
    Plain{"TP", CommandKind::Tape}, Plain{"SQ", CommandKind::Sequence},
    Plain{"SL", CommandKind::Call},
};
constexpr std::array kFunction{
    Plain{"AU", CommandKind::FunctionUp},   Plain{"AD", CommandKind::FunctionDown},
    Plain{"AL", CommandKind::FunctionLeft}, Plain{"AR", CommandKind::FunctionRight},
    Plain{"AF", CommandKind::FunctionZoom},
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
  for (const auto& f : kFunction)
    if (f.kind == command.kind)
      return "/" + std::string(kFunctionPrefix) + "/" + std::string(f.chars);
  for (const auto& p : kPlain)
    if (p.kind == command.kind) return "/" + std::string(p.chars);
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

std::vector<Command> CommandParser::feed(std::string_view bytes) {
  std::vector<Command> out;
  for (const char byte : bytes) push(byte, out);
  return out;
}

void CommandParser::drop() {
  ignored_ += pending_.size() + (inCommand_ ? 1 : 0) + (functionPrefix_ ? 3 : 0);
  inCommand_ = false;
  functionPrefix_ = false;
  pending_.clear();
}

void CommandParser::push(char byte, std::vector<Command>& out) {
  if (byte == '/') {
    if (inCommand_ && pending_ == kFunctionPrefix) {
      // "/", 0, 1, "/": the function variant's own command follows.
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
    out.push_back(*command);
    inCommand_ = false;
    functionPrefix_ = false;
    pending_.clear();
  } else {
    drop();
  }
}

}  // namespace vqx::sim
