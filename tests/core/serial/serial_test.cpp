// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The serial link's decisions: the line settings text, the key transmission, the port toggle,
// waiting for a lost device and the link state.
#include <gtest/gtest.h>

#include "serial/key_transmission.h"
#include "serial/link_recovery.h"
#include "serial/link_state.h"
#include "serial/settings_text.h"
#include "support/fakes.h"

namespace vqx {
namespace {

using testing::FakePrompts;
using testing::FakeSerialControl;

TEST(LineSettingsText, ParsesWhatTheControlTakesAndRefusesTheRest) {
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {  // the text, and as the control reports it
      {"9600,n,8,1", "9600,n,8,1"}, {"9600,N,8,1", "9600,n,8,1"}, {"110,s,5,2", "110,s,5,2"},
      {"115200,E,7,1.5", "115200,e,7,1.5"}, {" 4800 , o , 8 , 1 ", "4800,o,8,1"},
      {"300,M,4,1", "300,m,4,1"}, {"000000009600,n,8,1", "9600,n,8,1"},
      {"999999999,n,8,1", "999999999,n,8,1"}, {"", ""}, {"9600", ""}, {"9600,n,8", ""},
      {"9600,n,8,1,1", ""}, {"96a0,n,8,1", ""}, {"-9600,n,8,1", ""}, {"+9600,n,8,1", ""},
      {"0,n,8,1", ""}, {"000,n,8,1", ""}, {"1234567890,n,8,1", ""},
      {"99999999999999999999,n,8,1", ""}, {"9600,x,8,1", ""}, {"9600,,8,1", ""},
      {"9600,nn,8,1", ""}, {"9600,n,9,1", ""}, {"9600,n,3,1", ""}, {"9600,n,8x,1", ""},
      {"9600,n,88,1", ""}, {"9600,n,8,3", ""}, {"9600,n,8,0", ""}, {"9600,n,8,1.0", ""},
      {"9600,n,8,", ""}};
  // clang-format on
  for (const auto& [text, reported] : cases) {
    const ParsedLineSettings parsed = parseLineSettings(text);
    EXPECT_EQ(parsed.result ? formatLineSettings(parsed.settings) : "", reported) << text;
    EXPECT_EQ(parsed.result.error().empty(), bool(parsed.result)) << text;
  }
}

// Each row: the port open, Echo, every write failing; the key codes typed one after another; then
// what went to the line, the last code as the box gets it back, and the caret's moves to the end.
TEST(KeyTransmission, SendsEveryByteOnlyWithThePortOpenAndHidesItWithoutEcho) {
  using Codes = std::vector<std::int16_t>;
  const std::tuple<bool, bool, bool, Codes, std::string, std::int16_t, int> cases[] = {
      {false, false, false, {'A'}, "", 'A', 0},
      {true, false, false, {47, 0, 1, 47, 65, 85, 255}, std::string("/\0\1/AU\xff", 7), 0, 7},
      {true, true, false, {'x'}, "x", 'x', 0},
      {true, false, true, {'x'}, "", 0, 1},  // a failed write is not reported
      {true, false, false, {0x20AC, -1}, "", 0, 2},
  };
  for (const auto& [open, echo, failing, codes, written, lastCode, caretMoves] : cases) {
    FakeSerialControl serial;
    serial.open = open;
    if (failing) serial.failOutput = "Send queue full";
    int moves = 0;
    const auto caretToEnd = [&] { ++moves; };
    std::int16_t code = 0;
    for (std::int16_t sent : codes) transmitCharacter(serial, echo, caretToEnd, code = sent);
    EXPECT_EQ(std::tuple(serial.written, code, moves), std::tuple(written, lastCode, caretMoves));
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

// Each row: what the operator does while the device is away ("cancel" the wait, "open" the port,
// take "port 4", or the port is open again "before" the loss is heard); the device the port was
// open on and the one at the port later ("no": the control tells no identity); what each look
// at the port says (the device fails to open at the first look, opens later); the port open.
TEST(LinkRecovery, ReopensTheLostDeviceOnceItIsBackUnlessTheOperatorTookThePortInHand) {
  using O = LinkRecovery::Outcome;
  const DeviceIdentity no, adapter{"/dev/ttyUSB0", "", "USB 0403:6001, serial number A1"},
      otherAdapter{"/dev/ttyUSB0", "", "USB 0403:6001, serial number B7"},
      simulator{"/tmp/com1", "link 5 made 1.0", "device 136:3 made 1.0"},
      simulatorAgain{"/tmp/com1", "link 9 made 2.0", "device 136:4 made 2.0"},
      terminalOfOthers{"/tmp/com1", "link 5 made 1.0", "device 136:3 made 3.0"};
  const std::tuple<std::string, DeviceIdentity, DeviceIdentity, std::vector<O>, bool> cases[] = {
      // clang-format off
      {"", no, no, {O::Waiting, O::Reopened, O::Idle}, true}, {"cancel", no, no, {O::Idle}, false},
      {"open", no, no, {O::Dropped, O::Idle}, true}, {"before", no, no, {O::Idle}, true},
      {"port 4", no, no, {O::Dropped, O::Idle}, false},
      {"", adapter, adapter, {O::Waiting, O::Reopened}, true},
      {"", adapter, otherAdapter, {O::Stranger, O::Waiting, O::Waiting}, false},
      {"", simulator, simulatorAgain, {O::Waiting, O::Reopened}, true},
      {"", simulator, terminalOfOthers, {O::Stranger, O::Waiting}, false},
      // clang-format on
  };
  for (const auto& [meanwhile, lost, back, expected, openAfter] : cases) {
    FakeSerialControl serial;
    serial.port = 3, serial.open = true, serial.opened = lost, serial.atPort = back;
    serial.failOpen = "/dev/ttyUSB0: No such file or directory";
    serial.loseDevice("/dev/ttyUSB0: device no longer available");
    if (meanwhile == "before") serial.open = true;
    LinkRecovery recovery;
    recovery.deviceLost(serial);
    if (meanwhile == "cancel") recovery.cancel();
    if (meanwhile == "open") serial.open = true;
    if (meanwhile == "port 4") serial.port = 4;
    std::vector<O> looks;
    for (std::size_t i = 0; i < expected.size(); ++i, serial.failOpen.reset())
      looks.push_back(recovery.check(serial));
    EXPECT_EQ(looks, expected) << meanwhile << " " << back.device;
    EXPECT_EQ(serial.open, openAfter) << meanwhile << " " << back.device;
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
  const std::string com1 = "Com1 (/dev/ttyUSB0)", missing = com1 + " does not exist.";
  const std::tuple<int, std::function<std::string()>, std::string> steps[] = {
      {0, [] { return ""; }, "closed, -1, "},
      {0, [&] { return link.opened(com1); }, "open, 3000, Com1 (/dev/ttyUSB0) opened"},
      {2999, [] { return ""; }, "open, 1, "},
      {3000, [] { return ""; }, "no frame for 3 s, 1000, "},
      {3500, [&] { return link.frame(), ""; }, "open, 3000, "},
      {7900, [] { return ""; }, "no frame for 4 s, 600, "},
      {8000, [&] { return link.lost(com1, "removed"); },
       "lost, retrying removed, -1, Com1 (/dev/ttyUSB0) lost, retrying: removed"},
      {9000, [&] { return link.openFailed(com1, missing); }, "lost, retrying removed, -1, "},
      {9000, [&] { return link.opened(com1); }, "open, 3000, Com1 (/dev/ttyUSB0) reopened"},
      {9500, [&] { return link.lost(com1, "gone"); },
       "lost, retrying gone, -1, Com1 (/dev/ttyUSB0) lost, retrying: gone"},
      {9600, [&] { return link.recoveryEnded(), ""; }, "closed, -1, "},
      {9700, [&] { return link.openFailed(com1, missing); },
       "cannot open " + missing + ", -1, " + missing},
      {9800, [&] { return link.openFailed(com1, "busy"); },
       "cannot open busy, -1, Com1 (/dev/ttyUSB0) cannot open: busy"},
      {9900, [&] { return link.opened(com1); }, "open, 3000, Com1 (/dev/ttyUSB0) opened"},
      {9900, [&] { return link.closed(com1); }, "closed, -1, Com1 (/dev/ttyUSB0) closed"},
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
}

}  // namespace
}  // namespace vqx
