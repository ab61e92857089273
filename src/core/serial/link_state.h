// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace vqx {

// What the operator is shown of the link to the device, beside the menus.
enum class LinkState {
  Open,        // open, frames arriving (or opened less than kQuietAfter ago)
  Quiet,       // open, no frame for kQuietAfter or longer
  Closed,      //
  Lost,        // the device vanished from under the open port; link recovery waits for it
  CannotOpen,  // the latest opening failed
  Connecting,  // opened, the connection to a device server still being made
};

struct LinkView {
  LinkState state = LinkState::Closed;
  // "open", "no frame for 4 s", "closed", "lost, retrying", "cannot open", "connecting"
  std::string word;
  // Why it was lost or did not open, or why the open line may not run with the settings chosen;
  // empty otherwise.
  std::string reason;
  bool operator==(const LinkView&) const = default;
};

// The device sends a status frame at least once a second: this long without one means that
// something is wrong.
inline constexpr std::chrono::seconds kQuietAfter{3};

// The link state, followed from the port's events and the frames received. Each port event
// returns the line the traffic record keeps of it ("Com1 (/dev/ttyUSB0) opened"), or nothing
// where it says nothing new: link recovery's failed attempts to reopen a lost port are part of
// "lost, retrying".
class LinkWatch {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  explicit LinkWatch(Clock clock = std::chrono::steady_clock::now) : clock_(std::move(clock)) {}

  // `label` names the port and its device (portLabel()).
  std::string opened(const std::string& label);
  std::string closed(const std::string& label);
  std::string lost(const std::string& label, const std::string& why);
  std::string openFailed(const std::string& label, const std::string& why);
  // An opening that takes time has begun; link recovery's attempts are part of "lost, retrying".
  std::string connecting(const std::string& label);
  // The open port's line may not run with the settings chosen: the reason until it closes.
  std::string lineWarning(const std::string& label, const std::string& text);
  // Link recovery has stopped waiting (the operator took the port in hand): a lost port is
  // simply closed.
  void recoveryEnded();
  // A status frame was received.
  void frame() { lastFrame_ = clock_(); }

  LinkView view() const;
  // How long until view() changes by itself: none unless the port is open, so a timer needs to
  // run only then; while frames arrive, the time until a frame would be overdue.
  std::optional<std::chrono::milliseconds> nextChange() const;

 private:
  std::chrono::milliseconds sinceFrame() const;

  Clock clock_;
  LinkState state_ = LinkState::Closed;  // Open stands for Quiet too
  std::string reason_;
  std::chrono::steady_clock::time_point lastFrame_;  // or the opening, before the first frame
};

}  // namespace vqx
