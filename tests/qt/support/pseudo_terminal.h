// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vqx::testing {

// A pseudo-terminal pair, both ends raw. The program opens the terminal end by path() (mapped
// as a port in the stored "Ports" section); the test plays the device on the other end. The
// helper also holds the terminal end open, so the line's attributes can be read while the
// program has it open, and lets go of both in closeDevice(), as an unplugged adapter does.
class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool isOpen() const { return device_ >= 0; }
  const std::string& path() const { return path_; }
  int deviceFd() const { return device_; }
  int terminalFd() const { return terminal_; }  // for tcgetattr only

  // Sends bytes from the device; false when they were not all taken within ten seconds.
  bool write(std::string_view bytes);
  // What the program sent: up to `count` bytes, waiting at most `timeoutMs` for them while the
  // Qt event loop runs. readFor() takes everything that arrives within the time.
  std::string read(std::size_t count, int timeoutMs = 10000);
  std::string readFor(int timeoutMs) { return read(std::string::npos, timeoutMs); }

  void closeDevice();
  // A fresh pair, with a new path().
  bool reopen();

 private:
  int device_ = -1;
  int terminal_ = -1;
  std::string path_;
};

}  // namespace vqx::testing
