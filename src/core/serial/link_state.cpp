// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/link_state.h"

#include "common/captions.h"
#include "common/text.h"

namespace vqx {

using std::chrono::duration_cast;
using std::chrono::milliseconds;

std::string LinkWatch::opened(const std::string& label) {
  const bool back = state_ == LinkState::Lost;
  state_ = LinkState::Open;
  reason_.clear();
  lastFrame_ = clock_();
  return label + " " + (back ? caption::kLinkReopened : caption::kLinkOpened);
}

std::string LinkWatch::closed(const std::string& label) {
  const bool retrying = state_ == LinkState::Lost;  // an attempt of link recovery given up
  state_ = LinkState::Closed;
  reason_.clear();
  return retrying ? std::string() : label + " " + caption::kLinkClosed;
}

std::string LinkWatch::connecting(const std::string& label) {
  if (state_ == LinkState::Lost) return {};
  state_ = LinkState::Connecting;
  reason_.clear();
  return label + " " + caption::kLinkConnecting;
}

std::string LinkWatch::lineWarning(const std::string& label, const std::string& text) {
  if (state_ == LinkState::Open) reason_ = text;
  return text.starts_with(label) ? text : label + ": " + text;
}

std::string LinkWatch::lost(const std::string& label, const std::string& why) {
  state_ = LinkState::Lost;
  reason_ = why;
  return label + " " + caption::kLinkLost + ": " + why;
}

std::string LinkWatch::openFailed(const std::string& label, const std::string& why) {
  if (state_ == LinkState::Lost) return {};  // still retrying
  state_ = LinkState::CannotOpen;
  reason_ = why;
  // The description names the port already when the serial control worded it.
  return why.starts_with(label) ? why : label + " " + caption::kLinkCannotOpen + ": " + why;
}

void LinkWatch::recoveryEnded() {
  if (state_ != LinkState::Lost) return;
  state_ = LinkState::Closed;
  reason_.clear();
}

milliseconds LinkWatch::sinceFrame() const {
  return duration_cast<milliseconds>(clock_() - lastFrame_);
}

LinkView LinkWatch::view() const {
  switch (state_) {
    case LinkState::Open:
    case LinkState::Quiet:
      if (const auto quiet = sinceFrame(); quiet >= kQuietAfter) {
        const auto seconds = duration_cast<std::chrono::seconds>(quiet).count();
        return {LinkState::Quiet, withArgs(caption::kLinkQuiet, {std::to_string(seconds)}),
                reason_};
      }
      return {LinkState::Open, caption::kLinkOpen, reason_};
    case LinkState::Connecting:
      return {LinkState::Connecting, caption::kLinkConnecting, {}};
    case LinkState::Closed:
      return {LinkState::Closed, caption::kLinkClosed, {}};
    case LinkState::Lost:
      return {LinkState::Lost, caption::kLinkLost, reason_};
    case LinkState::CannotOpen:
      break;
  }
  return {LinkState::CannotOpen, caption::kLinkCannotOpen, reason_};
}

std::optional<milliseconds> LinkWatch::nextChange() const {
  if (state_ != LinkState::Open) return std::nullopt;
  const milliseconds quiet = sinceFrame();
  if (quiet < kQuietAfter) return kQuietAfter - quiet;
  return milliseconds(1000) - quiet % 1000;  // the next whole second of quiet
}

}  // namespace vqx
