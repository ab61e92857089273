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
#include <limits>

namespace vqx::testing {
namespace {

// One slice of waiting: lets the program's sockets and timers run, then waits a little for the
// device end to become ready.
bool pumpAndPoll(int fd, short events, int sliceMs) {
  QCoreApplication::processEvents(QEventLoop::AllEvents, sliceMs);
  pollfd p{fd, events, 0};
  return ::poll(&p, 1, sliceMs) > 0 && (p.revents & events);
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
  reopen();
}

PseudoTerminal::~PseudoTerminal() {
  closeAll();
}

bool PseudoTerminal::reopen() {
  closeAll();
  int master = -1;
  int slave = -1;
  char name[256] = {};
  if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) return false;
  termios tio{};
  if (::tcgetattr(slave, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
  }
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  ::fcntl(master, F_SETFD, FD_CLOEXEC);
  ::fcntl(slave, F_SETFD, FD_CLOEXEC);
  device_ = master;
  terminal_ = slave;
  path_ = name;
  return true;
}

void PseudoTerminal::closeDevice() {
  if (device_ >= 0) ::close(device_);
  if (terminal_ >= 0) ::close(terminal_);
  device_ = terminal_ = -1;
}

void PseudoTerminal::closeAll() {
  closeDevice();
  path_.clear();
}

bool PseudoTerminal::write(std::string_view bytes) {
  if (device_ < 0) return false;
  QElapsedTimer clock;
  clock.start();
  while (!bytes.empty()) {
    const ssize_t n = ::write(device_, bytes.data(), bytes.size());
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      return false;
    } else if (clock.elapsed() > 1000) {
      return false;
    } else {
      pumpAndPoll(device_, POLLOUT, 5);
    }
  }
  return true;
}

std::string PseudoTerminal::read(std::size_t count, int timeoutMs) {
  std::string got;
  if (device_ < 0) return got;
  QElapsedTimer clock;
  clock.start();
  char buffer[4096];
  while (got.size() < count) {
    const ssize_t n = ::read(device_, buffer, std::min(sizeof buffer, count - got.size()));
    if (n > 0) {
      got.append(buffer, static_cast<std::size_t>(n));
      continue;
    }
    if (clock.elapsed() >= timeoutMs) break;
    pumpAndPoll(device_, POLLIN, 5);
  }
  return got;
}

std::string PseudoTerminal::readFor(int timeoutMs) {
  return read(std::numeric_limits<std::size_t>::max(), timeoutMs);
}

}  // namespace vqx::testing
