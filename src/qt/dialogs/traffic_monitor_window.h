// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace vqx {

class TrafficRecorder;

// The traffic monitor: a live list of what passes over the line, one event a line, newest at
// the bottom, the last 10,000 kept; Pause, Clear, Copy all, and the incident log's switch. Not
// modal; it deletes itself when closed, and the recorder stops announcing lines to it.
// Object names: frmMonitor, lstTraffic, cmdPause, cmdClear, cmdCopy, chkLog.
class TrafficMonitorWindow : public QWidget {
  Q_OBJECT
 public:
  explicit TrafficMonitorWindow(TrafficRecorder& recorder, QWidget* parent = nullptr);
  ~TrafficMonitorWindow() override;

  // The lines shown, oldest first.
  QStringList lines() const;

 private:
  void addLine(const QString& text);
  void showHeld();

  TrafficRecorder& recorder_;
  QPlainTextEdit* list_ = nullptr;
  QPushButton* pause_ = nullptr;
  QCheckBox* log_ = nullptr;
  QStringList held_;  // lines not yet shown: they are shown a few at a time
  QTimer show_;
};

inline constexpr int kMonitorLines = 10000;

}  // namespace vqx
