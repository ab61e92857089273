// Waiting for a vanished device to come back, and when not to.
#include "serial/link_recovery.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/fakes.h"

namespace vqx {
namespace {

using Outcome = LinkRecovery::Outcome;
using testing::FakeSerialControl;

class LinkRecoveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    serial.port = 3;
    serial.open = true;
  }
  // The device goes while the port is open; it stays away until comeBack().
  void lose() {
    serial.failOpen = "/dev/ttyUSB0: No such file or directory";
    serial.loseDevice("/dev/ttyUSB0: device no longer available");
    recovery.deviceLost(serial);
  }
  void comeBack() { serial.failOpen.reset(); }

  FakeSerialControl serial;
  LinkRecovery recovery;
};

TEST_F(LinkRecoveryTest, NothingIsTriedWithoutALoss) {
  serial.open = false;  // closed by the operator, not lost
  EXPECT_FALSE(recovery.waiting());
  EXPECT_EQ(recovery.check(serial), Outcome::Idle);
  EXPECT_EQ(serial.openCalls, 0);
  EXPECT_FALSE(serial.open);
}

TEST_F(LinkRecoveryTest, LostDeviceIsReopenedWhenItComesBackAndOnlyOnce) {
  lose();
  ASSERT_TRUE(recovery.waiting());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(recovery.check(serial), Outcome::Waiting);
  EXPECT_EQ(serial.openCalls, 5);
  EXPECT_FALSE(serial.open);

  comeBack();
  EXPECT_EQ(recovery.check(serial), Outcome::Reopened);
  EXPECT_TRUE(serial.open);
  EXPECT_EQ(serial.port, 3);
  EXPECT_FALSE(recovery.waiting());
  EXPECT_EQ(recovery.check(serial), Outcome::Idle);
  EXPECT_EQ(serial.openCalls, 6);

  // A second loss starts a second wait.
  lose();
  comeBack();
  EXPECT_EQ(recovery.check(serial), Outcome::Reopened);
}

TEST_F(LinkRecoveryTest, TheOperatorTakingThePortInHandEndsTheWait) {
  const struct {
    const char* what;
    std::function<void(FakeSerialControl&, LinkRecovery&)> act;
    bool openAfter;
  } cases[] = {
      // The menu entry, the Exit command and the panel's reset all cancel before they toggle.
      {"operator cancels (port stays closed)",
       [](FakeSerialControl&, LinkRecovery& r) { r.cancel(); }, false},
      {"operator reopened the port himself",
       [](FakeSerialControl& s, LinkRecovery&) { s.open = true; }, true},
      {"another port number chosen while closed",
       [](FakeSerialControl& s, LinkRecovery&) { ASSERT_TRUE(s.setCommPort(4)); }, false},
      {"another port number chosen and opened",
       [](FakeSerialControl& s, LinkRecovery&) {
         ASSERT_TRUE(s.setCommPort(4));
         s.open = true;
       },
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    serial = FakeSerialControl{};
    serial.port = 3;
    serial.open = true;
    lose();
    c.act(serial, recovery);
    comeBack();
    const int opens = serial.openCalls;
    const Outcome first = recovery.check(serial);
    EXPECT_TRUE(first == Outcome::Idle || first == Outcome::Dropped);
    EXPECT_EQ(recovery.check(serial), Outcome::Idle);
    EXPECT_EQ(serial.openCalls, opens) << "nothing opened on the operator's behalf";
    EXPECT_EQ(serial.open, c.openAfter);
    EXPECT_FALSE(recovery.waiting());
  }
}

TEST_F(LinkRecoveryTest, LossReportedAfterThePortWasOpenedAgainStartsNoWait) {
  serial.loseDevice("gone");
  serial.open = true;  // reopened while the report was still on screen
  recovery.deviceLost(serial);
  EXPECT_FALSE(recovery.waiting());
  EXPECT_EQ(recovery.check(serial), Outcome::Idle);
}

TEST_F(LinkRecoveryTest, ReopeningThatDoesNotLeaveThePortOpenKeepsWaiting) {
  // A control that says yes but stays closed (the device went again at once).
  class Flaky : public FakeSerialControl {
   public:
    Result setPortOpen(bool) override { return Result::ok(); }
  } flaky;
  flaky.port = 3;
  recovery.deviceLost(flaky);
  EXPECT_EQ(recovery.check(flaky), Outcome::Waiting);
  EXPECT_TRUE(recovery.waiting());
}

}  // namespace
}  // namespace vqx
