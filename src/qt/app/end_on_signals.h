// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace vqx {

// SIGTERM, SIGINT and SIGHUP (a service manager, Ctrl+C, a logout) end the program through the
// event loop: the handler does nothing but write the signal's number to a pipe, and `end` runs
// when the event loop finds it there. Left to their default, these signals would kill the
// program with the port open, leaving its lock file and, on a pseudo-terminal, its exclusive
// flag behind. While this object lives the signals are handled; afterwards they are default
// again.
class EndOnSignals : public QObject {
 public:
  explicit EndOnSignals(std::function<void()> end, QObject* parent = nullptr);
  ~EndOnSignals() override;

 private:
  void onSignal();

  std::function<void()> end_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vqx
