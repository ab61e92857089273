// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/serial/qt_serial_control.h"

#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

#include "dialogs/port_device.h"
#include "qt/serial/device_identity.h"
#include "qt/serial/port_devices.h"
#include "qt/serial/port_naming.h"
#include "qt/serial/serial_line.h"
#include "serial/network_address.h"

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace vqx {
namespace {

// Failed reads in a row, with the device still answering, after which the line is taken as
// gone: QSerialPort keeps retrying a read that fails, so this bounds the work it can cause.
constexpr int kReadErrorLimit = 1000;
constexpr int kWatchdogMs = 1000;

Result failed(const QString& description) {
  return Result::fail(description.toStdString());
}

// A network address is known by itself: the address that was lost is the one taken up again.
DeviceIdentity networkIdentity(const std::string& device) {
  const ParsedNetworkAddress parsed = parseNetworkAddress(device);
  return {device, {}, parsed.result ? networkAddressText(parsed.address) : device};
}

}  // namespace

QtSerialControl::QtSerialControl(const SettingsStore& store, QObject* parent)
    : QObject(parent),
      store_(store),
      port_(new QSerialPort(this)),
      network_(new NetworkLine(this)) {
  connect(port_, &QSerialPort::readyRead, this, &QtSerialControl::onReadyRead);
  connect(port_, &QSerialPort::errorOccurred, this, &QtSerialControl::onError);
  connect(network_, &NetworkLine::received, this, &QtSerialControl::takeReceived);
  connect(network_, &NetworkLine::opened, this, [this] { raisePortEvent(PortEvent::Opened, {}); });
  connect(network_, &NetworkLine::openFailed, this,
          [this](OpenFailure failure, const std::string& detail) {
            const std::string label = portLabel(commPort_, device_.toStdString());
            device_.clear();
            raisePortEvent(PortEvent::OpenFailed, openFailureText(failure, label, detail));
          });
  connect(network_, &NetworkLine::lost, this, [this](const std::string& description) {
    device_.clear();
    raiseDeviceLost(description);
  });
  connect(network_, &NetworkLine::lineWarning, this, [this](const std::string& text, bool refused) {
    const std::string label = portLabel(commPort_, device_.toStdString());
    raiseLineWarning(refused ? openFailureText(OpenFailure::Refused, label, text) : text, refused);
  });
  watchdog_.setInterval(kWatchdogMs);
  connect(&watchdog_, &QTimer::timeout, this, &QtSerialControl::checkDevice);
}

QtSerialControl::~QtSerialControl() {
  // Closing drops queued output; nothing is raised from a destructor.
  if (port_->isOpen()) closePort();
}

bool QtSerialControl::portOpen() const {
  return (port_->isOpen() && !lost_) || network_->active();
}

bool QtSerialControl::portConnecting() const {
  return network_->connecting();
}

Result QtSerialControl::changePortOpen(bool open) {
  if (!open) {
    if (network_->active()) {
      network_->close();
      device_.clear();
    }
    if (port_->isOpen()) closePort();
    return Result::ok();
  }
  if (portOpen()) return Result::fail("Port already open");

  const QString device = portDeviceName(commPort_, store_);
  if (isNetworkAddress(device.toStdString())) return openNetwork(device);
  // Only a serial line, or a pseudo-terminal that another program serves, is opened at all: the
  // Device... button's check, made again for a device written into [Ports] by hand.
  if (const Result line =
          acceptDevicePath(device.toStdString(), deviceFacts(systemLocation(device)));
      !line) {
    return openFailed(OpenFailure::NoLine, device, QString::fromStdString(line.error()));
  }
  // The line is claimed first (see line_lock.h); a device that is not there fails there at once,
  // before QSerialPort makes and removes its lock file.
  const LineClaim claim = claimLine(systemLocation(device));
  if (claim.failure != OpenFailure::None) return openFailed(claim.failure, device, claim.detail);
  lineHandle_ = claim.handle;
  port_->setPortName(device);
  // Settings given to a closed QSerialPort are applied when it opens.
  port_->setBaudRate(static_cast<qint32>(line_.speed));
  port_->setDataBits(qtDataBits(line_.dataBits));
  port_->setParity(qtParity(line_.parity));
  port_->setStopBits(qtStopBits(line_.stopBits));
  port_->setFlowControl(qtFlowControl(handshaking_));
  if (!port_->open(QIODevice::ReadWrite)) {
    OpenFailure failure = OpenFailure::Other;
    if (port_->error() == QSerialPort::DeviceNotFoundError) failure = OpenFailure::Missing;
    if (port_->error() == QSerialPort::PermissionError) {
#ifdef Q_OS_UNIX
      // The line opened for the claim above: the refusal is about QSerialPort's lock file.
      failure = OpenFailure::LockFile;
#else
      failure = OpenFailure::InUse;  // Windows gives a port to one program at a time
#endif
    }
    const QString why = port_->errorString();
    port_->clearError();
    releaseLine();
    return openFailed(failure, device, why);
  }
  device_ = device;
  opened_ = identifyDevice(systemLocation(device));
  ++session_;
  lost_ = false;
  readErrorsInRow_ = 0;
  received_.clear();
  adjustNative(line_.parity, handshaking_);
#ifdef Q_OS_UNIX
  ::ioctl(port_->handle(), TIOCEXCL);  // nobody else opens the line while it is ours
  // QSerialPort does not check the settings it gives the line as it opens; a line that did not
  // take them would run with settings other than the ones shown.
  termios tio{};
  if (::tcgetattr(port_->handle(), &tio) == 0 && !lineCarries(tio, line_)) {
    closePort();
    return openFailed(OpenFailure::Refused, device,
                      QString::fromStdString(formatLineSettings(line_)));
  }
#endif
  // A line without modem signals (a pseudo-terminal) refuses DTR; that is no reason to fail.
  port_->setDataTerminalReady(true);
  port_->clearError();
  watchdog_.start();
  return Result::ok();
}

Result QtSerialControl::openNetwork(const QString& device) {
  const ParsedNetworkAddress parsed = parseNetworkAddress(device.toStdString());
  if (!parsed.result) {
    return openFailed(OpenFailure::NoLine, device, QString::fromStdString(parsed.result.error()));
  }
  device_ = device;
  opened_ = networkIdentity(device.toStdString());
  received_.clear();
  network_->open(parsed.address, line_, handshaking_);
  return Result::ok();
}

// Whether the line settings are for a device server: the port is open on one, or closed with a
// mapping that names one. Its line, not this system's, decides what it takes.
bool QtSerialControl::onNetwork() const {
  if (portOpen()) return network_->active();
  return isNetworkAddress(portDeviceName(commPort_, store_).toStdString());
}

DeviceIdentity QtSerialControl::deviceAtPort() const {
  const QString device = portDeviceName(commPort_, store_);
  if (isNetworkAddress(device.toStdString())) return networkIdentity(device.toStdString());
  return identifyDevice(systemLocation(device));
}

Result QtSerialControl::openFailed(OpenFailure failure, const QString& device,
                                   const QString& detail) {
  return Result::fail(
      openFailureText(failure, portLabel(commPort_, device.toStdString()), detail.toStdString()));
}

void QtSerialControl::releaseLine() {
#ifdef Q_OS_UNIX
  if (lineHandle_ >= 0) ::close(lineHandle_);
#endif
  lineHandle_ = -1;
}

void QtSerialControl::closePort() {
  watchdog_.stop();
#ifdef Q_OS_UNIX
  // Queued output is dropped, not waited for: without this, closing a line held by flow control
  // would wait for the driver's closing timeout. With nothing queued, nothing is flushed.
  if (port_->handle() >= 0 && port_->bytesToWrite() + driverQueued() > 0) {
    ::tcflush(port_->handle(), TCOFLUSH);
  }
#endif
  port_->close();
  releaseLine();
  port_->clearError();
  lost_ = false;
  device_.clear();
}

Result QtSerialControl::setCommPort(int port) {
  if (port < 1 || port > 255) {
    return Result::fail("Invalid port number " + std::to_string(port) + ": 1 to 255");
  }
  if (portOpen()) return Result::fail("Port already open");
  commPort_ = port;
  return Result::ok();
}

Result QtSerialControl::setSettings(const std::string& text) {
  const ParsedLineSettings parsed = parseLineSettings(text);
  if (!parsed.result) return parsed.result;
  if (onNetwork()) {
    if (parsed.settings != line_) network_->setLine(parsed.settings, handshaking_);
    line_ = parsed.settings;
    return Result::ok();
  }
  if (auto supported = checkLineSupported(parsed.settings); !supported) return supported;
  if (portOpen()) {
    if (auto applied = applyLine(parsed.settings); !applied) {
      (void)applyLine(line_);  // put the line back as it was
      return applied;
    }
  }
  line_ = parsed.settings;
  return Result::ok();
}

Result QtSerialControl::applyLine(const LineSettings& line) {
  const bool ok = port_->setBaudRate(static_cast<qint32>(line.speed)) &&
                  port_->setDataBits(qtDataBits(line.dataBits)) &&
                  port_->setParity(qtParity(line.parity)) &&
                  port_->setStopBits(qtStopBits(line.stopBits));
  if (!ok) {
    const QString why = port_->errorString();
    port_->clearError();
    return failed(QStringLiteral("Cannot set %1 on %2: %3")
                      .arg(QString::fromStdString(formatLineSettings(line)), device_, why));
  }
  adjustNative(line.parity, handshaking_);
  return Result::ok();
}

Result QtSerialControl::setHandshaking(long long handshaking) {
  if (handshaking < 0 || handshaking > 3) {
    return Result::fail("Invalid handshaking " + std::to_string(handshaking) +
                        ": 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both");
  }
  const int value = static_cast<int>(handshaking);
  if (network_->active() && value != handshaking_) network_->setLine(line_, value);
  if (portOpen() && !network_->active()) {
    if (auto applied = applyHandshaking(value); !applied) {
      (void)applyHandshaking(handshaking_);
      return applied;
    }
  }
  handshaking_ = value;
  return Result::ok();
}

Result QtSerialControl::applyHandshaking(int handshaking) {
  if (!port_->setFlowControl(qtFlowControl(handshaking))) {
    const QString why = port_->errorString();
    port_->clearError();
    return failed(QStringLiteral("Cannot set handshaking on %1: %2").arg(device_, why));
  }
  adjustNative(line_.parity, handshaking);
  return Result::ok();
}

void QtSerialControl::adjustNative(char parity, int handshaking) {
#ifdef Q_OS_UNIX
  const int fd = port_->handle();
  termios tio{};
  if (fd < 0 || ::tcgetattr(fd, &tio) != 0) return;
  const termios before = tio;
  adjustTermios(tio, parity, handshaking);
  if (std::memcmp(&tio, &before, sizeof tio) != 0) ::tcsetattr(fd, TCSANOW, &tio);
#else
  (void)parity;
  (void)handshaking;
#endif
}

Result QtSerialControl::output(std::string_view bytes) {
  if (!portOpen()) return Result::fail("Port not open");
  const std::string wire = network_->active() ? network_->encode(bytes) : std::string();
  const std::size_t size = network_->active() ? wire.size() : bytes.size();
  if (const int room = sendQueueRoom(); static_cast<qint64>(size) > room) {
    return Result::fail("Send queue full: " + std::to_string(kSendQueueSize - room) + " of " +
                        std::to_string(kSendQueueSize) + " bytes waiting");
  }
  if (bytes.empty()) return Result::ok();
  if (network_->active()) {
    network_->write(wire);
    return Result::ok();
  }
  if (port_->write(bytes.data(), static_cast<qint64>(bytes.size())) !=
      static_cast<qint64>(bytes.size())) {
    const QString why = port_->errorString();
    port_->clearError();
    return failed(why);
  }
  return Result::ok();
}

int QtSerialControl::sendQueueRoom() const {
  if (network_->active()) return kSendQueueSize - network_->queued();
  return portOpen() ? kSendQueueSize - static_cast<int>(port_->bytesToWrite()) : 0;
}

int QtSerialControl::outBufferCount() const {
  if (network_->active()) return network_->unacknowledged();
  return portOpen() ? static_cast<int>(port_->bytesToWrite()) + driverQueued() : 0;
}

int QtSerialControl::driverQueued() const {
#ifdef Q_OS_UNIX
  int queued = 0;
  if (port_->handle() >= 0 && ::ioctl(port_->handle(), TIOCOUTQ, &queued) == 0) return queued;
#endif
  return 0;
}

std::string QtSerialControl::input() {
  std::string bytes = received_.toStdString();
  received_.clear();
  return bytes;
}

void QtSerialControl::onReadyRead() {
  if (lost_) return;
  const QByteArray bytes = port_->readAll();
  if (bytes.isEmpty()) return;
  readErrorsInRow_ = 0;
  takeReceived(bytes);
}

void QtSerialControl::takeReceived(const QByteArray& bytes) {
  received_.append(bytes);
  const qsizetype excess = received_.size() - kReceiveQueueSize;
  if (excess > 0) {
    received_.remove(0, excess);
    event_ = kCommErrorRxOver;
    raiseCommEvent();
  }
  if (!received_.isEmpty() && portOpen()) {
    event_ = kCommEventReceive;
    raiseCommEvent();
  }
}

void QtSerialControl::onError(QSerialPort::SerialPortError error) {
  if (lost_ || !port_->isOpen()) return;
  switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError: {
      QString why = vanishedReason();
      if (why.isEmpty() && error == QSerialPort::ResourceError) why = port_->errorString();
      if (why.isEmpty() && error == QSerialPort::ReadError &&
          ++readErrorsInRow_ >= kReadErrorLimit) {
        why = port_->errorString();
      }
      if (!why.isEmpty()) loseDevice(why);
      break;
    }
    default:
      // Other errors belong to the call that caused them, which reports them itself.
      break;
  }
}

