// The serial control on a real pseudo-terminal: the test plays the device on the far end.
#include "qt/serial/qt_serial_control.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <termios.h>

#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "qt/serial/line_speed.h"
#include "qt/support/pseudo_terminal.h"
#include "support/fakes.h"

namespace vqx {
namespace {

using testing::FakeSettingsStore;
using testing::lineSpeed;
using testing::PseudoTerminal;

constexpr int kPort = 3;
constexpr char kXoff = 0x13;
constexpr char kXon = 0x11;

std::string everyByteValue() {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  return all;
}

void mapPort(FakeSettingsStore& store, int port, const std::string& device) {
  store.setValue(kAppTitle, "Ports", "Com" + std::to_string(port), device);
}

termios lineAttributes(const PseudoTerminal& pty) {
  termios tio{};
  EXPECT_EQ(::tcgetattr(pty.terminalFd(), &tio), 0);
  return tio;
}

double cpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class QtSerialControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.isOpen());
    mapPort(store, kPort, pty.path());
    ASSERT_TRUE(control.setCommPort(kPort));
    control.setOnComm([this] {
      events.push_back(control.commEvent());
      if (drainInput) received += control.input();
    });
    control.setOnDeviceLost([this](const std::string& why) { lost.push_back(why); });
  }

  void open() { ASSERT_TRUE(control.setPortOpen(true)) << "port " << pty.path(); }

  // Runs the event loop until `count` bytes have come out of input() in OnComm.
  bool receiveAtLeast(std::size_t count) {
    return QTest::qWaitFor([&] { return received.size() >= count; }, 3000);
  }

  PseudoTerminal pty;
  FakeSettingsStore store;
  QtSerialControl control{store};
  std::vector<int> events;
  std::string received;
  bool drainInput = true;
  std::vector<std::string> lost;
};

TEST_F(QtSerialControlTest, OpensTheMappedDeviceWithDesignSettingsAndClosesIt) {
  EXPECT_EQ(control.commPort(), kPort);
  EXPECT_EQ(control.settings(), "9600,n,8,1");
  EXPECT_EQ(control.handshaking(), 0);
  EXPECT_FALSE(control.portOpen());

  open();
  EXPECT_TRUE(control.portOpen());
  EXPECT_EQ(control.deviceName().toStdString(), pty.path());
  EXPECT_EQ(lineSpeed(pty.terminalFd()), 9600);
  const termios tio = lineAttributes(pty);
  EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), tcflag_t(0));
  EXPECT_FALSE(control.setPortOpen(true)) << "opening an open port";

  EXPECT_TRUE(control.setPortOpen(false));
  EXPECT_FALSE(control.portOpen());
  EXPECT_TRUE(control.deviceName().isEmpty());
  EXPECT_TRUE(control.setPortOpen(false)) << "closing a closed port does nothing";
  open();  // the device is free again
  EXPECT_TRUE(lost.empty());
}

TEST_F(QtSerialControlTest, OutputReachesTheFarEndInOrderWithEveryByteValue) {
  open();
  const std::string all = everyByteValue();
  for (char c : all) ASSERT_TRUE(control.output(std::string_view(&c, 1)));
  EXPECT_TRUE(control.output(std::string_view("/\x00\x01/A", 5)));
  EXPECT_EQ(pty.read(all.size() + 5), all + std::string("/\x00\x01/A", 5));
  EXPECT_TRUE(QTest::qWaitFor([&] { return control.outBufferCount() == 0; }, 2000));
}

TEST_F(QtSerialControlTest, OutputNeedsAnOpenPort) {
  const Result r = control.output("x");
  EXPECT_FALSE(r);
  EXPECT_FALSE(r.error().empty());
  EXPECT_EQ(control.outBufferCount(), 0);
}

TEST_F(QtSerialControlTest, ReceivedBytesRaiseOnCommWithReceiveEventAndComeOutOfInput) {
  open();
  const std::string all = everyByteValue();
  ASSERT_TRUE(pty.write(all));
  ASSERT_TRUE(receiveAtLeast(all.size()));
  EXPECT_EQ(received, all);
  ASSERT_FALSE(events.empty());
  for (int e : events) EXPECT_EQ(e, kCommEventReceive);
  EXPECT_EQ(control.input(), "");
}

