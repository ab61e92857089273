// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/app/end_on_signals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace vqx {
namespace {

#ifdef Q_OS_UNIX
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int signalPipe[2] = {-1, -1};

extern "C" void onEndSignal(int sig) {
  const int saved = errno;
  const char number = static_cast<char>(sig);
  [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &number, 1);
  errno = saved;
}
#endif

}  // namespace

EndOnSignals::EndOnSignals(std::function<void()> end, QObject* parent)
    : QObject(parent), end_(std::move(end)) {
#ifdef Q_OS_UNIX
  if (::pipe2(signalPipe, O_NONBLOCK | O_CLOEXEC) != 0) return;
  notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &EndOnSignals::onSignal);
  struct sigaction action {};
  action.sa_handler = onEndSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a call that waits (none should) is cut short, so the program still ends.
  action.sa_flags = 0;
  for (int sig : kSignals) ::sigaction(sig, &action, nullptr);
#endif
}

EndOnSignals::~EndOnSignals() {
#ifdef Q_OS_UNIX
  if (!notifier_) return;
  for (int sig : kSignals) ::signal(sig, SIG_DFL);
  delete notifier_;
  ::close(signalPipe[0]);
  ::close(signalPipe[1]);
  signalPipe[0] = signalPipe[1] = -1;
#endif
}

void EndOnSignals::onSignal() {
#ifdef Q_OS_UNIX
  char numbers[16];
  while (::read(signalPipe[0], numbers, sizeof numbers) > 0) {
  }
#endif
  if (end_) end_();
}

}  // namespace vqx
