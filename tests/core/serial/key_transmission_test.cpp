#include "serial/key_transmission.h"

#include <gtest/gtest.h>

#include "app/close_sequence.h"
#include "support/fakes.h"

namespace vqx {
namespace {

using testing::FakePrompts;
using testing::FakeSerialControl;

struct KeyPress : ::testing::Test {
  FakeSerialControl serial;
  int caretMoves = 0;
  std::int16_t press(std::int16_t code, bool echo) {
    txtTerm_KeyPress(
        serial, echo, [&] { ++caretMoves; }, code);
    return code;
  }
};

TEST_F(KeyPress, ClosedPortSendsNothingAndLetsTheBoxInsert) {
  EXPECT_EQ(press('A', false), 'A');
  EXPECT_EQ(serial.written, "");
  EXPECT_EQ(caretMoves, 0);
}

TEST_F(KeyPress, OpenPortSendsEveryByteInOrder) {
  serial.open = true;
  for (std::int16_t c : {47, 0, 1, 47, 65, 85, 255}) EXPECT_EQ(press(c, false), 0);
  EXPECT_EQ(serial.written, std::string("/\0\1/AU\xff", 7));
  EXPECT_EQ(caretMoves, 7);
}

TEST_F(KeyPress, EchoLeavesTheCharacterForTheBox) {
  serial.open = true;
  EXPECT_EQ(press('x', true), 'x');
  EXPECT_EQ(serial.written, "x");
  EXPECT_EQ(caretMoves, 0);
}

TEST_F(KeyPress, FailedWriteIsSilentAndTheRestStillRuns) {
  serial.open = true;
  serial.failOutput = "Send queue full";
  EXPECT_EQ(press('x', false), 0);
  EXPECT_EQ(caretMoves, 1);
}

TEST_F(KeyPress, CodesThatAreNoByteAreNotSent) {
  serial.open = true;
  EXPECT_EQ(press(0x20AC, false), 0);
  EXPECT_EQ(press(-1, false), 0);
  EXPECT_EQ(serial.written, "");
}

TEST(TogglePortTest, CheckMarkFollowsThePort) {
  FakeSerialControl serial;
  FakePrompts prompts;
  std::vector<bool> checks;
  const auto setCheck = [&](bool on) { checks.push_back(on); };
  EXPECT_TRUE(TogglePort(serial, prompts, setCheck));
  EXPECT_FALSE(TogglePort(serial, prompts, setCheck));
  serial.failOpen = "No such file or directory";
  EXPECT_FALSE(TogglePort(serial, prompts, setCheck));
  EXPECT_EQ(checks, (std::vector<bool>{true, false, false}));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "No such file or directory");
  EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Exclamation);

  serial.failOpen.reset();
  ASSERT_TRUE(TogglePort(serial, prompts, setCheck));
  serial.failClose = "Cannot close";
  EXPECT_TRUE(TogglePort(serial, prompts, setCheck));  // still open, and the mark says so
  EXPECT_EQ(checks.back(), true);
}

TEST(CloseSequence, ClosedPortEndsAtOnce) {
  FakeSerialControl serial;
  FakePrompts prompts;
  testing::SteppingPump pump;
  serial.queued = 10;
  EXPECT_TRUE(runCloseSequence(serial, prompts, pump));
  EXPECT_EQ(pump.waits, 0);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST(CloseSequence, WaitsForOutputToDrainThenCloses) {
  FakeSerialControl serial;
  FakePrompts prompts;
  testing::SteppingPump pump;
  serial.open = true;
  serial.queued = 10;
  pump.onWait = [&](int n) {
    if (n == 3) serial.queued = 0;
  };
  EXPECT_TRUE(runCloseSequence(serial, prompts, pump));
  EXPECT_EQ(pump.waits, 3);
  EXPECT_FALSE(serial.open);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST(CloseSequence, AsksEveryTenSecondsAndHonoursTheAnswer) {
  FakeSerialControl serial;
  FakePrompts prompts;
  testing::SteppingPump pump;
  serial.open = true;
  serial.queued = 10;
  prompts.answers = {PromptAnswer::Retry, PromptAnswer::Abort};
  EXPECT_FALSE(runCloseSequence(serial, prompts, pump));
  EXPECT_TRUE(serial.open);  // Abort: the window and the port stay
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(pump.waits, 20);
  EXPECT_EQ(prompts.shown[0].text, "Data cannot be sent");
  EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Question);
  EXPECT_EQ(prompts.shown[0].buttons, PromptButtons::AbortRetryIgnore);

  prompts.answers = {PromptAnswer::Ignore};
  EXPECT_TRUE(runCloseSequence(serial, prompts, pump));
  EXPECT_FALSE(serial.open);
}

}  // namespace
}  // namespace vqx
