// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the serial control's line settings and handshaking map onto QSerialPort and, where
// QSerialPort falls short, onto the terminal attributes of the open device.

#include <QSerialPort>
#include <QtGlobal>

#include "common/result.h"
#include "serial/settings_text.h"

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

namespace vqx {

// Fails with a description when this system cannot put the settings on a line: 4 data bits
// (no driver offers them) and, where the terminal interface has no such setting, 1.5 stop bits.
// The caller then keeps its previous settings rather than have them silently changed.
Result checkLineSupported(const LineSettings& settings);

// QSerialPort's values for settings that passed checkLineSupported().
QSerialPort::Parity qtParity(char parity);
QSerialPort::DataBits qtDataBits(int dataBits);
QSerialPort::StopBits qtStopBits(StopBits stopBits);
// QSerialPort's flow control for handshaking 0 to 3. For 3 it gives RTS/CTS;
// adjustTermios() then adds XON/XOFF.
QSerialPort::FlowControl qtFlowControl(int handshaking);

#ifdef Q_OS_UNIX
// What QSerialPort leaves wrong on the terminal attributes, set right: stick (mark/space) parity
// cleared for e, o and n (QSerialPort sets CMSPAR for m and s but never clears it), XON/XOFF
// added to RTS/CTS for handshaking 3 (QSerialPort offers one or the other), and IXANY cleared
// (QSerialPort sets it with XON/XOFF, so that any received byte would end an XOFF).
void adjustTermios(termios& tio, char parity, int handshaking);

// Whether a line's terminal attributes carry the settings: data bits, stop bits and parity. The
// parity-enable bit only counts for no parity: a pseudo-terminal never keeps it (it has no wire
// to check parity on) but does keep odd, mark and space. The speed is not compared: a driver may
// round a speed it cannot make exactly.
bool lineCarries(const termios& tio, const LineSettings& settings);
#endif

}  // namespace vqx
