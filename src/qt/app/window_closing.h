// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

#include "app/close_sequence.h"
#include "common/prompts.h"
#include "serial/serial_control.h"

class QWidget;

namespace vqx {

// How the main window ends: the close sequence (close_sequence.h) run from the window's close
// requests and the Exit command. While the sequence waits for the output to drain the cursor is
// busy, a further close request only brings the window to the front, and the sequence alone
// ends the program.
class WindowClosing : public QObject {
  Q_OBJECT
 public:
  // `endProgram` ends the program at once; `pump`, when set, is the event loop and clock the
  // sequence waits with (the real ones otherwise).
  WindowClosing(QWidget& window, SerialControl& serial, Prompts& prompts,
                std::function<void()> endProgram, EventPump* pump);

  // A close request (the close box, the system closing the window): whether the window closes
  // now. One that has output to wait for is granted later, from the event loop, if at all.
  bool closeRequested();
  // The Exit command, once it has closed the port.
  void exit();

 private:
  // Runs the close sequence and, when it says so, ends the program; true then.
  bool endThroughCloseSequence();
  void setWaiting(bool waiting);

  QWidget& window_;
  SerialControl& serial_;
  Prompts& prompts_;
  std::function<void()> endProgram_;
  EventPump* pump_;
  bool ending_ = false;
  bool waiting_ = false;
};

}  // namespace vqx
