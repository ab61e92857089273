#include "status/status_handler.h"

#include <gtest/gtest.h>

#include <ostream>

#include <random>
#include <string>

#include "support/fakes.h"

namespace vqx {
namespace {

using testing::FakeSerialControl;

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

const std::string kIdle = bytes({0xFE, 0x7F, 0x7F, 0x3F});    // camera 1, everything off
const std::string kTwelve = bytes({0xFF, 0x77, 0x7B, 0x37});  // camera 12, live, 4-picture

Indicators idleIndicators() {
  Indicators i;
  i.cameraLampLeft = 4920;
  return i;
}

class StatusHandler : public ::testing::Test {
 protected:
  std::optional<Indicators> deliver(const std::string& block, int event = kCommEventReceive) {
    comm.received += block;
    comm.event = event;
    return MSComm1_OnComm(comm, box);
  }
  FakeSerialControl comm;
  TerminalBox box;
};

TEST_F(StatusHandler, DocumentedFramesInOneBlock) {
  EXPECT_EQ(deliver(kIdle), idleIndicators());
  EXPECT_TRUE(box.empty());

  EXPECT_EQ(deliver(bytes({0x7F, 0x7F, 0x3F, 0xFE})), idleIndicators());
  EXPECT_TRUE(box.empty());

  const auto twelve = deliver(kTwelve);
  ASSERT_TRUE(twelve);
  EXPECT_EQ(twelve->cameraLampLeft, 7560);
  EXPECT_TRUE(twelve->liveLamp);
  EXPECT_TRUE(twelve->quattroScreenRed);
  EXPECT_FALSE(twelve->beep);
}

TEST(StatusHandlerEvents, OtherEventsDoNothingAndLeaveInputWaiting) {
  for (int event : std::initializer_list<int>{
           kCommEventSend, kCommEventCts, kCommEventDsr, kCommEventCd, kCommEventRing,
           kCommEventEof, kCommErrorBreak, kCommErrorFrame, kCommErrorOverrun, kCommErrorRxOver,
           kCommErrorRxParity, kCommErrorTxFull, 1011}) {
    FakeSerialControl comm;
    TerminalBox box;
    box.setText("ab");
    comm.received = kIdle;
    comm.event = event;
    EXPECT_FALSE(MSComm1_OnComm(comm, box)) << event;
    EXPECT_EQ(box.text(), "ab") << event;
    EXPECT_EQ(comm.received, kIdle) << "Input must not be read on event " << event;
  }
}

TEST_F(StatusHandler, FrameSplitAcrossEventsIsJoinedInTheBox) {
  EXPECT_FALSE(deliver(kTwelve.substr(0, 2)));
  EXPECT_EQ(box.text(), kTwelve.substr(0, 2));
  const auto result = deliver(kTwelve.substr(2));
  ASSERT_TRUE(result);
  EXPECT_EQ(result->cameraLampLeft, 7560);
  EXPECT_TRUE(box.empty());
}

TEST_F(StatusHandler, SplitOneByteAtATime) {
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(deliver(kTwelve.substr(static_cast<std::size_t>(i), 1)));
  EXPECT_EQ(deliver(kTwelve.substr(3, 1))->cameraLampLeft, 7560);
}

TEST_F(StatusHandler, LongBlockDecodesFirstFourAndDropsTheRest) {
  const std::string block = kTwelve + kIdle + "ab";
  ASSERT_EQ(block.size(), 10u);
  EXPECT_EQ(deliver(block)->cameraLampLeft, 7560);
  EXPECT_TRUE(box.empty());
  // The dropped frame is not decoded later.
  EXPECT_FALSE(deliver("x"));
  EXPECT_EQ(box.text(), "x");
}

TEST_F(StatusHandler, NoMarkerEmptiesTheBoxWithoutIndicators) {
  EXPECT_FALSE(deliver("ABCD"));
  EXPECT_TRUE(box.empty());
  EXPECT_FALSE(deliver(bytes({0x7F, 0x77, 0x7B, 0x37, 0xFF})));
  EXPECT_TRUE(box.empty());
}

TEST_F(StatusHandler, TypedCharactersInTheBoxAreReadAsReceived) {
  box.setText(bytes({0xFF, 0x77}));
  EXPECT_EQ(deliver(bytes({0x7B, 0x37}))->cameraLampLeft, 7560);
  box.setText("hello");  // typed with the port closed: five characters, no marker
  EXPECT_FALSE(deliver(kIdle));
  EXPECT_TRUE(box.empty());
}

struct ControlCharCase {
  const char* name;
  std::string block;
  std::optional<StatusFrame> frame;  // what is decoded, if anything
  std::string left;                  // what the box keeps
};

// Test names show the case's name, not its bytes.
void PrintTo(const ControlCharCase& c, std::ostream* os) {
  *os << c.name;
}

class StatusHandlerControlChars : public ::testing::TestWithParam<ControlCharCase> {};

TEST_P(StatusHandlerControlChars, ReceiveDisplayEditsBeforeDecoding) {
  FakeSerialControl comm;
  TerminalBox box;
  comm.received = GetParam().block;
  const auto result = MSComm1_OnComm(comm, box);
  if (GetParam().frame) {
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, decodeStatusFrame(*GetParam().frame));
  } else {
    EXPECT_FALSE(result);
  }
  EXPECT_EQ(box.text(), GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(
    InsideFrames, StatusHandlerControlChars,
    ::testing::Values(
        // A line feed vanishes: the frame is short by one byte and waits in the box.
        ControlCharCase{"LineFeedShortens", bytes({0xFF, 0x0A, 0x7B, 0x37}), std::nullopt,
                        bytes({0xFF, 0x7B, 0x37})},
        // A carriage return gains a line feed: the frame is read shifted.
        ControlCharCase{"CarriageReturnShifts", bytes({0xFF, 0x0D, 0x7B, 0x37}),
                        StatusFrame{0xFF, 0x0D, 0x0A, 0x7B}, ""},
        // A backspace erases the byte before it.
        ControlCharCase{"BackspaceShortens", bytes({0xFF, 0x77, 0x08, 0x37}), std::nullopt,
                        bytes({0xFF, 0x37})},
        // Byte 4 equal to 8 at the start of a block erases the box's last byte.
        ControlCharCase{"LeadingBackspaceOnEmptyBox", bytes({0x08, 0xFF, 0x77, 0x7B}), std::nullopt,
                        bytes({0xFF, 0x77, 0x7B})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StatusHandler, LeadingBackspaceEatsTheWaitingByte) {
  EXPECT_FALSE(deliver(bytes({0xFF, 0x77})));
  EXPECT_FALSE(deliver(bytes({0x08, 0x7B, 0x37})));
  EXPECT_EQ(box.text(), bytes({0xFF, 0x7B, 0x37}));
}

TEST(TakeStatusFrame, EmptiesOnlyFromFourCharacters) {
  TerminalBox box;
  box.setText("abc");
  EXPECT_FALSE(takeStatusFrame(box));
  EXPECT_EQ(box.text(), "abc");
  box.setText(kTwelve);
  EXPECT_EQ(takeStatusFrame(box), (StatusFrame{0xFF, 0x77, 0x7B, 0x37}));
  EXPECT_TRUE(box.empty());
}

TEST(StatusHandlerRandom, RandomBlocksNeverGrowTheBox) {
  std::mt19937 rng(12345);
  FakeSerialControl comm;
  TerminalBox box;
  std::size_t frames = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string block(rng() % 40, '\0');
    for (char& c : block) c = static_cast<char>(rng() & 0xFF);
    comm.received = block;
    comm.event = (rng() % 10 == 0) ? kCommErrorFrame : kCommEventReceive;
    if (MSComm1_OnComm(comm, box)) ++frames;
    ASSERT_LE(box.size(), 3u);
    comm.received.clear();
  }
  EXPECT_GT(frames, 0u);
}

}  // namespace
}  // namespace vqx
