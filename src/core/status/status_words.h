// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "status/indicators.h"

namespace vqx {

// What a decoded status frame says, in words, for people reading the traffic on the line: the
// camera on the main monitor, then the lamps that are lit, the keys the device lights and the
// beep, in the order of the panel. For example "camera 12 on the main monitor, live, 4-picture
// key lit". A frame that names no camera starts with "no camera".
std::string describeStatus(const Indicators& indicators);

}  // namespace vqx
