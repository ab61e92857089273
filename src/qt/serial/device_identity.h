// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "serial/serial_control.h"

namespace vqx {

// The identity of the device at `location` (a path), as link recovery compares it: a USB
// adapter's vendor, product and serial number, read from the system's device tree as
// QSerialPortInfo reads them (without listing every port of the system, which takes a tenth of
// a second); otherwise the device number and the time its node was made, which a terminal given
// the same name later does not share. When the path is a link, the link's own inode and time of
// making too. Empty device when nothing is there.
DeviceIdentity identifyDevice(const QString& location);

}  // namespace vqx
