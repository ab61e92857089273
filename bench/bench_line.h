// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmarks' serial line: a raw pseudo-terminal pair. The program opens the terminal end by
// path(); the benchmark plays the device on the other end (deviceFd(), non-blocking).
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <string>

namespace vqx::bench {

class BenchLine {
 public:
  BenchLine() {
    char name[256] = {};
    if (::openpty(&device_, &terminal_, name, nullptr, nullptr) != 0) return;
    termios tio{};
    ::tcgetattr(terminal_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(terminal_, TCSANOW, &tio);
    ::fcntl(device_, F_SETFL, ::fcntl(device_, F_GETFL) | O_NONBLOCK);
    path_ = name;
  }
  ~BenchLine() {
    if (device_ >= 0) ::close(device_);
    if (terminal_ >= 0) ::close(terminal_);
  }
  BenchLine(const BenchLine&) = delete;
  BenchLine& operator=(const BenchLine&) = delete;

  bool isOpen() const { return !path_.empty(); }
  const std::string& path() const { return path_; }
  int deviceFd() const { return device_; }

  // Up to `count` bytes the program sent, waiting at most `timeoutMs` while Qt's events run.
  std::string read(std::size_t count, int timeoutMs) {
    std::string got;
    char buffer[4096];
    QElapsedTimer clock;
    for (clock.start(); got.size() < count && clock.elapsed() < timeoutMs;) {
      const ssize_t n = ::read(device_, buffer, std::min(sizeof buffer, count - got.size()));
      if (n > 0) {
        got.append(buffer, static_cast<std::size_t>(n));
        continue;
      }
      QCoreApplication::processEvents();
      pollfd wait{device_, POLLIN, 0};
      ::poll(&wait, 1, 5);
    }
    return got;
  }
  std::string readFor(int timeoutMs) { return read(std::string::npos, timeoutMs); }

 private:
  int device_ = -1, terminal_ = -1;
  std::string path_;
};

}  // namespace vqx::bench
