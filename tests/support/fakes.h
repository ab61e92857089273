// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Doubles of the core's interfaces: a serial control, a settings store, prompts, an event loop.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "app/close_sequence.h"
#include "common/settings_store.h"
#include "serial/settings_text.h"

namespace vqx::testing {

class FakeSerialControl : public SerialControl {
 public:
  bool open = false;
  int port = kDesignCommPort;
  std::string lineSettings = kDesignSettings;
  int handshake = 0;
  std::string written;   // every byte handed to output(), in order
  int queued = 0;        // what outBufferCount() reports
  std::string received;  // what input() returns next
  int event = kCommEventReceive;
  DeviceIdentity atPort, opened;  // what deviceAtPort() and openedDevice() report
  // The next write of that property fails with this description.
  std::optional<std::string> failOpen, failClose, failOutput;
  int opens = 0;  // attempts to open

  bool portOpen() const override { return open; }
  Result changePortOpen(bool value) override {
    opens += value ? 1 : 0;
    if (const auto& failure = value ? failOpen : failClose) return Result::fail(*failure);
    open = value;
    if (!value) queued = 0;
    return Result::ok();
  }
  int commPort() const override { return port; }
  Result setCommPort(int value) override {
    if (value < 1 || value > 255) return Result::fail("Invalid port number");
    if (open) return Result::fail("Port already open");
    port = value;
    return Result::ok();
  }
  std::string settings() const override { return lineSettings; }
  Result setSettings(const std::string& value) override {
    const auto parsed = parseLineSettings(value);
    if (parsed.result) lineSettings = formatLineSettings(parsed.settings);
    return parsed.result;
  }
  int handshaking() const override { return handshake; }
  Result setHandshaking(long long value) override {
    if (value < 0 || value > 3) return Result::fail("Invalid handshaking value");
    handshake = static_cast<int>(value);
    return Result::ok();
  }
  Result output(std::string_view bytes) override {
    if (failOutput || !open) return Result::fail(failOutput.value_or("Port not open"));
    written.append(bytes);
    return Result::ok();
  }
  int sendQueueRoom() const override { return kSendQueueSize - queued; }
  int outBufferCount() const override { return queued; }
  std::string input() override { return std::exchange(received, {}); }
  int commEvent() const override { return event; }
  DeviceIdentity deviceAtPort() const override { return atPort; }
  DeviceIdentity openedDevice() const override { return opened; }

  void loseDevice(const std::string& description) {
    open = false;
    queued = 0;
    raiseDeviceLost(description);
  }
};

class FakeSettingsStore : public SettingsStore {
 public:
  std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
  std::vector<std::string> writes;  // "section/key=value", in order

  std::string value(const std::string& app, const std::string& section,
                    const std::string& key) const override {
    return values.contains({app, section, key}) ? values.at({app, section, key}) : "";
  }
  void setValue(const std::string& app, const std::string& section, const std::string& key,
                const std::string& value) override {
    values[{app, section, key}] = value;
    writes.push_back(section + "/" + key + "=" + value);
  }
  void put(const std::string& key, const std::string& value) {
    values[{kAppTitle, "Properties", key}] = value;
  }
};

class FakePrompts : public Prompts {
 public:
  struct Shown {
    std::string text, caption;
    PromptIcon icon;
    PromptButtons buttons;
    bool waits = true;  // modal; false for a notice, whose text changes while it is up
  };
  std::vector<Shown> shown;
  std::deque<PromptAnswer> answers;  // answered in order; then OK, or Ignore for a question

 protected:
  void presentNotice(const std::string& text) override {
    if (notice_ < 0) {
      notice_ = static_cast<int>(shown.size());
      shown.push_back({{}, kAppTitle, PromptIcon::Exclamation, PromptButtons::Ok, false});
    }
    changeNotice(text);
  }
  void changeNotice(const std::string& text) override {
    if (notice_ >= 0) shown.at(notice_).text = text;
  }
  PromptAnswer present(const std::string& text, const std::string& caption, PromptIcon icon,
                       PromptButtons buttons) override {
    shown.push_back({text, caption, icon, buttons});
    if (answers.empty())
      return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Ignore;
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
  }

 private:
  int notice_ = -1;  // the notice in `shown`, which stays up once shown
};

// An event loop whose clock advances a second on every wait; onWait(n) runs at the n-th.
struct SteppingPump : EventPump {
  std::chrono::steady_clock::time_point t{};
  int waits = 0;
  std::function<void(int)> onWait;

  void pumpBriefly() override {
    t += std::chrono::seconds(1);
    ++waits;
    if (onWait) onWait(waits);
  }
  std::chrono::steady_clock::time_point now() const override { return t; }
};

}  // namespace vqx::testing
