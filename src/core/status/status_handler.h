// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "serial/serial_control.h"
#include "status/indicators.h"
#include "status/status_frame.h"
#include "status/terminal_box.h"

namespace vqx {

// What one receive event took from the terminal box, for the traffic monitor and the incident
// log, part by part in the order received: the frame the panel follows (the box's first four
// characters, aligned), then every whole frame after it (a character above 127 and the three
// that follow), which the panel does not follow; characters between them that form no frame are
// parts of their own.
struct ReceivedPart {
  std::string bytes;  // a frame as aligned, or characters that formed no frame
  bool frame = false;
  bool onPanel = false;  // the frame the panel follows
};
struct ReceivedTrace {
  std::vector<ReceivedPart> parts;
};

// Takes one status frame from the terminal box after received text has been shown in it:
// the box's first four characters, aligned on the first one above 127. Then, found or not,
// empties the box once it holds four or more characters, so characters past the fourth are
// dropped and one to three characters wait for the next block.
// When `trace` is given, every character taken from the box is described in it.
std::optional<StatusFrame> takeStatusFrame(TerminalBox& box, ReceivedTrace* trace = nullptr);

// The handling of the serial control's communication event. Reads CommEvent once; on anything
// but data received it does nothing. Otherwise it reads Input once, shows the bytes in the box
// (displayReceived), takes a frame from the box and decodes it. Returns the indicators for the
// panel to show, or nothing when no frame was found (then no indicator changes). Keeps no state
// of its own between events: what waits is in the box. For the traffic record, `trace` (when
// given) receives what was taken from the box.
std::optional<Indicators> receiveStatus(SerialControl& serial, TerminalBox& box,
                                        ReceivedTrace* trace = nullptr);

// What one receive event took: the indicators of the frame the panel follows, and, when a
// listener asked for it, the trace of everything taken.
struct ReceivedStatus {
  std::optional<Indicators> indicators;
  ReceivedTrace trace;
};

class StatusListener {
 public:
  virtual ~StatusListener() = default;
  // Whether the trace is wanted now (the traffic monitor is open or the log on); without one
  // listener that wants it, nothing is traced.
  virtual bool wantsTrace() const { return false; }
  virtual void statusReceived(const ReceivedStatus& status) = 0;
};

// The one reader of the serial control's received bytes: at each communication event it runs
// receiveStatus() on the terminal box and tells every listener what came (the panel, the link's
// supervision, the traffic record, any other front end), in the order they began to listen.
class StatusReceiver : public SerialListener {
 public:
  StatusReceiver(SerialControl& serial, TerminalBox& box);
  ~StatusReceiver() override;
  StatusReceiver(const StatusReceiver&) = delete;
  StatusReceiver& operator=(const StatusReceiver&) = delete;

  // A listener stops listening before it goes.
  void addListener(StatusListener& listener) { listeners_.push_back(&listener); }
  void removeListener(StatusListener& listener);

  void commEvent() override;

 private:
  SerialControl& serial_;
  TerminalBox& box_;
  std::vector<StatusListener*> listeners_;
};

}  // namespace vqx
