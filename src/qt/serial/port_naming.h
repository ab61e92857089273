// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

#include "common/settings_store.h"

namespace vqx {

// The device that serial port `port` (1 for the first) stands for. The key Com<port> of the
// section "Ports" of the stored settings names it when present (for example
// Com1=/dev/ttyUSB0); otherwise port n is COM<n> on Windows and /dev/ttyS<n-1> elsewhere.
QString portDeviceName(int port, const SettingsStore& store);
// Stores the device that port `port` stands for under that key; an empty one gives it back to
// its default.
void setPortDeviceName(int port, SettingsStore& store, const std::string& device);

// Where QSerialPort looks for a port name on this system: a bare name such as "ttyUSB0" is a
// device in /dev, a path is taken as it stands.
QString systemLocation(const QString& device);

}  // namespace vqx
