// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "traffic/incident_log.h"

#include <chrono>
#include <cstdio>
#include <optional>

namespace vqx {
namespace {

constexpr std::string_view kPrefix = "vqx16-";
constexpr std::string_view kSuffix = ".log";

std::string fileOf(const std::string& day) {
  return std::string(kPrefix) + day + std::string(kSuffix);
}

// The day a file of the log belongs to, in days since 1970; nothing for any other file.
std::optional<int> dayOfFile(const std::string& name) {
  int y = 0, m = 0, d = 0;
  char tail = 0;
  if (name.size() != kPrefix.size() + 10 + kSuffix.size() ||
      std::sscanf(name.c_str(), "vqx16-%4d-%2d-%2d.lo%c", &y, &m, &d, &tail) != 4 || tail != 'g') {
    return std::nullopt;
  }
  const std::chrono::year_month_day date{std::chrono::year(y), std::chrono::month(unsigned(m)),
                                         std::chrono::day(unsigned(d))};
  if (!date.ok()) return std::nullopt;
  return std::chrono::sys_days(date).time_since_epoch().count();
}

}  // namespace

bool IncidentLog::repeats(std::string_view bytes, const LocalTime& time) const {
  const LocalTime& last = lastFrame_.time;
  return bytes == lastFrame_.bytes && time.year == last.year && time.month == last.month &&
         time.day == last.day;
}

void IncidentLog::add(const TrafficEvent& event) {
  if (stopped_) return;
  const bool frame = event.kind == TrafficEvent::Kind::Frame;
  if (frame && repeats(event.bytes, event.time)) {
    ++repeats_;
    lastRepeat_ = event.time;
    return;
  }
  writeRepeats();
  hold(event.time, trafficLine(event));
  lastFrame_ = frame ? event : TrafficEvent{};
}

void IncidentLog::writeRepeats() {
  if (repeats_ > 0) {
    TrafficEvent repeat = lastFrame_;
    repeat.time = lastRepeat_;
    repeat.meaning = "same state \u00d7 " + std::to_string(repeats_);
    hold(repeat.time, trafficLine(repeat));
  }
  repeats_ = 0;
}

void IncidentLog::hold(const LocalTime& time, std::string line) {
  held_.push_back({time, std::move(line) + "\n"});
}

void IncidentLog::beginDay(const std::string& day) {
  day_ = day;
  size_ = folder_.size(fileOf(day));
  full_ = false;
  const auto today = dayOfFile(fileOf(day));
  for (const std::string& name : folder_.files()) {
    const auto of = dayOfFile(name);
    if (today && of && *today - *of >= kLogKeptDays) folder_.remove(name);
  }
}

Result IncidentLog::flush() {
  if (stopped_) return Result::ok();
  std::string text;  // the lines of one day, written at once
  Result written = Result::ok();
  for (Held& held : held_) {
    const std::string day = dateText(held.time);
    if (day != day_) {
      if (!text.empty() && !(written = folder_.append(fileOf(day_), text))) break;
      text.clear();
      beginDay(day);
    }
    if (full_) continue;
    static constexpr std::string_view kFull = "the day's log is full (10 MB): lines dropped\n";
    if (size_ + text.size() + held.line.size() + kFull.size() > kLogDayLimit) {
      held.line = timeText(held.time) + " log  " + std::string(kFull);
      full_ = true;
    }
    text += held.line;
  }
  held_.clear();
  if (written && !text.empty()) written = folder_.append(fileOf(day_), text);
  size_ += text.size();
  stopped_ = !written;
  return written;
}

Result IncidentLog::close() {
  writeRepeats();
  return flush();
}

}  // namespace vqx
