// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "traffic/traffic_record.h"

#include <utility>

#include "common/captions.h"
#include "panel/command_parser.h"
#include "status/status_frame.h"
#include "status/status_words.h"

namespace vqx {

void TrafficRecord::sent(char byte, const LocalTime& now) {
  if (action_.empty()) actionTime_ = now;
  action_.push_back(byte);
}

void TrafficRecord::endAction(std::string_view origin) {
  if (action_.empty()) return;
  const std::string bytes = std::exchange(action_, {});
  std::string meaning = describeCommands(bytes);
  if (!origin.empty()) meaning += " (" + std::string(origin) + ")";
  take_({actionTime_, TrafficEvent::Kind::Sent, bytes, std::move(meaning)});
}

void TrafficRecord::received(const ReceivedStatus& status, const LocalTime& now) {
  endAction();
  for (const ReceivedPart& part : status.trace.parts) {
    if (!part.frame) {
      take_({now, TrafficEvent::Kind::Unframed, part.bytes, caption::kNoFrame});
      continue;
    }
    TrafficEvent event{now, TrafficEvent::Kind::Frame, part.bytes, {}, part.onPanel};
    if (watched_ || log_ == nullptr || !log_->repeats(event)) {
      event.meaning = describeStatus(part.onPanel && status.indicators
                                         ? *status.indicators
                                         : decodeStatusFrame(*alignStatusFrame(part.bytes)));
    }
    take_(std::move(event));
  }
}

void TrafficRecord::port(const std::string& what, const LocalTime& now) {
  endAction();
  take_({now, TrafficEvent::Kind::Port, {}, what});
}

}  // namespace vqx
