// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/rfc2217.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "common/captions.h"
#include "common/text.h"

namespace vqx {
namespace {

// Telnet commands (RFC 854) and the options the program takes.
constexpr std::uint8_t kIac = 255;
constexpr std::uint8_t kDont = 254;
constexpr std::uint8_t kDo = 253;
constexpr std::uint8_t kWont = 252;
constexpr std::uint8_t kWill = 251;
constexpr std::uint8_t kSb = 250;
constexpr std::uint8_t kSe = 240;
constexpr std::uint8_t kBinary = 0;
constexpr std::uint8_t kSuppressGoAhead = 3;
constexpr std::uint8_t kComPortOption = 44;
constexpr int kServerCodeOffset = 100;   // the server answers a client's code plus 100
constexpr std::size_t kLongestSub = 64;  // the rest of a longer subnegotiation is passed over

// The options the program takes, on its own side (ours) or on the server's.
bool wanted(std::uint8_t option, bool ours) {
  return option == kBinary || option == kSuppressGoAhead || (ours && option == kComPortOption);
}

std::string bytes(std::initializer_list<std::uint8_t> list) {
  return {list.begin(), list.end()};
}

// The client's settings by code: the setting, its value's size on the wire, and its values in
// words, from 1 up (a number with its unit where there are none).
struct Setting {
  const char* name;
  int size;
  const char* unit;
  std::array<const char*, 5> values;
};
// clang-format off
constexpr Setting kSettings[] = {
    {"", 0, "", {}},
    {"the speed", 4, " baud", {}},
    {"the data bits", 1, " data bits", {}},
    {"the parity", 1, "", {"no parity", "odd parity", "even parity", "mark parity", "space parity"}},
    {"the stop bits", 1, "", {"1 stop bit", "2 stop bits", "1.5 stop bits"}},
    {"the flow control", 1, "", {"no flow control", "XON/XOFF flow control", "hardware flow control"}},
};
// clang-format on

std::string valueWords(int code, std::uint32_t value) {
  const Setting& setting = kSettings[code];
  if (*setting.unit) return std::to_string(value) + setting.unit;
  if (value >= 1 && value <= 5 && setting.values[value - 1]) return setting.values[value - 1];
  return "value " + std::to_string(value) + " for " + setting.name;
}

}  // namespace

TelnetComPort::TelnetComPort(const LineSettings& line, int handshaking) {
  setLine(line, handshaking);  // nothing goes out before the server takes the option
}

std::string TelnetComPort::connect() {
  std::string offers;
  // clang-format off
  static constexpr std::pair<std::uint8_t, std::uint8_t> kOffers[] = {
      {kWill, kComPortOption}, {kWill, kBinary}, {kDo, kBinary}, {kWill, kSuppressGoAhead},
      {kDo, kSuppressGoAhead}};
  // clang-format on
  for (const auto& [verb, option] : kOffers) {
    Side& side = verb == kWill ? options_[option].ours : options_[option].theirs;
    if (side != Side::No) continue;
    side = Side::AskedForYes;
    offers += bytes({kIac, verb, option});
  }
  return offers;
}

std::string TelnetComPort::setLine(const LineSettings& line, int handshaking) {
  static constexpr std::string_view kParities = "noems";          // codes 1 to 5
  static constexpr std::uint32_t kStopSizes[] = {1, 3, 2};        // by StopBits
  static constexpr std::uint32_t kFlowControls[] = {1, 2, 3, 3};  // by handshaking
  line_ = formatLineSettings(line);
  asked_[1] = static_cast<std::uint32_t>(line.speed);
  asked_[2] = static_cast<std::uint32_t>(line.dataBits);
  asked_[3] = static_cast<std::uint32_t>(kParities.find(line.parity) + 1);
  asked_[4] = kStopSizes[static_cast<int>(line.stopBits)];
  asked_[5] = kFlowControls[std::clamp(handshaking, 0, 3)];
  return options_[kComPortOption].ours == Side::Yes ? settingBytes() : std::string();
}

std::string TelnetComPort::settingBytes() {
  std::string out;
  for (int code = 1; code <= kSettingCount; ++code) {
    std::string value;
    for (int shift = 8 * (kSettings[code].size - 1); shift >= 0; shift -= 8) {
      value += static_cast<char>(asked_[code] >> shift);
    }
    out += bytes({kIac, kSb, kComPortOption, static_cast<std::uint8_t>(code)});
    out += escape(value) + bytes({kIac, kSe});
    ++awaited_[code];
  }
  return out;
}

std::string TelnetComPort::escape(std::string_view data) {
  std::string out;
  out.reserve(data.size());
  for (const char c : data) {
    out += c;
    if (static_cast<std::uint8_t>(c) == kIac) out += c;
  }
  return out;
}

TelnetComPort::Received TelnetComPort::receive(std::string_view in) {
  Received out;
  for (const char c : in) take(static_cast<std::uint8_t>(c), out);
  return out;
}

void TelnetComPort::take(std::uint8_t byte, Received& out) {
  switch (reading_) {
    case Reading::Data:
      if (byte == kIac) {
        reading_ = Reading::Command;
      } else {
        out.data += static_cast<char>(byte);
      }
      break;
    case Reading::Command:
      reading_ = Reading::Data;  // NOP, GA, a stray SE and the like are passed over
      if (byte == kIac) {
        out.data += static_cast<char>(byte);
      } else if (byte == kSb) {
        sub_.clear();
        reading_ = Reading::Sub;
      } else if (byte >= kWill && byte <= kDont) {
        verb_ = byte;
        reading_ = Reading::Option;
      }
      break;
    case Reading::Option:
      reading_ = Reading::Data;
      command(verb_, byte, out);
      break;
    case Reading::Sub:
      if (byte == kIac) {
        reading_ = Reading::SubCommand;
      } else if (sub_.size() < kLongestSub) {
        sub_ += static_cast<char>(byte);
      }
      break;
    case Reading::SubCommand:
      if (byte == kIac) {
        reading_ = Reading::Sub;
        if (sub_.size() < kLongestSub) sub_ += static_cast<char>(byte);
      } else if (byte == kSe) {
        reading_ = Reading::Data;
        subnegotiation(out);
      } else {
        // A subnegotiation that never ended: dropped, and the byte read as the command it starts.
        reading_ = Reading::Command;
        take(byte, out);
      }
      break;
  }
}

void TelnetComPort::command(std::uint8_t verb, std::uint8_t option, Received& out) {
  const bool ours = verb == kDo || verb == kDont;  // the server speaks of what we do
  Side& side = ours ? options_[option].ours : options_[option].theirs;
  const std::uint8_t agree = ours ? kWill : kDo;
  const std::uint8_t decline = ours ? kWont : kDont;
  if (verb == kWill || verb == kDo) {
    if (side == Side::Yes) return;  // no change: no answer
    if (!wanted(option, ours)) {
      out.reply += bytes({kIac, decline, option});
      return;
    }
    if (side == Side::No) out.reply += bytes({kIac, agree, option});  // not our own offer
    side = Side::Yes;
    if (ours && option == kComPortOption) out.reply += settingBytes();
    return;
  }
  if (side == Side::No) return;
  if (side == Side::Yes) out.reply += bytes({kIac, decline, option});
  side = Side::No;
  if (ours && option == kComPortOption) {
    awaited_.fill(0);
    out.refusals.push_back(withArgs(caption::kServerSetsNoLine, {line_}));
  }
}

void TelnetComPort::subnegotiation(Received& out) {
  const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(sub_[i]); };
  if (sub_.size() < 2 || at(0) != kComPortOption) return;
  const int code = at(1) - kServerCodeOffset;
  // Line-state and modem-state notices, and replies nobody waits for, are passed over.
  if (code < 1 || code > kSettingCount || awaited_[code] == 0) return;
  // A reply to earlier settings: the one to the newest, compared below, is still to come.
  if (--awaited_[code] > 0) return;
  std::uint32_t value = 0;
  for (std::size_t i = 2; i < sub_.size(); ++i) value = value << 8 | at(i);
  const std::string asked = valueWords(code, asked_[code]);
  if (sub_.size() != 2 + std::size_t(kSettings[code].size)) {
    out.refusals.push_back(withArgs(caption::kServerRefused, {line_, asked}));
  } else if (value != asked_[code]) {
    out.refusals.push_back(withArgs(caption::kServerSet, {line_, valueWords(code, value), asked}));
  }
}

bool TelnetComPort::awaitingReplies() const {
  if (options_[kComPortOption].ours == Side::AskedForYes) return true;
  return std::any_of(awaited_.begin(), awaited_.end(), [](int due) { return due > 0; });
}

std::string TelnetComPort::missingRepliesWarning() const {
  if (options_[kComPortOption].ours == Side::AskedForYes) return caption::kServerNoAnswer;
  std::vector<std::string> names;
  for (int code = 1; code <= kSettingCount; ++code) {
    if (awaited_[code] > 0) names.push_back(kSettings[code].name);
  }
  if (names.empty()) return {};
  std::string list = names.front();
  for (std::size_t i = 1; i < names.size(); ++i) {
    list += (i + 1 == names.size() ? " and " : ", ") + names[i];
  }
  return withArgs(caption::kServerUnconfirmed, {list});
}

}  // namespace vqx
