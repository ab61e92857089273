// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "traffic/incident_log.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <utility>

namespace vqx {
namespace {

constexpr std::string_view kPrefix = "vqx16-";
constexpr std::string_view kSuffix = ".log";

std::string fileOf(const std::string& day) {
  return std::string(kPrefix) + day + std::string(kSuffix);
}

// The day a file of the log belongs to, in days since 1970: a name that is exactly
// "vqx16-YYYY-MM-DD.log", four digits, two and two, with a real date. Nothing for any other name.
std::optional<int> dayOfFile(std::string_view name) {
  if (name.size() != kPrefix.size() + 10 + kSuffix.size() || !name.starts_with(kPrefix) ||
      !name.ends_with(kSuffix)) {
    return std::nullopt;
  }
  const std::string_view date = name.substr(kPrefix.size(), 10);  // YYYY-MM-DD
  // The decimal number of `digits` digits at `at`; nothing when one is no digit (a sign, a space).
  const auto number = [date](std::size_t at, std::size_t digits) -> std::optional<unsigned> {
    unsigned value = 0;
    for (const char c : date.substr(at, digits)) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + unsigned(c - '0');
    }
    return value;
  };
  const auto year = number(0, 4);
  const auto month = number(5, 2);
  const auto day = number(8, 2);
  if (!year || !month || !day || date[4] != '-' || date[7] != '-') return std::nullopt;
  const std::chrono::year_month_day ymd{std::chrono::year(int(*year)), std::chrono::month(*month),
                                        std::chrono::day(*day)};
  if (!ymd.ok()) return std::nullopt;
  return std::chrono::sys_days(ymd).time_since_epoch().count();
}

}  // namespace

bool IncidentLog::repeats(const TrafficEvent& frame) const {
  const LocalTime& last = lastFrame_.time;
  const LocalTime& time = frame.time;
  // A frame the panel follows after the same one it did not follow changes the panel.
  return frame.bytes == lastFrame_.bytes && (lastFrame_.onPanel || !frame.onPanel) &&
         time.year == last.year && time.month == last.month && time.day == last.day;
}

void IncidentLog::add(const TrafficEvent& event) {
  if (stopped_) return;
  const bool frame = event.kind == TrafficEvent::Kind::Frame;
  if (frame && repeats(event)) {
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

// The sweep: a day's file goes when it is 30 days older than today or more and is not among the
// newest 30 day files present. So the log keeps its newest 30 days however long the program went
// unused, and a clock that jumps a month or more ahead (a flat clock battery, a time zone set
// wrong) removes none of them: as on any new day, the new day's file only pushes the oldest of
// them out of the 30.
void IncidentLog::beginDay(const std::string& day) {
  day_ = day;
  size_ = folder_.size(fileOf(day));
  full_ = false;
  const auto today = dayOfFile(fileOf(day));
  std::vector<std::pair<int, std::string>> days;  // the log's files, newest first
  for (const std::string& name : folder_.files()) {
    if (const auto of = dayOfFile(name)) days.emplace_back(*of, name);
  }
  std::sort(days.begin(), days.end(), std::greater<>());
  for (std::size_t i = kLogKeptDays; today && i < days.size(); ++i) {
    if (*today - days[i].first >= kLogKeptDays) folder_.remove(days[i].second);
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
