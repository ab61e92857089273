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
#include "status/status_handler.h"
#include "traffic/incident_log.h"
#include "traffic/traffic_record.h"

namespace vqx {

// Keeps what passes over the line for the traffic monitor and the incident log (the lines are
// TrafficRecord's), while either wants it (wanted()): with the monitor closed and the log off
// nothing is done. A key action's bytes are one line when the event that sent them is over. The
// log keeps its lines in memory and writes them at most once a second and when the recorder
// goes; its first failure stops it and is announced once (logStopped). It listens to the status
// receiver for what came in; whoever sends and whoever watches the port tell it the rest.
class TrafficRecorder : public QObject, public StatusListener {
  Q_OBJECT
 public:
  // `store` keeps whether the log is on ([Log] Enabled); `folder` is where it is kept.
  TrafficRecorder(SettingsStore& store, std::unique_ptr<LogFolder> folder,
                  QObject* parent = nullptr);
  ~TrafficRecorder() override;

  bool wanted() const { return watched_ || log_; }
  // The monitor is open (lines are announced) or closed.
  void setWatched(bool watched);
  bool logEnabled() const { return log_ != nullptr; }
  void setLogEnabled(bool enabled);

  void sent(char byte);
  // The key action under way is over now; `origin` names who asked for it when that was not the
  // operator (TrafficRecord::endAction).
  void endAction(std::string_view origin = {}) { record_.endAction(origin); }
  void port(const std::string& what);
  // Writes what the log holds now.
  void flush();

  // StatusListener
  bool wantsTrace() const override { return wanted(); }
  void statusReceived(const ReceivedStatus& status) override;

 signals:
  void line(const QString& text);
  void logStopped(const QString& why);

 private:
  void take(const TrafficEvent& event);

  SettingsStore& store_;
  std::unique_ptr<LogFolder> folder_;
  std::unique_ptr<IncidentLog> log_;
  bool watched_ = false;
  TrafficRecord record_;
  QTimer actionEnd_;  // fires when the event that sent a key action's bytes is over
  QTimer flushTimer_;
};

// The operator's local time now.
LocalTime localTimeNow();

}  // namespace vqx
