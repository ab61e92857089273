// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/traffic/traffic_recorder.h"

#include <QDateTime>
#include <utility>

#include "common/captions.h"
#include "common/result.h"

namespace vqx {
namespace {

constexpr const char* kLogSection = "Log";
constexpr int kFlushMs = 1000;

}  // namespace

// Turning the clock into local fields looks the time zone up (a file status call each time); at
// a hundred frames a second that is done once a second, and only the milliseconds change between.
LocalTime localTimeNow() {
  static qint64 second = -1;
  static LocalTime local;
  const qint64 ms = QDateTime::currentMSecsSinceEpoch();
  if (ms / 1000 != second) {
    second = ms / 1000;
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(second * 1000);
    const QDate d = now.date();
    const QTime t = now.time();
    local = {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), 0};
  }
  LocalTime time = local;
  time.millisecond = int(ms % 1000);
  return time;
}

TrafficRecorder::TrafficRecorder(SettingsStore& store, std::unique_ptr<LogFolder> folder,
                                 QObject* parent)
    : QObject(parent),
      store_(store),
      folder_(std::move(folder)),
      record_([this](const TrafficEvent& event) { take(event); }) {
  actionEnd_.setSingleShot(true);
  actionEnd_.setInterval(0);
  connect(&actionEnd_, &QTimer::timeout, this, [this] { record_.endAction(); });
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(kFlushMs);
  connect(&flushTimer_, &QTimer::timeout, this, &TrafficRecorder::flush);
  // The stored choice is taken as it is, not written back: a second start that hands over to the
  // running copy writes nothing.
  if (store_.value(kAppTitle, kLogSection, "Enabled") == "true") {
    log_ = std::make_unique<IncidentLog>(*folder_);
    record_.setLog(log_.get());
  }
}

TrafficRecorder::~TrafficRecorder() {
  record_.endAction();
  if (log_) (void)log_->close();
}

void TrafficRecorder::setWatched(bool watched) {
  watched_ = watched;
  record_.setWatched(watched);
}

void TrafficRecorder::setLogEnabled(bool enabled) {
  if (enabled == logEnabled()) return;
  if (enabled) {
    log_ = std::make_unique<IncidentLog>(*folder_);
  } else {
    (void)log_->close();
    log_.reset();
  }
  record_.setLog(log_.get());
  store_.setValue(kAppTitle, kLogSection, "Enabled", enabled ? "true" : "false");
}

void TrafficRecorder::sent(char byte) {
  if (!wanted()) return;
  record_.sent(byte, localTimeNow());
  if (!actionEnd_.isActive()) actionEnd_.start();
}

void TrafficRecorder::statusReceived(const ReceivedStatus& status) {
  if (wanted()) record_.received(status, localTimeNow());
}

void TrafficRecorder::port(const std::string& what) {
  if (wanted()) record_.port(what, localTimeNow());
}

void TrafficRecorder::take(const TrafficEvent& event) {
  if (watched_) emit line(QString::fromStdString(trafficLine(event)));
  if (!log_) return;
  log_->add(event);
  if (log_->holdsLines() && !flushTimer_.isActive()) flushTimer_.start();
}

void TrafficRecorder::flush() {
  if (!log_) return;
  if (const Result written = log_->flush(); !written) {
    log_.reset();  // stopped; the stored choice stays, so the next start tries again
    record_.setLog(nullptr);
    emit logStopped(QString::fromStdString(caption::kLogStopped + written.error()));
  }
}

}  // namespace vqx
