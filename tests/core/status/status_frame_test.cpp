#include "status/status_frame.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vqx {
namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// ---- Alignment -------------------------------------------------------------------------

struct AlignCase {
  std::string four;
  std::optional<StatusFrame> frame;
};

class AlignStatusFrame : public ::testing::TestWithParam<AlignCase> {};

TEST_P(AlignStatusFrame, RotatesOnFirstByteAbove127) {
  EXPECT_EQ(alignStatusFrame(GetParam().four), GetParam().frame);
}

INSTANTIATE_TEST_SUITE_P(
    Marker, AlignStatusFrame,
    ::testing::Values(
        AlignCase{bytes({0xFE, 0x7F, 0x7F, 0x3F}), StatusFrame{0xFE, 0x7F, 0x7F, 0x3F}},
        AlignCase{bytes({0x3F, 0xFE, 0x7F, 0x7F}), StatusFrame{0xFE, 0x7F, 0x7F, 0x3F}},
        AlignCase{bytes({0x7F, 0x3F, 0xFE, 0x7F}), StatusFrame{0xFE, 0x7F, 0x7F, 0x3F}},
        AlignCase{bytes({0x7F, 0x7F, 0x3F, 0xFE}), StatusFrame{0xFE, 0x7F, 0x7F, 0x3F}},
        // The first marker wins when several bytes are above 127.
        AlignCase{bytes({0x01, 0x80, 0xFF, 0x02}), StatusFrame{0x80, 0xFF, 0x02, 0x01}},
        AlignCase{bytes({0x80, 0x80, 0x80, 0x80}), StatusFrame{0x80, 0x80, 0x80, 0x80}},
        AlignCase{bytes({0x7F, 0x00, 0x41, 0x7F}), std::nullopt},
        AlignCase{bytes({0xFF, 0x7F, 0x7F}), std::nullopt},
        AlignCase{bytes({0xFF, 0x7F, 0x7F, 0x3F, 0x00}), std::nullopt}));

// ---- Camera tables ---------------------------------------------------------------------

struct CameraCase {
  int b1, b2, b3, b4;
  std::optional<int> left;
};

class DecodeCamera : public ::testing::TestWithParam<CameraCase> {};

TEST_P(DecodeCamera, MovesLampToCameraKey) {
  const auto& c = GetParam();
  const auto ind =
      decodeStatusFrame({static_cast<std::uint8_t>(c.b1), static_cast<std::uint8_t>(c.b2),
                         static_cast<std::uint8_t>(c.b3), static_cast<std::uint8_t>(c.b4)});
  EXPECT_EQ(ind.cameraLampLeft, c.left);
}

