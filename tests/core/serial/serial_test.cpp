// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The serial link's decisions: the key transmission, the port toggle, waiting for a lost device
// and the link state. (The line settings text is read wherever settings are taken: at startup,
// by OK, over the network.)
#include <gtest/gtest.h>

#include "serial/key_transmission.h"
#include "serial/link_recovery.h"
#include "serial/link_state.h"
#include "serial/open_failure.h"
#include "support/fakes.h"
#include "traffic/traffic.h"

namespace vqx {
namespace {

using testing::FakePrompts;
using testing::FakeSerialControl;

// Each listener hears each event once, however often it asked to listen; one that stops
// listening while another is told hears nothing more from then on.
TEST(SerialControl, EachListenerHearsEachEventOnceUntilItStopsListening) {
  struct Control : FakeSerialControl {
    using SerialControl::raiseCommEvent;
    using SerialControl::raiseLineWarning;
  } serial;
  struct Ear : SerialListener {
    std::string heard;
    std::function<void()> meanwhile;
    void commEvent() override {
      heard += "comm; ";
      if (meanwhile) meanwhile();
    }
    void portEvent(SerialControl::PortEvent event, const std::string& why) override {
      const char* const names[] = {"opened", "closed", "failed ", "connecting"};
      heard += names[int(event)] + why + "; ";
    }
    void deviceLost(const std::string& why) override { heard += "lost " + why + "; "; }
    void lineWarning(const std::string& text, bool refused) override {
      heard += (refused ? "refused " : "unconfirmed ") + text + "; ";
    }
  } first, second;
  serial.addListener(first);
  serial.addListener(second);
  serial.addListener(first);
  serial.failOpen = "busy";
  ASSERT_FALSE(serial.setPortOpen(true));
  serial.failOpen.reset();
  for (const bool open : {true, true, false, true}) ASSERT_TRUE(serial.setPortOpen(open));
  serial.raiseLineWarning("7 data bits", true);
  serial.loseDevice("unplugged");
  first.meanwhile = [&] { serial.removeListener(second); };
  serial.raiseCommEvent();
  serial.raiseCommEvent();
  const std::string told =
      "failed busy; opened; closed; opened; refused 7 data bits; lost unplugged; ";
  EXPECT_EQ(first.heard, told + "comm; comm; ");
  EXPECT_EQ(second.heard, told);
}

// Each row: the port "open" or not, with "echo", or with every write "failing"; the key codes
// typed one after another; then what went to the line, the last code as the box gets it back, and
// the caret's moves to the end.
TEST(KeyTransmission, SendsEveryByteOnlyWithThePortOpenAndHidesItWithoutEcho) {
  const std::tuple<std::string, std::vector<std::int16_t>, const char*> cases[] = {
      {"closed", {'A'}, "sent [] code 65 caret 0"},
      {"open", {47, 0, 1, 47, 65, 85, 255}, "sent [2F 00 01 2F 41 55 FF] code 0 caret 7"},
      {"open echo", {'x'}, "sent [78] code 120 caret 0"},
      {"open failing", {'x'}, "sent [] code 0 caret 1"},  // a failed write is not reported
      {"open", {0x20AC, -1}, "sent [] code 0 caret 2"},
  };
  for (const auto& [given, typed, expected] : cases) {
    FakeSerialControl serial;
    serial.open = given.starts_with("open");
    if (given.ends_with("failing")) serial.failOutput = "Send queue full";
    int moves = 0;
    const auto caretToEnd = [&] { ++moves; };
    std::int16_t code = 0;
    for (std::int16_t key : typed) {
      code = key;
      transmitCharacter(serial, given.ends_with("echo"), caretToEnd, code);
    }
    EXPECT_EQ("sent [" + hexText(serial.written) + "] code " + std::to_string(code) + " caret " +
                  std::to_string(moves),
              expected)
        << given;
  }
}

TEST(TogglePort, ReportsAFailureOnceAndTheCheckMarkShowsThePortAsItIs) {
  FakeSerialControl serial;
  FakePrompts prompts;
  std::string checks;
  for (const char* failing : {"", "", "open", "", "close"}) {
    serial.failOpen.reset();
    serial.failClose.reset();
    if (*failing) (failing[0] == 'o' ? serial.failOpen : serial.failClose) = failing;
    togglePort(serial, prompts, [&](bool on) { checks += on ? "1" : "0"; });
  }
  for (const auto& shown : prompts.shown) checks += " " + shown.text;
  EXPECT_EQ(checks, "10011 open close");
  EXPECT_EQ(prompts.shown.at(0).icon, PromptIcon::Exclamation);
}

// The device goes away while the port is open; the operator may "cancel" the wait, "open" the
// port, take "port 4", or the port is open again "before" the loss is heard. The device at the
// port later may be another one (none given: the control tells no identity). It fails to open at
// the first look and opens later.
TEST(LinkRecovery, ReopensTheLostDeviceOnceItIsBackUnlessTheOperatorTookThePortInHand) {
  using O = LinkRecovery::Outcome;
  const DeviceIdentity adapter{"/dev/ttyUSB0", "", "USB 0403:6001, serial number A1"};
  const DeviceIdentity otherAdapter{"/dev/ttyUSB0", "", "USB 0403:6001, serial number B7"};
  const DeviceIdentity simulator{"/tmp/com1", "link 5 made 1.0", "device 136:3 made 1.0"};
  const DeviceIdentity simulatorAgain{"/tmp/com1", "link 9 made 2.0", "device 136:4 made 2.0"};
  const DeviceIdentity othersTerminal{"/tmp/com1", "link 5 made 1.0", "device 136:3 made 3.0"};
  const struct {
    std::string meanwhile{};
    DeviceIdentity lost{};
    DeviceIdentity back{};
    std::vector<O> looks{};
    bool openAfter = false;
  } cases[] = {
      // clang-format off
      {.looks = {O::Waiting, O::Reopened, O::Idle}, .openAfter = true},
      {.meanwhile = "cancel", .looks = {O::Idle}},
      {.meanwhile = "open", .looks = {O::Dropped, O::Idle}, .openAfter = true},
      {.meanwhile = "before", .looks = {O::Idle}, .openAfter = true},
      {.meanwhile = "port 4", .looks = {O::Dropped, O::Idle}},
      {.lost = adapter, .back = adapter, .looks = {O::Waiting, O::Reopened}, .openAfter = true},
      {.lost = adapter, .back = otherAdapter, .looks = {O::Stranger, O::Waiting, O::Waiting}},
      {.lost = simulator, .back = simulatorAgain, .looks = {O::Waiting, O::Reopened},
       .openAfter = true},
      {.lost = simulator, .back = othersTerminal, .looks = {O::Stranger, O::Waiting}},
      // clang-format on
  };
  for (const auto& c : cases) {
    FakeSerialControl serial;
    serial.port = 3;
    serial.open = true;
    serial.opened = c.lost;
    serial.atPort = c.back;
    serial.failOpen = "/dev/ttyUSB0: No such file or directory";
    serial.loseDevice("/dev/ttyUSB0: device no longer available");
    if (c.meanwhile == "before") serial.open = true;
    LinkRecovery recovery;
    recovery.deviceLost(serial);
    if (c.meanwhile == "cancel") recovery.cancel();
    if (c.meanwhile == "open") serial.open = true;
    if (c.meanwhile == "port 4") serial.port = 4;
    std::vector<O> looks;
    while (looks.size() < c.looks.size()) {
      looks.push_back(recovery.check(serial));
      serial.failOpen.reset();
    }
    EXPECT_EQ(looks, c.looks) << c.meanwhile << " " << c.back.device;
    EXPECT_EQ(serial.open, c.openAfter) << c.meanwhile << " " << c.back.device;
  }
}

// A device server cannot be looked at without a connection: it is tried at once after the loss,
// then 1, 2, 4, 8 and 16 s after each failed try, then every 30 s.
TEST(LinkRecovery, TriesALostDeviceServerLessOftenTheLongerItIsAway) {
  const DeviceIdentity server{"rfc2217://box:7002", "", "rfc2217://box:7002"};
  FakeSerialControl serial;
  serial.open = true;
  serial.opened = server;
  serial.atPort = server;
  serial.failOpen = "Com1 (rfc2217://box:7002) cannot reach box:7002: connection refused.";
  serial.loseDevice("rfc2217://box:7002: the device server closed the connection");
  LinkRecovery recovery;
  recovery.deviceLost(serial);
  std::vector<int> tries;  // the checks, one a second, that tried the server
  for (int second = 0; second < 100; ++second) {
    const int before = serial.opens;
    EXPECT_EQ(recovery.check(serial), LinkRecovery::Outcome::Waiting);
    if (serial.opens > before) tries.push_back(second);
  }
  EXPECT_EQ(tries, (std::vector<int>{0, 1, 3, 7, 15, 31, 61, 91}));
}

// What the link state shows at each moment (its word, and the reason), what the traffic record
// keeps of each port event, and when the state next changes by itself (ms; -1: never).
TEST(LinkWatch, ShowsQuietSecondsAfterThreeWithoutAFrameAndLeavesRetriesUnrecorded) {
  std::chrono::steady_clock::time_point now{};
  LinkWatch link([&] { return now; });
  const std::string com1 = "Com1 (/dev/ttyUSB0)";
  const std::string missing = com1 + " does not exist.";
  const std::tuple<int, std::function<std::string()>, std::string> steps[] = {
      // clang-format off
      {0, [] { return ""; }, "closed, -1, "},
      {0, [&] { return link.opened(com1); }, "open, 3000, Com1 (/dev/ttyUSB0) opened"},
      {2999, [] { return ""; }, "open, 1, "},
      {3000, [] { return ""; }, "no frame for 3 s, 1000, "},
      {3500, [&] { link.frame(); return ""; }, "open, 3000, "},
      {7900, [] { return ""; }, "no frame for 4 s, 600, "},
      {8000, [&] { return link.lost(com1, "removed"); },
       "lost, retrying removed, -1, Com1 (/dev/ttyUSB0) lost, retrying: removed"},
      {9000, [&] { return link.openFailed(com1, missing); }, "lost, retrying removed, -1, "},
      {9000, [&] { return link.opened(com1); }, "open, 3000, Com1 (/dev/ttyUSB0) reopened"},
      {9500, [&] { return link.lost(com1, "gone"); },
       "lost, retrying gone, -1, Com1 (/dev/ttyUSB0) lost, retrying: gone"},
      {9600, [&] { link.recoveryEnded(); return ""; }, "closed, -1, "},
      {9700, [&] { return link.openFailed(com1, missing); },
       "cannot open " + missing + ", -1, " + missing},
      {9800, [&] { return link.openFailed(com1, "busy"); },
       "cannot open busy, -1, Com1 (/dev/ttyUSB0) cannot open: busy"},
      {9900, [&] { return link.opened(com1); }, "open, 3000, Com1 (/dev/ttyUSB0) opened"},
      {9900, [&] { return link.closed(com1); }, "closed, -1, Com1 (/dev/ttyUSB0) closed"},
      {9900, [&] { return link.lineWarning(com1, "7 bits"); },
       "closed, -1, Com1 (/dev/ttyUSB0): 7 bits"},
      {9900, [&] { return link.opened(com1); }, "open, 3000, Com1 (/dev/ttyUSB0) opened"},
      {9900, [&] { return link.lineWarning(com1, com1 + " 7 bits"); },
       "open Com1 (/dev/ttyUSB0) 7 bits, 3000, Com1 (/dev/ttyUSB0) 7 bits"},
      // clang-format on
  };
  for (const auto& [atMs, event, outcome] : steps) {
    now = std::chrono::steady_clock::time_point(std::chrono::milliseconds(atMs));
    const std::string record = event();
    const LinkView v = link.view();
    const auto next = link.nextChange();
    EXPECT_EQ(v.word + (v.reason.empty() ? "" : " " + v.reason) + ", " +
                  std::to_string(next ? next->count() : -1) + ", " + record,
              outcome)
        << atMs;
  }
  EXPECT_EQ(openFailureText(OpenFailure::LockFile, "Com1", "busy"), "Com1 cannot be locked: busy");
}

}  // namespace
}  // namespace vqx
