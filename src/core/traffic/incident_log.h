// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "traffic/traffic.h"

namespace vqx {

// The folder the incident log keeps its day files in.
class LogFolder {
 public:
  virtual ~LogFolder() = default;
  virtual std::vector<std::string> files() const = 0;             // file names
  virtual std::uint64_t size(const std::string& name) const = 0;  // 0 when there is none
  virtual Result append(const std::string& name, std::string_view text) = 0;
  virtual void remove(const std::string& name) = 0;
};

inline constexpr std::uint64_t kLogDayLimit = 10 * 1024 * 1024;
inline constexpr int kLogKeptDays = 30;

// The incident log: every traffic event as a line (trafficLine) in the file of its day,
// "vqx16-YYYY-MM-DD.log", held in memory until flush(). A status frame that only repeats the
// one before it is counted, and the count written as one line ("same state × 60") when
// something else happens, the day ends or the log closes. A day's file stops at 10 MB with one
// line that says so. When a day's first line is written, files more than 30 days old go. The
// first failure to write stops the log for good: flush() returns it once.
class IncidentLog {
 public:
  explicit IncidentLog(LogFolder& folder) : folder_(folder) {}

  void add(const TrafficEvent& event);
  // Whether this frame (its words aside) would only be counted, not written: it repeats the
  // frame before it on the same day, and the panel follows it if it followed that one. Such a
  // frame needs no words.
  bool repeats(const TrafficEvent& frame) const;
  // Writes the lines held. A failure stops the log; it is returned by the flush it happens in.
  Result flush();
  // Writes the count of repeated frames, then flushes.
  Result close();

  bool stopped() const { return stopped_; }
  bool holdsLines() const { return !held_.empty(); }

 private:
  void hold(const LocalTime& time, std::string line);
  void writeRepeats();
  void beginDay(const std::string& day);

  LogFolder& folder_;
  struct Held {
    LocalTime time;
    std::string line;
  };
  std::vector<Held> held_;
  TrafficEvent lastFrame_;  // the frame the repeats repeat
  int repeats_ = 0;
  LocalTime lastRepeat_;
  std::string day_;  // the day being written
  std::uint64_t size_ = 0;
  bool full_ = false;
  bool stopped_ = false;
};

}  // namespace vqx
