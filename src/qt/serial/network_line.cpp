// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/serial/network_line.h"

#include <QNetworkProxy>
#include <QTcpSocket>
#include <utility>

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#endif

namespace vqx {
namespace {

#ifdef Q_OS_LINUX
// A connection whose server is gone without a word is noticed within about 25 s: keepalive
// probes after 10 s of silence, three of them 5 s apart, and sent data that stays unacknowledged
// as long.
void tuneKeepAlive(qintptr handle) {
  const int fd = static_cast<int>(handle);
  const int idle = 10;
  const int interval = 5;
  const int probes = 3;
  const unsigned unacknowledgedMs = 25000;
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
  ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &unacknowledgedMs, sizeof unacknowledgedMs);
}
#endif

}  // namespace

NetworkLine::NetworkLine(QObject* parent) : QObject(parent) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (link_) apply(link_->timeUp());
  });
}

NetworkLine::~NetworkLine() {
  close();
}

void NetworkLine::open(const NetworkAddress& address, const LineSettings& line, int handshaking) {
  close();
  link_.emplace(address, line, handshaking);
  apply(link_->start());
}

void NetworkLine::close() {
  ++session_;
  timer_.stop();
  link_.reset();
  held_.clear();
  dropSocket();
}

void NetworkLine::connectSocket() {
  dropSocket();
  socket_ = new QTcpSocket(this);
  socket_->setProxy(QNetworkProxy::NoProxy);  // a device server is reached directly
  connect(socket_, &QTcpSocket::connected, this, &NetworkLine::onConnected);
  connect(socket_, &QTcpSocket::readyRead, this, [this] {
    if (link_) apply(link_->received(socket_->readAll().toStdString()));
  });
  connect(socket_, &QTcpSocket::errorOccurred, this, &NetworkLine::onError);
  const NetworkAddress& address = link_->address();
  socket_->connectToHost(QString::fromStdString(address.host), quint16(address.port));
}

void NetworkLine::dropSocket() {
  if (socket_ == nullptr) return;
  socket_->disconnect(this);
  // What the system has taken still goes out; Qt's buffer is dropped.
  socket_->abort();
  socket_->deleteLater();
  socket_ = nullptr;
}

void NetworkLine::onConnected() {
  socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  socket_->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#ifdef Q_OS_LINUX
  tuneKeepAlive(socket_->socketDescriptor());
#endif
  if (link_) apply(link_->connected());
}

void NetworkLine::onError(QAbstractSocket::SocketError error) {
  if (!link_) return;
  const unsigned session = session_;
  // What the server said before it closed tells why, as ser2net's "Port already in use" does.
  if (const QByteArray last = socket_->readAll(); !last.isEmpty()) {
    apply(link_->received(last.toStdString()));
    if (session != session_ || !link_) return;
  }
  NetworkLink::SocketEnd end = NetworkLink::SocketEnd::Other;
  if (error == QAbstractSocket::ConnectionRefusedError) end = NetworkLink::SocketEnd::Refused;
  if (error == QAbstractSocket::HostNotFoundError) end = NetworkLink::SocketEnd::HostNotFound;
  if (error == QAbstractSocket::RemoteHostClosedError) {
    end = NetworkLink::SocketEnd::ClosedByServer;
  }
  apply(link_->ended(end, socket_->errorString().toLower().toStdString()));
}

void NetworkLine::apply(NetworkLink::Step step) {
  if (step.disconnect) dropSocket();
  if (step.connect) connectSocket();
  if (!step.send.empty() && socket_) socket_->write(step.send.data(), qint64(step.send.size()));
  if (step.timer) timer_.start(static_cast<int>(step.timer->count()));
  if (step.failure != OpenFailure::None) {
    close();
    emit openFailed(step.failure, step.detail);
    return;
  }
  if (!step.lost.empty()) {
    close();
    emit lost(step.lost);
    return;
  }
  // Each listener may close the port, or open it anew, while it is told.
  const unsigned session = session_;
  if (step.opened) {
    if (!held_.isEmpty() && socket_) socket_->write(std::exchange(held_, {}));
    emit opened();
  }
  for (const std::string& refusal : step.refusals) {
    if (session == session_) emit lineWarning(refusal, true);
  }
  if (!step.warning.empty() && session == session_) emit lineWarning(step.warning, false);
  if (!step.data.empty() && session == session_) {
    emit received(QByteArray(step.data.data(), qsizetype(step.data.size())));
  }
}

std::string NetworkLine::encode(std::string_view bytes) const {
  return link_ ? link_->encode(bytes) : std::string(bytes);
}

void NetworkLine::write(const std::string& wire) {
  if (!link_) return;
  if (connecting()) {
    held_.append(wire.data(), qsizetype(wire.size()));
  } else {
    socket_->write(wire.data(), qint64(wire.size()));
  }
}

void NetworkLine::setLine(const LineSettings& line, int handshaking) {
  if (link_) apply(link_->setLine(line, handshaking));
}

int NetworkLine::queued() const {
  return static_cast<int>(held_.size() + (socket_ ? socket_->bytesToWrite() : 0));
}

int NetworkLine::unacknowledged() const {
  int sent = 0;
#ifdef Q_OS_LINUX
  if (socket_ && socket_->socketDescriptor() >= 0 &&
      ::ioctl(static_cast<int>(socket_->socketDescriptor()), TIOCOUTQ, &sent) != 0) {
    sent = 0;
  }
#endif
  return queued() + sent;
}

}  // namespace vqx
