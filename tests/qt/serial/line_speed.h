// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vqx::testing {

// The output speed in baud that the terminal behind `fd` is set to, custom speeds included;
// -1 when it cannot be read.
long lineSpeed(int fd);

}  // namespace vqx::testing
