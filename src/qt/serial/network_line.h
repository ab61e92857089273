// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <optional>
#include <string>
#include <string_view>

#include "serial/network_link.h"

class QTcpSocket;

namespace vqx {

// The line of a port whose device is behind a device server: one QTcpSocket at a time, driven
// by the core's NetworkLink (when the port counts as open, what is the device's, what goes to
// the server, how a failure is worded) and its one timer. Nothing waits: the host is looked up
// and the connection made from the event loop, and every outcome comes as a signal.
//
// No Nagle delay: a three-byte command leaves at once. TCP keepalive, on Linux probing after 10 s
// of silence and giving up after three unanswered probes 5 s apart, tells a connection whose
// server went away without a word (rebooted, cable pulled) from a quiet device; the device's
// silence shows in the link state long before.
class NetworkLine : public QObject {
  Q_OBJECT

 public:
  explicit NetworkLine(QObject* parent = nullptr);
  ~NetworkLine() override;

  // Starts reaching the server: opened() or openFailed() tells how it went.
  void open(const NetworkAddress& address, const LineSettings& line, int handshaking);
  // Gives up the connection, or the attempt, dropping what was not handed to the system yet;
  // nothing more is told of it.
  void close();
  bool active() const { return link_.has_value(); }
  bool connecting() const { return link_ && link_->stage() != NetworkLink::Stage::Open; }

  // The device's bytes as they travel (every 0xFF doubled over RFC 2217), and their sending:
  // held until the port is open.
  std::string encode(std::string_view bytes) const;
  void write(const std::string& wire);
  void setLine(const LineSettings& line, int handshaking);
  // Bytes not yet handed to the system: held until open, and in Qt's buffer.
  int queued() const;
  // Those and the ones the system has sent but the server not yet acknowledged.
  int unacknowledged() const;

 signals:
  void opened();
  // The opening failed, as openFailureText(failure, label, detail) words it.
  void openFailed(OpenFailure failure, const std::string& detail);
  void lost(const std::string& description);
  void received(const QByteArray& data);
  // The open line may not run with the settings chosen: a refusal, worded as the detail of
  // OpenFailure::Refused, or a warning about replies still missing.
  void lineWarning(const std::string& text, bool refused);

 private:
  void apply(NetworkLink::Step step);
  void connectSocket();
  void dropSocket();
  void onConnected();
  void onError(QAbstractSocket::SocketError error);

  QTcpSocket* socket_ = nullptr;
  QTimer timer_;
  std::optional<NetworkLink> link_;
  QByteArray held_;       // written before the port opened
  unsigned session_ = 0;  // counts openings and closings: a listener may do either meanwhile
};

}  // namespace vqx
