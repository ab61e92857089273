// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/app/window_closing.h"

#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <chrono>

namespace vqx {
namespace {

// The close sequence waits in the event loop, a few milliseconds at a time, so a stuck port
// costs next to no processor time while it waits.
class QtEventPump : public EventPump {
 public:
  void pumpBriefly() override {
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
  }
  std::chrono::steady_clock::time_point now() const override {
    return std::chrono::steady_clock::now();
  }
};

}  // namespace

WindowClosing::WindowClosing(QWidget& window, SerialControl& serial, Prompts& prompts,
                             std::function<void()> endProgram, EventPump* pump)
    : QObject(&window),
      window_(window),
      serial_(serial),
      prompts_(prompts),
      endProgram_(std::move(endProgram)),
      pump_(pump) {}

bool WindowClosing::closeRequested() {
  if (ending_) return true;
  if (waiting_) {
    window_.raise();
    window_.activateWindow();
    return false;
  }
  if (!closeSequenceWaits(serial_)) return endThroughCloseSequence();
  // A sequence that waits runs from the event loop, not inside this request: Qt takes a close
  // request that comes while one is being handled as granted, so a second click on the close
  // box during the wait would close the window and end the program under the waiting sequence.
  setWaiting(true);
  QMetaObject::invokeMethod(
      this, [this] { endThroughCloseSequence(); }, Qt::QueuedConnection);
  return false;
}

void WindowClosing::exit() {
  // A close sequence that waits finds the port closed now and ends the program itself.
  if (!waiting_) endThroughCloseSequence();
}

bool WindowClosing::endThroughCloseSequence() {
  if (closeSequenceWaits(serial_)) setWaiting(true);
  QtEventPump realPump;
  const bool ends = runCloseSequence(serial_, prompts_, pump_ ? *pump_ : realPump);
  setWaiting(false);
  if (ends) {
    ending_ = true;
    if (endProgram_) endProgram_();
  }
  return ends;
}

void WindowClosing::setWaiting(bool waiting) {
  if (waiting_ == waiting) return;
  waiting_ = waiting;
  if (waiting) {
    window_.setCursor(Qt::BusyCursor);
  } else {
    window_.unsetCursor();
  }
}

}  // namespace vqx