TEST_F(QtSerialControlTest, ReceiveQueueKeepsTheNewest1024BytesAndReportsTheOverflow) {
  drainInput = false;  // nobody reads input() meanwhile
  open();
  std::string sent;
  for (int i = 0; i < 3000; ++i) sent.push_back(static_cast<char>(i % 251));
  ASSERT_TRUE(pty.write(sent));
  QTest::qWait(300);  // lets every chunk arrive; the assertions below do not depend on timing
  ASSERT_TRUE(QTest::qWaitFor([&] { return !events.empty() && events.back() == 2; }, 2000));
  EXPECT_NE(std::find(events.begin(), events.end(), kCommErrorRxOver), events.end());
  const std::string waiting = control.input();
  EXPECT_EQ(waiting, sent.substr(sent.size() - kReceiveQueueSize));
}

TEST_F(QtSerialControlTest, SettingsRejectsLeaveThePropertyAsItWas) {
  const struct {
    const char* text;
  } rejected[] = {{""},
                  {"9600"},
                  {"9600,n,8"},
                  {"9600,n,8,1,1"},
                  {"96a0,n,8,1"},
                  {"-9600,n,8,1"},
                  {"0,n,8,1"},
                  {"9600,x,8,1"},
                  {"9600,,8,1"},
                  {"9600,nn,8,1"},
                  {"9600,n,9,1"},
                  {"9600,n,3,1"},
                  {"9600,n,88,1"},
                  {"9600,n,4,1"},
                  {"9600,n,8,3"},
                  {"9600,n,8,1.5"},
                  {"9600,n,8,0"},
                  {"1234567890,n,8,1"}};
  ASSERT_TRUE(control.setSettings("19200,e,7,2"));
  for (bool portIsOpen : {false, true}) {
    if (portIsOpen) {
      ASSERT_TRUE(control.setSettings("19200,n,8,2"));  // what a pseudo-terminal can carry
      open();
    }
    const std::string before = control.settings();
    for (const auto& c : rejected) {
      const Result r = control.setSettings(c.text);
      EXPECT_FALSE(r) << c.text;
      EXPECT_FALSE(r.error().empty()) << c.text;
      EXPECT_EQ(control.settings(), before) << c.text;
    }
  }
  EXPECT_EQ(lineSpeed(pty.terminalFd()), 19200);
  EXPECT_NE(lineAttributes(pty).c_cflag & CSTOPB, tcflag_t(0));
}

TEST_F(QtSerialControlTest, FourDataBitsAndOneAndAHalfStopBitsAreRefusedNotChanged) {
  for (const char* text : {"9600,n,4,1", "9600,n,8,1.5", "9600,e,7,1.5"}) {
    const Result r = control.setSettings(text);
    EXPECT_FALSE(r) << text;
    EXPECT_NE(r.error().find("not supported"), std::string::npos) << r.error();
    EXPECT_EQ(control.settings(), "9600,n,8,1");
  }
}

TEST_F(QtSerialControlTest, ParityIsAcceptedInEitherCaseAndReportedInLowerCase) {
  const struct {
    const char* text;
    const char* reported;
  } cases[] = {{"9600,E,7,1", "9600,e,7,1"},        {"9600,O,8,2", "9600,o,8,2"},
               {"110,S,5,2", "110,s,5,2"},          {"300,M,6,1", "300,m,6,1"},
               {"9600,N,8,1", "9600,n,8,1"},        {"115200,e,8,1", "115200,e,8,1"},
               {" 4800 , o , 8 , 1 ", "4800,o,8,1"}};
  for (const auto& c : cases) {
    EXPECT_TRUE(control.setSettings(c.text)) << c.text;
    EXPECT_EQ(control.settings(), c.reported);
  }
}

TEST_F(QtSerialControlTest, EverySpeedOfThePortDialogIsPutOnTheLineAsGiven) {
  open();
  for (long speed : {110L, 300L, 600L, 1200L, 2400L, 4800L, 9600L, 14400L, 19200L, 28800L, 38400L,
                     56000L, 57600L, 115200L, 128000L, 256000L}) {
    const std::string text = std::to_string(speed) + ",n,8,1";
    ASSERT_TRUE(control.setSettings(text)) << text;
    EXPECT_EQ(control.settings(), text);
    EXPECT_EQ(lineSpeed(pty.terminalFd()), speed);
  }
  // Settings given while closed are applied on opening.
  ASSERT_TRUE(control.setPortOpen(false));
  ASSERT_TRUE(control.setSettings("28800,n,8,2"));
  open();
  EXPECT_EQ(lineSpeed(pty.terminalFd()), 28800);
  EXPECT_NE(lineAttributes(pty).c_cflag & CSTOPB, tcflag_t(0));
}

