// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Kept apart: the kernel's termios2 header cannot be combined with the C library's termios.h.
#include "qt/serial/line_speed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace vqx::testing {

long lineSpeed(int fd) {
  struct termios2 tio {};
  if (::ioctl(fd, TCGETS2, &tio) != 0) return -1;
  return static_cast<long>(tio.c_ospeed);
}

}  // namespace vqx::testing
