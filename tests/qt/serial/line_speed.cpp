// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Kept apart: the kernel's termios2 header cannot be combined with the C library's termios.h.
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace vqx::testing {

// The output speed in baud that the terminal behind `fd` is set to, custom speeds included;
// -1 when it cannot be read.
long lineSpeed(int fd) {
  struct termios2 tio {};
  return ::ioctl(fd, TCGETS2, &tio) == 0 ? static_cast<long>(tio.c_ospeed) : -1;
}

}  // namespace vqx::testing
