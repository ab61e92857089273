// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "status/status_handler.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "status/receive_display.h"

namespace vqx {

namespace {

// Characters that formed no frame join those just before them that formed none.
void addPart(ReceivedTrace& trace, std::string_view bytes, bool frame, bool onPanel) {
  std::vector<ReceivedPart>& parts = trace.parts;
  if (!frame && !parts.empty() && !parts.back().frame) {
    parts.back().bytes += bytes;
  } else {
    parts.push_back({std::string(bytes), frame, onPanel});
  }
}

}  // namespace

std::optional<StatusFrame> takeStatusFrame(TerminalBox& box, ReceivedTrace* trace) {
  if (box.size() < 4) return std::nullopt;  // waits for the rest of the frame
  const std::string_view taken = box.text();
  const auto frame = alignStatusFrame(taken.substr(0, 4));
  if (trace) {
    const std::string aligned = frame ? std::string(frame->begin(), frame->end()) : "";
    addPart(*trace, frame ? aligned : taken.substr(0, 4), bool(frame), bool(frame));
    for (std::string_view rest = taken.substr(4); !rest.empty();) {
      const bool whole = rest.size() >= 4 && static_cast<unsigned char>(rest[0]) > 127;
      const std::size_t length = whole ? 4 : 1;
      addPart(*trace, rest.substr(0, length), whole, false);
      rest.remove_prefix(length);
    }
  }
  box.setText({});
  return frame;
}

std::optional<Indicators> receiveStatus(SerialControl& serial, TerminalBox& box,
                                        ReceivedTrace* trace) {
  if (serial.commEvent() != kCommEventReceive) return std::nullopt;
  std::string received = serial.input();
  displayReceived(box, received);
  const auto frame = takeStatusFrame(box, trace);
  if (!frame) return std::nullopt;
  return decodeStatusFrame(*frame);
}

StatusReceiver::StatusReceiver(SerialControl& serial, TerminalBox& box)
    : serial_(serial), box_(box) {
  serial_.addListener(*this);
}

StatusReceiver::~StatusReceiver() {
  serial_.removeListener(*this);
}

void StatusReceiver::removeListener(StatusListener& listener) {
  std::erase(listeners_, &listener);
}

void StatusReceiver::commEvent() {
  if (serial_.commEvent() != kCommEventReceive) return;
  const bool traced = std::any_of(listeners_.begin(), listeners_.end(),
                                  [](const StatusListener* l) { return l->wantsTrace(); });
  ReceivedStatus status;
  status.indicators = receiveStatus(serial_, box_, traced ? &status.trace : nullptr);
  const std::vector<StatusListener*> listening = listeners_;
  for (StatusListener* listener : listening) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) {
      listener->statusReceived(status);
    }
  }
}

}  // namespace vqx