TEST_F(QtSerialControlTest, LeavingMarkParityClearsStickParityOnTheLine) {
  open();
  ASSERT_TRUE(control.setSettings("9600,m,8,1"));
  EXPECT_NE(lineAttributes(pty).c_cflag & CMSPAR, tcflag_t(0));
  // A pseudo-terminal takes even parity after mark parity; some other changes it refuses.
  ASSERT_TRUE(control.setSettings("9600,e,8,1"));
  EXPECT_EQ(lineAttributes(pty).c_cflag & CMSPAR, tcflag_t(0));
  EXPECT_EQ(control.settings(), "9600,e,8,1");
}

TEST_F(QtSerialControlTest, HandshakingSetsFlowControlOnTheLine) {
  const struct {
    int value;
    bool xonXoff;
    bool rtsCts;
  } cases[] = {{3, true, true}, {1, true, false}, {2, false, true}, {0, false, false}};
  open();
  for (const auto& c : cases) {
    ASSERT_TRUE(control.setHandshaking(c.value)) << c.value;
    EXPECT_EQ(control.handshaking(), c.value);
    const termios tio = lineAttributes(pty);
    EXPECT_EQ((tio.c_iflag & (IXON | IXOFF)) == (IXON | IXOFF), c.xonXoff) << c.value;
    EXPECT_EQ((tio.c_cflag & CRTSCTS) != 0, c.rtsCts) << c.value;
  }
  // Handshaking given while closed is applied on opening.
  ASSERT_TRUE(control.setPortOpen(false));
  ASSERT_TRUE(control.setHandshaking(3));
  open();
  const termios tio = lineAttributes(pty);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
  EXPECT_NE(tio.c_cflag & CRTSCTS, tcflag_t(0));
}

TEST_F(QtSerialControlTest, HandshakingOutOfRangeFails) {
  ASSERT_TRUE(control.setHandshaking(2));
  for (long long bad : {-1LL, 4LL, 65536LL, 1LL << 40}) {
    const Result r = control.setHandshaking(bad);
    EXPECT_FALSE(r) << bad;
    EXPECT_FALSE(r.error().empty());
    EXPECT_EQ(control.handshaking(), 2);
  }
}

TEST_F(QtSerialControlTest, CommPortRange1To255AndNotWhileOpen) {
  for (int bad : {0, -1, 256, 32767}) {
    EXPECT_FALSE(control.setCommPort(bad)) << bad;
    EXPECT_EQ(control.commPort(), kPort);
  }
  EXPECT_TRUE(control.setCommPort(255));
  EXPECT_TRUE(control.setCommPort(kPort));
  open();
  const Result r = control.setCommPort(1);
  EXPECT_FALSE(r);
  EXPECT_EQ(r.error(), "Port already open");
  EXPECT_EQ(control.commPort(), kPort);
}

TEST_F(QtSerialControlTest, SendQueueHoldsAt512BytesWhileTheLineIsStopped) {
  ASSERT_TRUE(control.setHandshaking(1));
  open();
  ASSERT_TRUE(pty.write(std::string(1, kXoff)));
  QTest::qWait(100);  // the line discipline takes the XOFF

  std::string sent;
  for (int i = 0; i < kSendQueueSize; ++i) {
    const char c = static_cast<char>('A' + i % 26);
    ASSERT_TRUE(control.output(std::string_view(&c, 1))) << "byte " << i + 1;
    sent.push_back(c);
  }
  EXPECT_EQ(pty.readFor(100), "") << "the line is stopped";
  EXPECT_EQ(control.outBufferCount(), kSendQueueSize);
  const Result refused = control.output("!");
  EXPECT_FALSE(refused) << "byte 513";
  EXPECT_FALSE(refused.error().empty());
  EXPECT_EQ(control.outBufferCount(), kSendQueueSize);

  ASSERT_TRUE(pty.write(std::string(1, kXon)));
  EXPECT_EQ(pty.read(sent.size()), sent);
  EXPECT_TRUE(QTest::qWaitFor([&] { return control.outBufferCount() == 0; }, 2000));
  EXPECT_TRUE(control.output("!"));
  EXPECT_EQ(pty.read(1), "!");
}

