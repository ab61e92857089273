// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/dbus/bus_start.h"

#include <QCommandLineParser>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <cstdio>

#include "remote/panel_requests.h"

namespace vqx {
namespace {

// How long a second start waits for the running copy to answer.
constexpr int kHandOverMs = 10000;

void tell(const std::string& text) {
  std::fprintf(stderr, "vqx16: %s\n", text.c_str());
}

}  // namespace

std::optional<StartRequest> startRequest(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Front panel controller for ORVEX and ALMEX video multiplexers."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption camera(
      QStringLiteral("camera"), QStringLiteral("Puts camera N (1 to 16) on the main monitor."),
      QStringLiteral("N"));
  const QCommandLineOption press(
      QStringLiteral("press"),
      QStringLiteral("Presses the key of that name (\"Camera 12\", \"Live\", ...)."),
      QStringLiteral("NAME"));
  parser.addOption(camera);
  parser.addOption(press);
  parser.process(arguments);

  StartRequest request;
  if (parser.isSet(camera) && parser.isSet(press)) {
    tell("give --camera or --press, not both");
    return std::nullopt;
  }
  if (parser.isSet(camera)) {
    const std::string text = parser.value(camera).toStdString();
    const auto number = remote::numberIn(text);
    if (!number) {
      tell("--camera takes a number from 1 to 16, not \"" + text + "\"");
      return std::nullopt;
    }
    if (const auto refusal = remote::checkCamera(*number)) {
      tell(refusal->message);
      return std::nullopt;
    }
    request.kind = StartRequest::Kind::Camera;
    request.camera = static_cast<int>(*number);
  } else if (parser.isSet(press)) {
    request.kind = StartRequest::Kind::Press;
    request.key = parser.value(press);
    if (const auto plan = remote::planKey(remote::KeyRequest::Press, request.key.toStdString());
        plan.refusal) {
      tell(plan.refusal->message);
      return std::nullopt;
    }
  }
  return request;
}

bool anotherCopyRuns(const QDBusConnection& bus) {
  const auto owned = bus.interface()->isServiceRegistered(QString::fromLatin1(kBusName));
  return owned.isValid() && owned.value();
}

int handOver(const QDBusConnection& bus, const StartRequest& request) {
  QString method = QStringLiteral("Activate");
  QVariantList arguments;
  if (request.kind == StartRequest::Kind::Camera) {
    method = QStringLiteral("SelectCamera");
    arguments << request.camera;
  } else if (request.kind == StartRequest::Kind::Press) {
    method = QStringLiteral("Press");
    arguments << request.key;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(kBusName), QString::fromLatin1(kBusPath),
      QString::fromLatin1(kBusInterface), method);
  call.setArguments(arguments);
  const QDBusMessage reply = bus.call(call, QDBus::Block, kHandOverMs);
  if (reply.type() != QDBusMessage::ErrorMessage) return 0;
  tell(reply.errorMessage().toStdString());
  return 1;
}

}  // namespace vqx