INSTANTIATE_TEST_SUITE_P(
    Byte1, DecodeCamera,
    ::testing::Values(CameraCase{254, 127, 127, 63, 4920}, CameraCase{253, 127, 127, 63, 5160},
                      CameraCase{251, 127, 127, 63, 5400}, CameraCase{247, 127, 127, 63, 5640},
                      CameraCase{239, 127, 127, 63, 5880}, CameraCase{223, 127, 127, 63, 6120},
                      CameraCase{191, 127, 127, 63, 6360},
                      // Byte 2 is not looked at while byte 1 is below 255.
                      CameraCase{254, 126, 127, 63, 4920},
                      // Two bits cleared, or the marker bit alone: no camera.
                      CameraCase{252, 126, 127, 63, std::nullopt},
                      CameraCase{128, 127, 127, 63, std::nullopt},
                      CameraCase{0xBE, 127, 127, 63, std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    Byte2, DecodeCamera,
    ::testing::Values(CameraCase{255, 126, 127, 63, 6840}, CameraCase{255, 125, 127, 63, 7080},
                      CameraCase{255, 123, 127, 63, 7320}, CameraCase{255, 119, 127, 63, 7560},
                      CameraCase{255, 111, 127, 63, 7800}, CameraCase{255, 95, 127, 63, 8040},
                      CameraCase{255, 63, 127, 63, 8280},
                      CameraCase{255, 127, 127, 63, std::nullopt},
                      CameraCase{255, 124, 127, 63, std::nullopt},
                      // Byte 2 with its top bit set matches nothing.
                      CameraCase{255, 254, 127, 63, std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    LastMoveWins, DecodeCamera,
    ::testing::Values(CameraCase{255, 127, 127 - 16, 63, 6600},      // camera 8 alone
                      CameraCase{255, 127, 127, 63 - 1, 8520},       // camera 16 alone
                      CameraCase{254, 127, 127 - 16, 63, 6600},      // 1, then 8
                      CameraCase{255, 119, 127, 63 - 1, 8520},       // 12, then 16
                      CameraCase{255, 127, 127 - 16, 63 - 1, 8520},  // 8, then 16
                      // Byte 4 of 64 or more: every byte-4 row off, no camera 16.
                      CameraCase{254, 127, 127, 127, 4920}, CameraCase{254, 127, 127, 64, 4920},
                      // Byte 3 of 128 or more: every byte-3 row off, no camera 8.
                      CameraCase{254, 127, 128 + 0x6F, 63, 4920}));

TEST(CameraLampLeft, KeyPositions) {
  EXPECT_EQ(cameraLampLeft(1), 4920);
  EXPECT_EQ(cameraLampLeft(8), 6600);
  EXPECT_EQ(cameraLampLeft(16), 8520);
  for (int n = 1; n <= 16; ++n) EXPECT_EQ(cameraAtLampLeft(cameraLampLeft(n)), n);
  EXPECT_EQ(cameraAtLampLeft(4921), 0);
}

// ---- Threshold walk over bytes 3 and 4 -------------------------------------------------

// Byte 3, one row at a time: clearing exactly that bit turns on exactly that indicator.
struct BitCase {
  int byte;  // 3 or 4
  int bit;
  bool Indicators::*flag;  // nullptr for the camera rows
};

class DecodeSingleBit : public ::testing::TestWithParam<BitCase> {};

TEST_P(DecodeSingleBit, ClearedBitTurnsOnOnlyItsIndicator) {
  const auto& c = GetParam();
  StatusFrame frame{255, 127, 127, 63};
  frame[static_cast<std::size_t>(c.byte - 1)] &= static_cast<std::uint8_t>(~(1u << c.bit));
  const Indicators ind = decodeStatusFrame(frame);
  Indicators expected;
  if (c.flag)
    expected.*c.flag = true;
  else
    expected.cameraLampLeft = c.byte == 3 ? 6600 : 8520;
  EXPECT_EQ(ind, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DecodeSingleBit,
    ::testing::Values(BitCase{3, 6, &Indicators::sediciScreenRed},
                      BitCase{3, 5, &Indicators::functionLamp}, BitCase{3, 4, nullptr},
                      BitCase{3, 3, &Indicators::tapeLamp}, BitCase{3, 2, &Indicators::liveLamp},
                      BitCase{3, 1, &Indicators::callLamp},
                      BitCase{3, 0, &Indicators::sequenceLamp}, BitCase{4, 5, &Indicators::beep},
                      BitCase{4, 4, &Indicators::noveScreenRed},
                      BitCase{4, 3, &Indicators::quattroScreenRed},
                      BitCase{4, 2, &Indicators::pipRed}, BitCase{4, 1, &Indicators::fullScreenRed},
                      BitCase{4, 0, nullptr}));

TEST(DecodeStatusFrame, AllLowBitsClearTurnEverythingOn) {
  const Indicators ind = decodeStatusFrame({255, 127, 0, 0});
  EXPECT_EQ(ind.cameraLampLeft, 8520);  // 8 then 16
  EXPECT_TRUE(ind.liveLamp && ind.callLamp && ind.sequenceLamp && ind.tapeLamp && ind.functionLamp);
  EXPECT_TRUE(ind.sediciScreenRed && ind.noveScreenRed && ind.quattroScreenRed && ind.pipRed &&
              ind.fullScreenRed && ind.beep);
}

TEST(DecodeStatusFrame, ThresholdWalkEqualsBitTestBelowTwiceTheTopAndAllOffAbove) {
  // Every value of bytes 3 and 4 against a bit-by-bit reading.
  for (int v = 0; v < 256; ++v) {
    const Indicators i3 = decodeStatusFrame({255, 127, static_cast<std::uint8_t>(v), 63});
    const bool low3 = v < 128;
    const auto on3 = [&](int bit) { return low3 && !(v & (1 << bit)); };
    EXPECT_EQ(i3.sediciScreenRed, on3(6)) << v;
    EXPECT_EQ(i3.functionLamp, on3(5)) << v;
    EXPECT_EQ(i3.cameraLampLeft == 6600, on3(4)) << v;
    EXPECT_EQ(i3.tapeLamp, on3(3)) << v;
    EXPECT_EQ(i3.liveLamp, on3(2)) << v;
    EXPECT_EQ(i3.callLamp, on3(1)) << v;
    EXPECT_EQ(i3.sequenceLamp, on3(0)) << v;

    const Indicators i4 = decodeStatusFrame({255, 127, 127, static_cast<std::uint8_t>(v)});
    const bool low4 = v < 64;
    const auto on4 = [&](int bit) { return low4 && !(v & (1 << bit)); };
    EXPECT_EQ(i4.beep, on4(5)) << v;
    EXPECT_EQ(i4.noveScreenRed, on4(4)) << v;
    EXPECT_EQ(i4.quattroScreenRed, on4(3)) << v;
    EXPECT_EQ(i4.pipRed, on4(2)) << v;
    EXPECT_EQ(i4.fullScreenRed, on4(1)) << v;
    EXPECT_EQ(i4.cameraLampLeft == 8520, on4(0)) << v;
  }
}

TEST(DecodeStatusFrame, DocumentedFrames) {
  Indicators idle;
  idle.cameraLampLeft = 4920;
  EXPECT_EQ(decodeStatusFrame({0xFE, 0x7F, 0x7F, 0x3F}), idle);

  Indicators twelve;
  twelve.cameraLampLeft = 7560;
  twelve.liveLamp = true;
  twelve.quattroScreenRed = true;
  EXPECT_EQ(decodeStatusFrame({0xFF, 0x77, 0x7B, 0x37}), twelve);

  EXPECT_TRUE(decodeStatusFrame({0xFF, 0x7F, 0x7F, 0x1F}).beep);
}

// ---- Encoder ---------------------------------------------------------------------------

Indicators expectedIndicators(const DeviceStatus& s) {
  Indicators i;
  if (s.camera && *s.camera >= 1 && *s.camera <= 16) i.cameraLampLeft = cameraLampLeft(*s.camera);
  i.liveLamp = s.liveLamp;
  i.callLamp = s.callLamp;
  i.sequenceLamp = s.sequenceLamp;
  i.tapeLamp = s.tapeLamp;
  i.functionLamp = s.functionLamp;
  i.sediciScreenRed = s.sediciScreenLit;
  i.noveScreenRed = s.noveScreenLit;
  i.quattroScreenRed = s.quattroScreenLit;
  i.pipRed = s.pipLit;
  i.fullScreenRed = s.fullScreenLit;
  i.beep = s.beep;
  return i;
}

TEST(EncodeStatusFrame, RoundTripsEveryCameraAndEveryFlagCombination) {
  bool DeviceStatus::*flags[] = {&DeviceStatus::liveLamp,      &DeviceStatus::callLamp,
                                 &DeviceStatus::sequenceLamp,  &DeviceStatus::tapeLamp,
                                 &DeviceStatus::functionLamp,  &DeviceStatus::sediciScreenLit,
                                 &DeviceStatus::noveScreenLit, &DeviceStatus::quattroScreenLit,
                                 &DeviceStatus::pipLit,        &DeviceStatus::fullScreenLit,
                                 &DeviceStatus::beep};
  for (int camera = 0; camera <= 16; ++camera) {
    for (unsigned mask = 0; mask < (1u << 11); ++mask) {
      DeviceStatus s;
      if (camera) s.camera = camera;
      for (unsigned f = 0; f < 11; ++f) s.*flags[f] = (mask >> f) & 1;
      const StatusFrame frame = encodeStatusFrame(s);
      ASSERT_GT(frame[0], 127);
      ASSERT_LT(frame[1], 128);
      ASSERT_LT(frame[2], 128);
      ASSERT_LT(frame[3], 64);
      ASSERT_EQ(decodeStatusFrame(frame), expectedIndicators(s)) << camera << " " << mask;
    }
  }
}

TEST(EncodeStatusFrame, KnownFramesAndOutOfRangeCamera) {
  DeviceStatus s;
  s.camera = 12;
  s.liveLamp = true;
  s.quattroScreenLit = true;
  EXPECT_EQ(encodeStatusFrame(s), (StatusFrame{0xFF, 0x77, 0x7B, 0x37}));
  s = {};
  s.camera = 1;
  EXPECT_EQ(encodeStatusFrame(s), (StatusFrame{0xFE, 0x7F, 0x7F, 0x3F}));
  s.camera = 17;
  EXPECT_EQ(encodeStatusFrame(s), (StatusFrame{0xFF, 0x7F, 0x7F, 0x3F}));
  s.camera = -3;
  EXPECT_FALSE(decodeStatusFrame(encodeStatusFrame(s)).cameraLampLeft);
}

TEST(EncodeStatusFrame, DecodedFramesWithOneCameraEncodeBack) {
  // Decoding then encoding reproduces every well-formed frame with exactly one camera.
  std::mt19937 rng(7);
  for (int i = 0; i < 5000; ++i) {
    const int camera = static_cast<int>(rng() % 16) + 1;
    DeviceStatus s;
    s.camera = camera;
    StatusFrame frame = encodeStatusFrame(s);
    frame[2] = static_cast<std::uint8_t>((rng() & 0x6F) | (frame[2] & 0x10));
    frame[3] = static_cast<std::uint8_t>((rng() & 0x3E) | (frame[3] & 0x01));
    const Indicators ind = decodeStatusFrame(frame);
    DeviceStatus back;
    back.camera = cameraAtLampLeft(ind.cameraLampLeft.value_or(0));
    back.liveLamp = ind.liveLamp;
    back.callLamp = ind.callLamp;
    back.sequenceLamp = ind.sequenceLamp;
    back.tapeLamp = ind.tapeLamp;
    back.functionLamp = ind.functionLamp;
    back.sediciScreenLit = ind.sediciScreenRed;
    back.noveScreenLit = ind.noveScreenRed;
    back.quattroScreenLit = ind.quattroScreenRed;
    back.pipLit = ind.pipRed;
    back.fullScreenLit = ind.fullScreenRed;
    back.beep = ind.beep;
    ASSERT_EQ(encodeStatusFrame(back), frame);
  }
}

}  // namespace
}  // namespace vqx
