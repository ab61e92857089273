// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/serial/device_link.h"

#include <memory>

#include "qt/traffic/log_folder.h"
#include "serial/key_transmission.h"

namespace vqx {

DeviceLink::DeviceLink(SerialControl& serial, SettingsStore& store, Prompts& prompts,
                       const QString& logFolder, QObject* parent)
    : QObject(parent),
      serial_(serial),
      prompts_(prompts),
      recorder_(store, std::make_unique<QtLogFolder>(logFolder)),
      receiver_(serial, terminal_),
      supervisor_(serial, store, prompts) {
  // What came in is recorded as it came, before anything acts on it.
  receiver_.addListener(recorder_);
  receiver_.addListener(supervisor_);
  connect(&supervisor_, &LinkSupervisor::portRecorded, &recorder_,
          [this](const std::string& line) { recorder_.port(line); });
  connect(&supervisor_, &LinkSupervisor::portOpenChanged, this, &DeviceLink::portOpenChanged);
  connect(&recorder_, &TrafficRecorder::logStopped, this,
          [this](const QString& why) { prompts_.notice(why.toStdString()); });
}

DeviceLink::~DeviceLink() {
  receiver_.removeListener(supervisor_);
  receiver_.removeListener(recorder_);
}

void DeviceLink::transmit(std::int16_t& code) {
  transmitCharacter(
      serial_, echo_,
      [this] {
        terminal_.setSelStart(terminal_.size());
        emit terminalChanged();
      },
      code, [this](char byte) { recorder_.sent(byte); });
}

bool DeviceLink::canSend(std::size_t count) const {
  return sendQueueTakes(serial_, count);
}

void DeviceLink::togglePort() {
  supervisor_.operatorTookPort();
  vqx::togglePort(serial_, prompts_, [this](bool open) { emit portOpenChanged(open); });
}

void DeviceLink::portSettingsApplied(int portBefore) {
  // Another port number is the operator's decision about the port: no lost device is awaited.
  if (serial_.commPort() != portBefore) supervisor_.operatorTookPort();
  supervisor_.showLink();  // another port, or another device for it
}

}  // namespace vqx
