// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's decisions that need no window: the stored port settings at startup, the
// settings file's format, and the close sequence.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <sstream>

#include "app/settings_file.h"
#include "app/startup.h"
#include "common/text.h"
#include "support/fakes.h"

namespace vqx {
namespace {

using testing::FakePrompts;
using testing::FakeSerialControl;

// Each row: what is stored under [Properties] (the keys not named are empty); then what the
// startup did: its one report or "goes on", and the control's line settings, port, handshaking
// and Echo. A rejected port number counts only together with a stored handshaking, which is set
// all the same; the latest failure is the one reported.
TEST(Startup, StoredPortSettingsReachTheControlOrStopTheStartupWithOneReport) {
  const std::pair<const char*, const char*> cases[] = {
      // clang-format off
      {"", "goes on: 9600,n,8,1 1 0 false"},
      {"Settings=19200,E,7,2 CommPort=3 Handshaking=2 Echo=True", "goes on: 19200,e,7,2 3 2 true"},
      {"Settings=000123456789,n,8,1", "goes on: 123456789,n,8,1 1 0 false"},
      {"Settings=1234567890,n,8,1", "Baud rate out of range: 1234567890: 9600,n,8,1 1 0 false"},
      {"Settings=9600,x,8,1 CommPort=4 Echo=True", "Invalid parity \"x\": 9600,n,8,1 1 0 false"},
      {"CommPort=abc Echo=1", "goes on: 9600,n,8,1 1 0 true"},
      {"CommPort=99999 Echo=-1", "goes on: 9600,n,8,1 1 0 true"},
      {"CommPort=0", "goes on: 9600,n,8,1 1 0 false"},
      {"CommPort=abc Handshaking=1 Echo=True", "Type mismatch: 9600,n,8,1 1 1 false"},
      {"CommPort=99999 Handshaking=1 Echo=True", "Overflow: 9600,n,8,1 1 1 false"},
      {"CommPort=300 Handshaking=1 Echo=True", "Invalid port number: 9600,n,8,1 1 1 false"},
      {"CommPort=-32768 Handshaking=1", "Invalid port number: 9600,n,8,1 1 1 false"},
      {"CommPort=999 Handshaking=9", "Invalid handshaking value: 9600,n,8,1 1 0 false"},
      {"Handshaking=x", "Type mismatch: 9600,n,8,1 1 0 false"},
      {"Handshaking=4294967296", "Overflow: 9600,n,8,1 1 0 false"},
      {"Handshaking=1.5", "Type mismatch: 9600,n,8,1 1 0 false"},
      {"CommPort=2 Handshaking=1 Echo=maybe", "goes on: 9600,n,8,1 2 1 false"},
      // clang-format on
  };
  for (const auto& [stored, expected] : cases) {
    testing::FakeSettingsStore store;
    std::istringstream in(stored);
    for (std::string entry; in >> entry;) {
      const std::size_t equals = entry.find('=');
      store.put(entry.substr(0, equals), entry.substr(equals + 1));
    }
    FakeSerialControl serial;
    FakePrompts prompts;
    bool echo = false;
    std::string got = applyStoredPortSettings(store, serial, prompts, echo) ? "goes on" : "";
    for (const auto& shown : prompts.shown) {
      got += shown.text;
      EXPECT_EQ(shown.icon, PromptIcon::Exclamation);
    }
    got += ": " + serial.settings() + " " + std::to_string(serial.commPort()) + " " +
           std::to_string(serial.handshaking()) + (echo ? " true" : " false");
    EXPECT_EQ(got, expected) << stored;
  }
}

TEST(Startup, TruthValuesAndNumbersOfStoredTextReadWithADecimalPointWhateverTheLocale) {
  const std::pair<std::string, std::optional<bool>> truth[] = {
      {"0.0", false}, {"+.5", true}, {"0e5", false}, {"1e999999", true}, {"", {}}, {"Truex", {}},
      {"0x1", {}}, {"nan", {}}, {"-inf", {}}, {"1,5", {}}, {"e5", {}}};
  for (const auto& [text, value] : truth) EXPECT_EQ(parseTruthValue(text), value) << text;
  EXPECT_EQ(parseTwips("12.59"), 13);
}

TEST(SettingsFile, WritesThreeLinesAndReadsWhatThereIs) {
  EXPECT_EQ(formatSettingsFile(3000, -2000, " /lang/English.lng "),
            " 3000 \r\n-2000 \r\n /lang/English.lng \r\n");
  EXPECT_EQ(formatTwips(LONG_MIN), std::to_string(LONG_MIN) + " ");
  EXPECT_EQ(formatSettingsFile(1, 2, "/a\rb\nc.lng"), " 1 \r\n 2 \r\n\r\n") << "no 4th line";
  EXPECT_NE(lineBreakInPathMessage("/a\rb\nc.lng").find("\n/a\\rb\\nc.lng\n"), std::string::npos);
  const std::string overlong(kSettingsLineLimit + 1, '7');
  const std::string longest(kSettingsLineLimit, '7');
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {  // the lines read, "-" for none
      {"", "- - -"}, {" 1 \r\n 2 \r\n", "[ 1 ] [ 2 ] -"}, {" 1 \r\n 2 \r\n\r\n", "[ 1 ] [ 2 ] []"},
      {" 1 \n 2 \nx.lng", "[ 1 ] [ 2 ] [x.lng]"}, {" 1 \r 2 \rx.lng\r", "[ 1 ] [ 2 ] [x.lng]"},
      {std::string("\0\n\x80\n\0z", 6), std::string("[\0] [\x80] [\0z]", 12)},
      {" 1 \r\n" + overlong + "\r\nx.lng\r\n", "[ 1 ] - -"},
      {longest + "\r\n" + longest, "[" + longest + "] [" + longest + "] -"}};
  // clang-format on
  for (const auto& [file, read] : cases) {
    const SettingsFileLines lines = parseSettingsFile(file);
    std::string got;
    for (const auto& line : {lines.left, lines.top, lines.languageFile})
      got += (got.empty() ? "" : " ") + (line ? "[" + *line + "]" : "-");
    EXPECT_EQ(got, read);
  }
  for (const char* good : {" 1500 ", "1500", " -30 "}) EXPECT_TRUE(parseTwips(good)) << good;
  for (const char* bad : {"", "   ", "abc", "12a", "1 2", "-", ".", "1e5", "0x10", "nan",
                          "99999999999999999999999999"})
    EXPECT_FALSE(parseTwips(bad)) << bad;
  // A startup that stopped before reading the file writes nothing until the operator changes one,
  // and then that one alone: a language chosen is saved with the position the file holds.
  EXPECT_FALSE(settingsToSave({}, {}, [] { return SettingsFileLines{}; }));
  const auto held = [] { return parseSettingsFile(" 15 \r\n 30 \r\nx.lng\r\n"); };
  const auto saved = settingsToSave({.languageChosen = true}, {1, 2, "y.lng"}, held);
  EXPECT_EQ(std::tuple(saved->left, saved->top, saved->languageFile), std::tuple(15, 30, "y.lng"));
}

// The port open or not, after how many waits of a second the output drains (0: never), the
// answers to "Data cannot be sent"; then whether the program ends, the waits, the questions.
TEST(CloseSequence, WaitsForOutputAsksEveryTenSecondsAndHonoursTheAnswer) {
  using A = PromptAnswer;
  const struct {
    bool open = true;
    int drainsAfter = 0;
    std::deque<PromptAnswer> answers{};
    const char* outcome = "";
  } cases[] = {
      // clang-format off
      {.open = false, .outcome = "ends, 0 waits, 0 questions"},
      {.drainsAfter = 3, .outcome = "ends, 3 waits, 0 questions"},
      {.drainsAfter = 13, .answers = {A::Retry}, .outcome = "ends, 13 waits, 1 questions"},
      {.answers = {A::Retry, A::Abort}, .outcome = "stays, 20 waits, 2 questions"},
      {.answers = {A::Ignore}, .outcome = "ends, 10 waits, 1 questions"},
      // clang-format on
  };
  for (const auto& [open, drainsAfter, answers, outcome] : cases) {
    FakeSerialControl serial;
    FakePrompts prompts;
    testing::SteppingPump pump;
    serial.open = open;
    serial.queued = 10;
    pump.onWait = [&](int n) { serial.queued = n == drainsAfter ? 0 : serial.queued; };
    prompts.answers = answers;
    const bool ends = runCloseSequence(serial, prompts, pump);
    EXPECT_EQ((ends ? "ends, " : "stays, ") + std::to_string(pump.waits) + " waits, " +
                  std::to_string(prompts.shown.size()) + " questions",
              outcome);
    EXPECT_EQ(serial.open, !ends) << outcome << ": the port is closed when the program ends";
    for (const auto& shown : prompts.shown) {
      EXPECT_EQ(
          std::tuple(shown.text, shown.icon, shown.buttons),
          std::tuple(kDataCannotBeSent, PromptIcon::Question, PromptButtons::AbortRetryIgnore));
    }
  }
}

// Text from outside (here a 1 MB stored value) reaches a box shortened to 500 characters and 15
// lines, with an ellipsis, and never with a character cut in two.
TEST(Prompts, OutsideTextIsShortenedWithAnEllipsisAndArgumentsAreTakenAsTheyAre) {
  const std::string lines = "a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl\nm\nn\no\np\nq\nr\ns\nt\n";
  const std::pair<std::string, std::string> cases[] = {
      {"/dev/ttyUSB0: Permission denied", "/dev/ttyUSB0: Permission denied"},
      {"Overflow: " + std::string(1 << 20, '9'), "Overflow: " + std::string(490, '9') + "\u2026"},
      {std::string(499, 'a') + "\u00e0\u00e0", std::string(499, 'a') + "\u00e0\u2026"},
      {lines, lines.substr(0, 29) + "\u2026"}};
  FakePrompts prompts;
  for (const auto& c : cases) prompts.error(c.first);
  prompts.notice(lines);  // a report that does not wait is shortened alike
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(prompts.shown.at(i).text, cases[i].second);
  EXPECT_EQ(prompts.shown.back().text, cases[3].second);
  // Arguments take the places of %1 and %2; their own "%" is never read as a mark.
  EXPECT_EQ(withArgs("%1 is 100% of %2", {"a%2", "b"}), "a%2 is 100% of b");
}

}  // namespace
}  // namespace vqx