TEST_F(QtSerialControlTest, TextThatWouldOverfillTheSendQueueIsRefusedWhole) {
  ASSERT_TRUE(control.setHandshaking(1));
  open();
  ASSERT_TRUE(pty.write(std::string(1, kXoff)));
  QTest::qWait(100);
  ASSERT_TRUE(control.output(std::string(kSendQueueSize - 2, 'a')));
  EXPECT_FALSE(control.output("bcd"));
  EXPECT_EQ(control.outBufferCount(), kSendQueueSize - 2);
  EXPECT_TRUE(control.output("bc"));
  EXPECT_EQ(control.outBufferCount(), kSendQueueSize);
}

TEST_F(QtSerialControlTest, ClosingDropsQueuedOutput) {
  ASSERT_TRUE(control.setHandshaking(1));
  open();
  ASSERT_TRUE(pty.write(std::string(1, kXoff)));
  QTest::qWait(100);
  ASSERT_TRUE(control.output("dropped"));
  ASSERT_TRUE(control.setPortOpen(false));
  EXPECT_EQ(control.outBufferCount(), 0);
  ASSERT_TRUE(control.setHandshaking(0));
  open();
  ASSERT_TRUE(pty.write(std::string(1, kXon)));
  EXPECT_TRUE(control.output("kept"));
  EXPECT_EQ(pty.read(20, 500), "kept");
}

TEST_F(QtSerialControlTest, VanishedDeviceClosesThePortOnceWithoutSpinning) {
  open();
  const std::string path = pty.path();
  pty.closeDevice();
  // QSerialPort takes the kind of a failed read from errno, which a read at end of file leaves
  // as it was: with a stale "no such file" it retries the read for ever.
  errno = ENOENT;
  QElapsedTimer wall;
  wall.start();
  const double cpuBefore = cpuSeconds();
  QTest::qWait(1500);
  const double cpu = cpuSeconds() - cpuBefore;
  const double elapsed = static_cast<double>(wall.elapsed()) / 1000.0;

  std::printf("vanished device: %.3f s of CPU in %.3f s\n", cpu, elapsed);
  // A busy loop would use the whole second and a half.
  EXPECT_LT(cpu, 0.25 * elapsed) << "cpu " << cpu << " s in " << elapsed << " s";
  EXPECT_FALSE(control.portOpen());
  EXPECT_EQ(control.outBufferCount(), 0);
  EXPECT_FALSE(control.output("x"));
  ASSERT_EQ(lost.size(), 1u);
  EXPECT_NE(lost[0].find(path), std::string::npos) << lost[0];
}

TEST_F(QtSerialControlTest, VanishedDeviceCanBeReplacedAndReopened) {
  open();
  pty.closeDevice();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !lost.empty(); }, 3000));
  ASSERT_TRUE(pty.reopen());
  mapPort(store, kPort, pty.path());
  open();
  ASSERT_TRUE(pty.write("ok"));
  ASSERT_TRUE(receiveAtLeast(2));
  EXPECT_EQ(received, "ok");
  EXPECT_EQ(lost.size(), 1u);
}

TEST_F(QtSerialControlTest, ClosingBeforeTheLossIsHandledRaisesNothing) {
  open();
  pty.closeDevice();
  ASSERT_TRUE(control.setPortOpen(false));
  QTest::qWait(200);
  EXPECT_TRUE(lost.empty());
}

TEST_F(QtSerialControlTest, AbsentDeviceFailsWithADescription) {
  mapPort(store, kPort, "/dev/vqx16-no-such-device");
  const Result r = control.setPortOpen(true);
  EXPECT_FALSE(r);
  EXPECT_NE(r.error().find("/dev/vqx16-no-such-device"), std::string::npos) << r.error();
  EXPECT_GT(r.error().size(), std::string("/dev/vqx16-no-such-device: ").size());
  EXPECT_FALSE(control.portOpen());
}

TEST_F(QtSerialControlTest, DeviceInUseByAnotherOpenerFails) {
  open();
  QtSerialControl other(store);
  ASSERT_TRUE(other.setCommPort(kPort));
  const Result r = other.setPortOpen(true);
  EXPECT_FALSE(r);
  EXPECT_FALSE(r.error().empty());
  EXPECT_FALSE(other.portOpen());
  // The first opener is unaffected.
  EXPECT_TRUE(control.output("still"));
  EXPECT_EQ(pty.read(5), "still");
  ASSERT_TRUE(control.setPortOpen(false));
  EXPECT_TRUE(other.setPortOpen(true));
}

}  // namespace
}  // namespace vqx
