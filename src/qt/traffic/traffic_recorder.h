// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

#include "common/settings_store.h"
#include "status/indicators.h"
#include "status/status_handler.h"
#include "traffic/incident_log.h"

namespace vqx {

// Collects what passes over the line for the traffic monitor and the incident log, while
// either wants it (wanted()); the window asks before it hands anything over, so with the
// monitor closed and the log off nothing is done. Bytes sent within one event of the window (a
// key action: a click, a repeat tick, a typed character) make one line. The log keeps its lines
// in memory and writes them at most once a second and when the recorder goes; its first failure
// stops it and is announced once (logStopped).
class TrafficRecorder : public QObject {
  Q_OBJECT
 public:
  // `store` keeps whether the log is on ([Log] Enabled); `folder` is where it is kept.
  TrafficRecorder(SettingsStore& store, std::unique_ptr<LogFolder> folder,
                  QObject* parent = nullptr);
  ~TrafficRecorder() override;

  bool wanted() const { return watched_ || log_; }
  // The monitor is open (lines are announced) or closed.
  void setWatched(bool watched) { watched_ = watched; }
  bool logEnabled() const { return log_ != nullptr; }
  void setLogEnabled(bool enabled);

  void sent(char byte);
  void received(const ReceivedTrace& trace, const std::optional<Indicators>& indicators);
  void port(const std::string& what);
  // Writes what the log holds now.
  void flush();

 signals:
  void line(const QString& text);
  void logStopped(const QString& why);

 private:
  void record(TrafficEvent event);
  void endAction();

  SettingsStore& store_;
  std::unique_ptr<LogFolder> folder_;
  std::unique_ptr<IncidentLog> log_;
  bool watched_ = false;
  std::string action_;     // the bytes of the key action under way
  LocalTime actionTime_;
  QTimer actionEnd_;  // fires when the event that sent them is over
  QTimer flushTimer_;
};

// The operator's local time now.
LocalTime localTimeNow();

}  // namespace vqx
