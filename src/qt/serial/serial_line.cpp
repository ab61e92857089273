// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/serial/serial_line.h"

namespace vqx {

Result checkLineSupported(const LineSettings& s) {
  if (s.dataBits < 5 || s.dataBits > 8) {
    return Result::fail(std::to_string(s.dataBits) + " data bits are not supported by this system");
  }
#ifndef Q_OS_WIN
  if (s.stopBits == StopBits::OneAndHalf) {
    return Result::fail("1.5 stop bits are not supported by this system");
  }
#endif
  return Result::ok();
}

QSerialPort::Parity qtParity(char parity) {
  switch (parity) {
    case 'e':
      return QSerialPort::EvenParity;
    case 'o':
      return QSerialPort::OddParity;
    case 'm':
      return QSerialPort::MarkParity;
    case 's':
      return QSerialPort::SpaceParity;
    default:
      return QSerialPort::NoParity;
  }
}

QSerialPort::DataBits qtDataBits(int dataBits) {
  switch (dataBits) {
    case 5:
      return QSerialPort::Data5;
    case 6:
      return QSerialPort::Data6;
    case 7:
      return QSerialPort::Data7;
    default:
      return QSerialPort::Data8;
  }
}

QSerialPort::StopBits qtStopBits(StopBits stopBits) {
  switch (stopBits) {
    case StopBits::OneAndHalf:
      return QSerialPort::OneAndHalfStop;
    case StopBits::Two:
      return QSerialPort::TwoStop;
    default:
      return QSerialPort::OneStop;
  }
}

QSerialPort::FlowControl qtFlowControl(int handshaking) {
  switch (handshaking) {
    case 1:
      return QSerialPort::SoftwareControl;
    case 2:
    case 3:
      return QSerialPort::HardwareControl;
    default:
      return QSerialPort::NoFlowControl;
  }
}

#ifdef Q_OS_UNIX
void adjustTermios(termios& tio, char parity, int handshaking) {
#ifdef CMSPAR
  if (parity != 'm' && parity != 's') tio.c_cflag &= ~tcflag_t(CMSPAR);
#else
  (void)parity;
#endif
  if (handshaking == 3) tio.c_iflag |= IXON | IXOFF;
  // Only XON restarts output stopped by XOFF: the device sends a status frame every second, so
  // with "any character restarts" an XOFF would hold for a second at most.
  tio.c_iflag &= ~tcflag_t(IXANY);
}

bool lineCarries(const termios& tio, const LineSettings& s) {
  const tcflag_t size = s.dataBits == 5 ? CS5 : s.dataBits == 6 ? CS6 : s.dataBits == 7 ? CS7 : CS8;
  if ((tio.c_cflag & CSIZE) != size) return false;
  if (((tio.c_cflag & CSTOPB) != 0) != (s.stopBits == StopBits::Two)) return false;
  if (s.parity == 'n') return (tio.c_cflag & PARENB) == 0;
  if (((tio.c_cflag & PARODD) != 0) != (s.parity == 'o' || s.parity == 'm')) return false;
#ifdef CMSPAR
  if (((tio.c_cflag & CMSPAR) != 0) != (s.parity == 'm' || s.parity == 's')) return false;
#endif
  return true;
}
#endif

}  // namespace vqx
