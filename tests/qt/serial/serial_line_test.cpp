// How line settings map onto QSerialPort and the terminal attributes, for the settings a
// pseudo-terminal cannot carry (parity, 5 to 7 data bits).
#include "qt/serial/serial_line.h"

#include <gtest/gtest.h>

namespace vqx {
namespace {

LineSettings line(const char* text) {
  const auto parsed = parseLineSettings(text);
  EXPECT_TRUE(parsed.result) << text;
  return parsed.settings;
}

TEST(SerialLine, RefusesWhatThisSystemCannotPutOnTheLine) {
  const struct {
    const char* text;
    bool supported;
  } cases[] = {{"9600,n,8,1", true},   {"9600,e,7,2", true},  {"110,s,5,1", true},
               {"9600,o,6,2", true},   {"9600,n,4,1", false}, {"9600,n,8,1.5", false},
               {"9600,n,5,1.5", false}};
  for (const auto& c : cases) {
    const Result r = checkLineSupported(line(c.text));
    EXPECT_EQ(r.isOk(), c.supported) << c.text;
    if (!c.supported) {
      EXPECT_FALSE(r.error().empty()) << c.text;
    }
  }
}

TEST(SerialLine, MapsEveryFieldOntoQSerialPort) {
  EXPECT_EQ(qtParity('e'), QSerialPort::EvenParity);
  EXPECT_EQ(qtParity('o'), QSerialPort::OddParity);
  EXPECT_EQ(qtParity('n'), QSerialPort::NoParity);
  EXPECT_EQ(qtParity('m'), QSerialPort::MarkParity);
  EXPECT_EQ(qtParity('s'), QSerialPort::SpaceParity);
  EXPECT_EQ(qtDataBits(5), QSerialPort::Data5);
  EXPECT_EQ(qtDataBits(6), QSerialPort::Data6);
  EXPECT_EQ(qtDataBits(7), QSerialPort::Data7);
  EXPECT_EQ(qtDataBits(8), QSerialPort::Data8);
  EXPECT_EQ(qtStopBits(StopBits::One), QSerialPort::OneStop);
  EXPECT_EQ(qtStopBits(StopBits::Two), QSerialPort::TwoStop);
  EXPECT_EQ(qtFlowControl(0), QSerialPort::NoFlowControl);
  EXPECT_EQ(qtFlowControl(1), QSerialPort::SoftwareControl);
  EXPECT_EQ(qtFlowControl(2), QSerialPort::HardwareControl);
  EXPECT_EQ(qtFlowControl(3), QSerialPort::HardwareControl);
}

TEST(SerialLine, StickParityIsClearedForEvenOddAndNone) {
  const struct {
    char parity;
    bool stick;
  } cases[] = {{'e', false}, {'o', false}, {'n', false}, {'m', true}, {'s', true}};
  for (const auto& c : cases) {
    termios tio{};
    tio.c_cflag = PARENB | CMSPAR | PARODD | CS7;
    adjustTermios(tio, c.parity, 0);
    EXPECT_EQ((tio.c_cflag & CMSPAR) != 0, c.stick) << c.parity;
    EXPECT_EQ(tio.c_cflag & ~tcflag_t(CMSPAR), tcflag_t(PARENB | PARODD | CS7)) << c.parity;
  }
}

TEST(SerialLine, HandshakingThreeAddsXonXoffToRtsCts) {
  for (int handshaking = 0; handshaking <= 3; ++handshaking) {
    termios tio{};
    tio.c_cflag = handshaking >= 2 ? CRTSCTS : 0;
    tio.c_iflag = handshaking == 1 ? (IXON | IXOFF) : 0;
    adjustTermios(tio, 'n', handshaking);
    EXPECT_EQ((tio.c_iflag & (IXON | IXOFF)) == (IXON | IXOFF),
              handshaking == 1 || handshaking == 3)
        << handshaking;
    EXPECT_EQ((tio.c_cflag & CRTSCTS) != 0, handshaking >= 2) << handshaking;
  }
}

}  // namespace
}  // namespace vqx