void QtSerialControl::checkDevice() {
  if (lost_ || !port_->isOpen()) return;
  const QString why = vanishedReason();
  if (!why.isEmpty()) loseDevice(why);
}

QString QtSerialControl::vanishedReason() const {
#ifdef Q_OS_UNIX
  termios tio{};
  if (::tcgetattr(port_->handle(), &tio) != 0) {
    return QStringLiteral("%1: device no longer available (%2)")
        .arg(device_, QString::fromLocal8Bit(std::strerror(errno)));
  }
  if (!QFileInfo::exists(systemLocation(device_))) {
    return QStringLiteral("%1: device no longer available (removed)").arg(device_);
  }
#endif
  return {};
}

void QtSerialControl::loseDevice(const QString& description) {
  lost_ = true;
  watchdog_.stop();
  // The loss is usually noticed inside QSerialPort's own notifier; closing there would delete
  // the notifier under its feet. Stop it now (so a dead handle cannot keep waking the event
  // loop) and close the port from the event loop.
  for (QSocketNotifier* notifier : port_->findChildren<QSocketNotifier*>()) {
    notifier->setEnabled(false);
  }
  const unsigned session = session_;
  QMetaObject::invokeMethod(
      this,
      [this, session, description] {
        if (session != session_ || !lost_ || !port_->isOpen()) return;
        closePort();
        raiseDeviceLost(description.toStdString());
      },
      Qt::QueuedConnection);
}

}  // namespace vqx
