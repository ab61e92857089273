// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QStringList>
#include <optional>

#include "qt/dbus/panel_service.h"

namespace vqx {

// The start's options: --camera N, --press NAME (and --help, --version, which end the program
// here). A request the panel would refuse (camera 17, a key of no such name) is told on standard
// error, and nothing is returned.
std::optional<StartRequest> startRequest(const QStringList& arguments);

// Whether another copy of the program has the name on the bus.
bool anotherCopyRuns(const QDBusConnection& bus);

// A second start: the request goes to the copy that runs, or, without one, that copy is asked to
// bring its window to the front. Returns the program's exit status: 0 when it was done, 1 with
// the refusal on standard error.
int handOver(const QDBusConnection& bus, const StartRequest& request);

}  // namespace vqx
