#include "sim/command_parser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vqx::sim {
namespace {

using K = CommandKind;
const std::string kFn("/\0\1", 3);

struct ParseCase {
  std::string bytes;
  std::vector<Command> commands;
};

class ParseVocabulary : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseVocabulary, WholeAndByteByByte) {
  CommandParser whole;
  EXPECT_EQ(whole.feed(GetParam().bytes), GetParam().commands);

  CommandParser split;
  std::vector<Command> got;
  for (const char c : GetParam().bytes) {
    const auto part = split.feed(std::string_view(&c, 1));
    got.insert(got.end(), part.begin(), part.end());
  }
  EXPECT_EQ(got, GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ParseVocabulary,
    ::testing::Values(
        ParseCase{"/01", {{K::Camera, 1}}}, ParseCase{"/09", {{K::Camera, 9}}},
        ParseCase{"/10", {{K::Camera, 10}}}, ParseCase{"/16", {{K::Camera, 16}}},
        ParseCase{"/S1", {{K::FunctionCamera, 1}}}, ParseCase{"/SG", {{K::FunctionCamera, 16}}},
        ParseCase{"/X9", {{K::AssignCamera, 9}}}, ParseCase{"/XA", {{K::AssignCamera, 10}}},
        ParseCase{"/PP", {{K::Pip}}}, ParseCase{"/22", {{K::Quad}}}, ParseCase{"/33", {{K::Nine}}},
        ParseCase{"/44", {{K::Sixteen}}}, ParseCase{kFn + "/AU", {{K::FunctionUp}}},
        ParseCase{kFn + "/AD", {{K::FunctionDown}}}, ParseCase{kFn + "/AL", {{K::FunctionLeft}}},
        ParseCase{kFn + "/AR", {{K::FunctionRight}}}, ParseCase{kFn + "/AF", {{K::FunctionZoom}}},
        ParseCase{"/FZ", {{K::Zoom}}}, ParseCase{"/AT", {{K::FunctionKey}}},
        ParseCase{"/LV", {{K::Live}}}, ParseCase{"/AV", {{K::FunctionLive}}},
        ParseCase{"/TP", {{K::Tape}}}, ParseCase{"/SQ", {{K::Sequence}}},
        ParseCase{"/SL", {{K::Call}}},
        ParseCase{"/05/22/SQ", {{K::Camera, 5}, {K::Quad}, {K::Sequence}}}));

INSTANTIATE_TEST_SUITE_P(
    Garbage, ParseVocabulary,
    ::testing::Values(ParseCase{"", {}}, ParseCase{"05", {}}, ParseCase{"/00", {}},
                      ParseCase{"/17", {}}, ParseCase{"/S0", {}}, ParseCase{"/XH", {}},
                      ParseCase{"/ZZ", {}},
                      // Function letters without the 0, 1 prefix are not commands.
                      ParseCase{"/AU", {}}, ParseCase{"/AF", {}},
                      // Noise before, between and after commands.
                      ParseCase{"xx\xFF/12yy", {{K::Camera, 12}}},
                      ParseCase{"/1/12", {{K::Camera, 12}}},  // broken command, resync on "/"
                      ParseCase{"//LV", {{K::Live}}},
                      ParseCase{"/ZZ05/05", {{K::Camera, 5}}},  // "05" after garbage is no command
                      ParseCase{kFn + "x/TP", {{K::Tape}}},     // prefix not followed by "/"
                      ParseCase{kFn + "/22", {{K::Quad}}},      // prefix then a plain command
                      ParseCase{kFn + "/AT", {{K::FunctionKey}}},
                      ParseCase{kFn + kFn + "/AR", {{K::FunctionRight}}},
                      ParseCase{kFn + "/" + "/AU", {}},  // the prefix is gone after a lone "/"
                      ParseCase{"/" + std::string(1, '\0') + "/FZ", {{K::Zoom}}}));

TEST(CommandParser, BytesOfEveryCommandParseBack) {
  std::vector<Command> all;
  for (int n = 1; n <= 16; ++n) {
    all.push_back({K::Camera, n});
    all.push_back({K::FunctionCamera, n});
    all.push_back({K::AssignCamera, n});
  }
  for (K k : {K::Pip, K::Quad, K::Nine, K::Sixteen, K::FunctionUp, K::FunctionDown, K::FunctionLeft,
              K::FunctionRight, K::FunctionZoom, K::Zoom, K::FunctionKey, K::Live, K::FunctionLive,
              K::Tape, K::Sequence, K::Call})
    all.push_back({k});
  std::string stream;
  for (const auto& c : all) stream += commandBytes(c);
  CommandParser parser;
  EXPECT_EQ(parser.feed(stream), all);
  EXPECT_EQ(parser.ignoredBytes(), 0u);
  EXPECT_EQ(commandText({K::FunctionUp}), "/<00><01>/AU");
  EXPECT_EQ(commandText({K::Camera, 5}), "/05");
  EXPECT_EQ(commandText({K::FunctionCamera, 12}), "/SC");
}

TEST(CommandParser, CountsIgnoredBytes) {
  CommandParser parser;
  parser.feed("abc/ZZ");
  EXPECT_EQ(parser.ignoredBytes(), 6u);
}

TEST(CommandParser, RandomNoiseNeverHidesACommandThatFollowsIt) {
  std::mt19937 rng(99);
  for (int i = 0; i < 2000; ++i) {
    std::string noise(rng() % 12, '\0');
    for (char& c : noise) c = static_cast<char>(rng() & 0xFF);
    CommandParser parser;
    parser.feed(noise);
    const auto got = parser.feed("/07");
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back(), (Command{K::Camera, 7}));
  }
}

}  // namespace
}  // namespace vqx::sim
