// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/support/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cerrno>

namespace vqx::testing {
namespace {

// One slice of waiting: the program's sockets and timers run, then a short wait on the device.
void pumpAndPoll(int fd, short events) {
  QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  pollfd p{fd, events, 0};
  ::poll(&p, 1, 5);
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
  reopen();
}

PseudoTerminal::~PseudoTerminal() {
  closeDevice();
}

bool PseudoTerminal::reopen() {
  closeDevice();
  char name[256] = {};
  if (::openpty(&device_, &terminal_, name, nullptr, nullptr) != 0) return false;
  termios tio{};
  ::tcgetattr(terminal_, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(terminal_, TCSANOW, &tio);
  ::fcntl(device_, F_SETFL, ::fcntl(device_, F_GETFL) | O_NONBLOCK);
  ::fcntl(device_, F_SETFD, FD_CLOEXEC);
  ::fcntl(terminal_, F_SETFD, FD_CLOEXEC);
  path_ = name;
  return true;
}

void PseudoTerminal::closeDevice() {
  if (device_ >= 0) ::close(device_);
  if (terminal_ >= 0) ::close(terminal_);
  device_ = terminal_ = -1;
}

bool PseudoTerminal::write(std::string_view bytes) {
  QElapsedTimer clock;
  clock.start();
  while (!bytes.empty() && device_ >= 0 && clock.elapsed() < 10000) {
    const ssize_t n = ::write(device_, bytes.data(), bytes.size());
    if (n > 0) bytes.remove_prefix(static_cast<std::size_t>(n));
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (n <= 0) pumpAndPoll(device_, POLLOUT);
  }
  return bytes.empty();
}

std::string PseudoTerminal::read(std::size_t count, int timeoutMs) {
  std::string got;
  QElapsedTimer clock;
  clock.start();
  char buffer[4096];
  while (device_ >= 0 && got.size() < count) {
    const ssize_t n = ::read(device_, buffer, std::min(sizeof buffer, count - got.size()));
    if (n > 0) {
      got.append(buffer, static_cast<std::size_t>(n));
    } else if (clock.elapsed() >= timeoutMs) {
      break;
    } else {
      pumpAndPoll(device_, POLLIN);
    }
  }
  return got;
}

}  // namespace vqx::testing
