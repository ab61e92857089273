// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/serial/link_supervisor.h"

#include "qt/serial/port_naming.h"
#include "serial/open_failure.h"

namespace vqx {
namespace {

// How often a lost device is looked for while it is awaited.
constexpr int kRecoveryLookMs = 1000;

}  // namespace

LinkSupervisor::LinkSupervisor(SerialControl& serial, const SettingsStore& store, Prompts& prompts,
                               QObject* parent)
    : QObject(parent), serial_(serial), store_(store), prompts_(prompts) {
  recoveryTimer_.setObjectName("linkRecoveryTimer");
  recoveryTimer_.setInterval(kRecoveryLookMs);
  connect(&recoveryTimer_, &QTimer::timeout, this, &LinkSupervisor::checkLostDevice);
  stateTimer_.setObjectName("linkStateTimer");
  stateTimer_.setSingleShot(true);
  connect(&stateTimer_, &QTimer::timeout, this, &LinkSupervisor::showState);
  serial_.addListener(*this);
}

LinkSupervisor::~LinkSupervisor() {
  serial_.removeListener(*this);
}

std::string LinkSupervisor::label() const {
  return portLabel(serial_.commPort(), device());
}

std::string LinkSupervisor::device() const {
  std::string device = serial_.portOpen() ? serial_.openedDevice().path : "";
  if (device.empty()) device = portDeviceName(serial_.commPort(), store_).toStdString();
  return device;
}

void LinkSupervisor::showLink() {
  label_ = QString::fromStdString(label());
  shown_ = {};  // shown anew whatever it was
  showState();
}

void LinkSupervisor::showState() {
  const LinkView view = watch_.view();
  if (!(view == shown_) || shown_.word.empty()) {
    shown_ = view;
    emit linkShown(label_, shown_);
  }
  if (const auto next = watch_.nextChange()) {
    stateTimer_.start(static_cast<int>(next->count()));
  } else {
    stateTimer_.stop();
  }
}

void LinkSupervisor::portEvent(SerialControl::PortEvent event, const std::string& why) {
  const std::string here = label();
  std::string line;
  switch (event) {
    case SerialControl::PortEvent::Opened:
      line = watch_.opened(here);
      break;
    case SerialControl::PortEvent::Closed:
      line = watch_.closed(here);
      break;
    case SerialControl::PortEvent::OpenFailed:
      line = watch_.openFailed(here, why);
      break;
    case SerialControl::PortEvent::Connecting:
      line = watch_.connecting(here);
      break;
  }
  if (!line.empty()) emit portRecorded(line);
  showLink();
  // An opening that took time has ended, after whoever asked for it had gone on: the check mark
  // follows, a failure the operator asked for is reported as a loss is (a report that does not
  // wait), and link recovery hears at once how its attempt went.
  const bool ended = connecting_ && event != SerialControl::PortEvent::Connecting;
  connecting_ = event == SerialControl::PortEvent::Connecting;
  if (!ended) return;
  emit portOpenChanged(serial_.portOpen());
  if (recovery_.waiting()) {
    QTimer::singleShot(0, this, &LinkSupervisor::checkLostDevice);
  } else if (event == SerialControl::PortEvent::OpenFailed) {
    prompts_.notice(why);
  }
}

void LinkSupervisor::lineWarning(const std::string& text, bool refused) {
  emit portRecorded(watch_.lineWarning(label(), text));
  showLink();
  if (refused) prompts_.notice(text);
}

void LinkSupervisor::statusReceived(const ReceivedStatus& status) {
  if (!status.indicators) return;
  watch_.frame();
  // While the link shows open its timer is running and looks again when it fires: only a frame
  // that ends a quiet spell changes what shows.
  if (shown_.state != LinkState::Open) showState();
}

void LinkSupervisor::deviceLost(const std::string& description) {
  emit portOpenChanged(serial_.portOpen());
  operatorTookPort();
  emit portRecorded(watch_.lost(label(), description));
  showLink();
  // The report does not wait for the operator: waiting for the device starts at once, so an
  // unattended station takes the device up again as soon as it is back. The report may stay up
  // as a record; it says so when the port is open again, and a device that comes and goes while
  // it is up changes its text rather than stacking a second box.
  lossReport_ = description;
  prompts_.notice(description);
  startWaiting();
}

void LinkSupervisor::startWaiting() {
  recovery_.deviceLost(serial_);
  if (!recovery_.waiting()) {
    watch_.recoveryEnded();
    showState();
    return;
  }
  recoveryTimer_.start();
  // The first look from the event loop, not from inside the control's loss notice.
  QTimer::singleShot(0, this, &LinkSupervisor::checkLostDevice);
}

void LinkSupervisor::operatorTookPort() {
  // An attempt of link recovery's own that is still connecting is given up, unrecorded.
  if (recovery_.waiting() && serial_.portConnecting()) (void)serial_.setPortOpen(false);
  if (recovery_.waiting()) {
    watch_.recoveryEnded();
    showState();
  }
  recovery_.cancel();
  recoveryTimer_.stop();
}

void LinkSupervisor::checkLostDevice() {
  switch (recovery_.check(serial_)) {
    case LinkRecovery::Outcome::Waiting:
      return;
    case LinkRecovery::Outcome::Stranger:
      prompts_.notice(lossReport_ + "\n\n" + recovery_.strangerReport());
      return;
    case LinkRecovery::Outcome::Reopened:
      emit portOpenChanged(serial_.portOpen());
      prompts_.updateNotice(lossReport_ + "\n\n" + kDeviceBack);
      break;
    case LinkRecovery::Outcome::Idle:
    case LinkRecovery::Outcome::Dropped:
      break;
  }
  recoveryTimer_.stop();
}

}  // namespace vqx
