#pragma once
#include <utility>

// Test doubles for the core's interfaces: a serial control that records what is written to
// it and can be told to fail, a settings store in memory, and prompts that answer from a
// script and remember what they were shown.

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app/close_sequence.h"
#include "app/prompts.h"
#include "app/settings_store.h"
#include "serial/serial_control.h"
#include "serial/settings_text.h"

namespace vqx::testing {

class FakeSerialControl : public SerialControl {
 public:
  // State, readable and settable by tests.
  bool open = false;
  int port = kDesignCommPort;
  std::string lineSettings = kDesignSettings;
  int handshake = 0;
  std::string written;   // every byte handed to output(), in order
  int queued = 0;        // what outBufferCount() reports
  std::string received;  // what input() returns next
  int event = kCommEventReceive;

  // Failures to inject: the next write of that property fails with this description.
  std::optional<std::string> failOpen, failClose, failCommPort, failSettings, failHandshaking,
      failOutput;

  int openCalls = 0;
  int closeCalls = 0;

  bool portOpen() const override { return open; }
  Result setPortOpen(bool value) override {
    (value ? openCalls : closeCalls)++;
    auto& failure = value ? failOpen : failClose;
    if (failure) return Result::fail(*failure);
    open = value;
    if (!value) queued = 0;
    return Result::ok();
  }
  int commPort() const override { return port; }
  Result setCommPort(int value) override {
    if (failCommPort) return Result::fail(*failCommPort);
    if (value < 1 || value > 255) return Result::fail("Invalid port number");
    if (open) return Result::fail("Port already open");
    port = value;
    return Result::ok();
  }
  std::string settings() const override { return lineSettings; }
  Result setSettings(const std::string& value) override {
    if (failSettings) return Result::fail(*failSettings);
    const auto parsed = parseLineSettings(value);
    if (!parsed.result) return parsed.result;
    lineSettings = formatLineSettings(parsed.settings);
    return Result::ok();
  }
  int handshaking() const override { return handshake; }
  Result setHandshaking(long long value) override {
    if (failHandshaking) return Result::fail(*failHandshaking);
    if (value < 0 || value > 3) return Result::fail("Invalid handshaking value");
    handshake = static_cast<int>(value);
    return Result::ok();
  }
  Result output(std::string_view bytes) override {
    if (failOutput) return Result::fail(*failOutput);
    if (!open) return Result::fail("Port not open");
    written.append(bytes);
    return Result::ok();
  }
  int outBufferCount() const override { return queued; }
  std::string input() override { return std::exchange(received, {}); }
  int commEvent() const override { return event; }

  // Delivers bytes as the device would: they wait in input() and OnComm is raised.
  void receive(const std::string& bytes, int code = kCommEventReceive) {
    received += bytes;
    event = code;
    raiseOnComm();
  }
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
    const auto it = values.find({app, section, key});
    return it == values.end() ? std::string() : it->second;
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
  };
  std::vector<Shown> shown;
  std::deque<PromptAnswer> answers;  // answered in order; Ok (or Ignore) when empty

  PromptAnswer show(const std::string& text, const std::string& caption, PromptIcon icon,
                    PromptButtons buttons) override {
    shown.push_back({text, caption, icon, buttons});
    if (!answers.empty()) {
      const auto a = answers.front();
      answers.pop_front();
      return a;
    }
    return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Ignore;
  }
};

// An event loop whose clock advances a second on every wait; onWait(n) runs at the n-th.
struct SteppingPump : EventPump {
  std::chrono::steady_clock::time_point t{};
  int waits = 0;
  std::function<void(int)> onWait;

  void pumpBriefly() override {
    ++waits;
    t += std::chrono::seconds(1);
    if (onWait) onWait(waits);
  }
  std::chrono::steady_clock::time_point now() const override { return t; }
};

}  // namespace vqx::testing
