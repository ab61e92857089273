// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Claiming a serial line for this program alone, as the serial terminals of Unix do, so that two
// programs never share a line without knowing it:
//  - lock files LCK..<name> in /run/lock and /var/lock, written by lockdev, minicom, picocom and
//    Qt's own QSerialPort, each with its owner's process number first. A lock whose process is
//    alive is honoured, whoever wrote it. One whose process is gone, or that holds no process
//    number, or a symbolic link in its place, is stale and removed; a folder in its place, or a
//    stale lock that cannot be removed, is reported with what is wrong and where.
//  - flock(LOCK_EX | LOCK_NB) on the line, which minicom and picocom take, held on a handle of
//    its own for as long as the port is open.
// (QSerialPort sets TIOCEXCL on the line it opens and clears it when it closes.)

#include <QString>

#include "serial/open_failure.h"

namespace vqx {

struct LineClaim {
  int handle = -1;  // holds the flock while the port is open; -1 when the claim failed
  OpenFailure failure = OpenFailure::None;
  QString detail;  // what is wrong: the system's description, or the lock and its owner
};

// Checks the lock files of the line at `location` (a path), then opens the line and takes its
// flock. The caller closes the handle when it closes the port.
LineClaim claimLine(const QString& location);

}  // namespace vqx
