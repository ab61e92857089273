// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/network_link.h"

#include <algorithm>

#include "common/captions.h"
#include "common/text.h"
#include "serial/serial_control.h"

namespace vqx {
namespace {

constexpr std::size_t kLongestWords = 80;  // of what a server said as it turned us away

// The first line of printable text in what the server sent, at most kLongestWords long.
std::string firstLine(std::string_view bytes) {
  std::string line;
  for (const char c : bytes) {
    const bool printable = c >= 32 && c < 127;
    if (!printable && !trimmed(line).empty()) break;
    if (printable && line.size() < kLongestWords) line += c;
  }
  return trimmed(line);
}

}  // namespace

std::chrono::seconds reconnectDelay(int failedTries) {
  constexpr int kDoublings = 5;  // 1, 2, 4, 8, 16
  if (failedTries > kDoublings) return std::chrono::seconds(30);
  return std::chrono::seconds(1 << (std::max(failedTries, 1) - 1));
}

NetworkLink::NetworkLink(const NetworkAddress& address, const LineSettings& line, int handshaking)
    : address_(address), line_(line), handshaking_(handshaking) {}

NetworkLink::Step NetworkLink::start() {
  stage_ = Stage::Connecting;
  Step step;
  step.connect = true;
  step.timer = kConnectWait;
  return step;
}

NetworkLink::Step NetworkLink::connected() {
  Step step;
  if (stage_ != Stage::Connecting) return step;
  stage_ = Stage::Settling;
  if (address_.mode == NetworkMode::Rfc2217) {
    telnet_.emplace(line_, handshaking_);  // a conversation of this connection's own
    step.send = telnet_->connect();
    step.timer = kReplyWait;
  } else {
    step.timer = kSettleTime;
  }
  return step;
}

NetworkLink::Step NetworkLink::received(std::string_view bytes) {
  Step step;
  if (stage_ != Stage::Settling && stage_ != Stage::Open) return step;
  std::string data(bytes);
  if (telnet_) {
    TelnetComPort::Received in = telnet_->receive(bytes);
    if (stage_ == Stage::Settling && !in.refusals.empty()) {
      return fail(OpenFailure::Refused, in.refusals.front());
    }
    step.send = std::move(in.reply);
    step.refusals = std::move(in.refusals);
    data = std::move(in.data);
  }
  if (stage_ == Stage::Open) {
    step.data = std::move(data);
    return step;
  }
  held_ += data;
  if (held_.size() > kReceiveQueueSize) held_.erase(0, held_.size() - kReceiveQueueSize);
  if (telnet_ && !telnet_->awaitingReplies()) open(step);
  return step;
}

std::string NetworkLink::closedWords() const {
  std::string lower = held_;
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? char(c | 0x20) : c;
  if (lower.find("in use") != std::string::npos) return caption::kNetInUse;
  const std::string words = firstLine(held_);
  return words.empty() ? caption::kNetClosed : withArgs(caption::kNetClosedSaying, {words});
}

NetworkLink::Step NetworkLink::ended(SocketEnd end, const std::string& systemText) {
  std::string why = systemText;
  if (end == SocketEnd::Refused) why = caption::kNetRefused;
  if (end == SocketEnd::HostNotFound) why = caption::kNetHostNotFound;
  if (end == SocketEnd::ClosedByServer) why = closedWords();
  if (stage_ == Stage::Settling && why == caption::kNetInUse && retriesLeft_ > 0) {
    --retriesLeft_;
    stage_ = Stage::Pausing;
    held_.clear();
    telnet_.reset();
    Step step;
    step.disconnect = true;
    step.timer = kInUsePause;
    return step;
  }
  switch (stage_) {
    case Stage::Connecting:
    case Stage::Settling:
    case Stage::Pausing:
      return fail(OpenFailure::Unreachable, hostAndPort(address_) + ": " + why);
    case Stage::Open: {
      stage_ = Stage::Ended;
      Step step;
      step.lost = networkAddressText(address_) + ": " + why;
      return step;
    }
    case Stage::Ended:
      break;
  }
  return {};
}

NetworkLink::Step NetworkLink::timeUp() {
  Step step;
  switch (stage_) {
    case Stage::Connecting: {
      const std::string seconds = std::to_string(kConnectWait.count());
      return fail(OpenFailure::Unreachable,
                  hostAndPort(address_) + ": " + withArgs(caption::kNetNoAnswer, {seconds}));
    }
    case Stage::Pausing:
      return start();
    case Stage::Settling:
    case Stage::Open:
      if (telnet_) step.warning = telnet_->missingRepliesWarning();
      if (stage_ == Stage::Settling) open(step);
      break;
    case Stage::Ended:
      break;
  }
  return step;
}

NetworkLink::Step NetworkLink::setLine(const LineSettings& line, int handshaking) {
  line_ = line;
  handshaking_ = handshaking;
  Step step;
  if (!telnet_ || stage_ == Stage::Ended) return step;
  step.send = telnet_->setLine(line, handshaking);
  if (stage_ == Stage::Open && !step.send.empty()) step.timer = kReplyWait;
  return step;
}

std::string NetworkLink::encode(std::string_view data) const {
  if (address_.mode == NetworkMode::Rfc2217) return TelnetComPort::escape(data);
  return std::string(data);
}

NetworkLink::Step NetworkLink::fail(OpenFailure failure, const std::string& detail) {
  stage_ = Stage::Ended;
  held_.clear();
  Step step;
  step.failure = failure;
  step.detail = detail;
  return step;
}

void NetworkLink::open(Step& step) {
  stage_ = Stage::Open;
  step.opened = true;
  step.data = std::move(held_) + step.data;
  held_.clear();
}

}  // namespace vqx
