#include "status/receive_display.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace vqx {
namespace {

const std::string BS(1, '\b');
const std::string LF(1, '\n');
const std::string CR(1, '\r');

struct DisplayCase {
  const char* name;
  std::string box;
  std::string received;
  std::string expected;
};

// Test names show the case's name, not its bytes.
void PrintTo(const DisplayCase& c, std::ostream* os) {
  *os << c.name;
}

class DisplayReceivedCases : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayReceivedCases, EditsTextAndAppends) {
  const auto& c = GetParam();
  TerminalBox box;
  box.setText(c.box);
  std::string text = c.received;
  DisplayReceived(box, text);
  EXPECT_EQ(box.text(), c.expected);
  EXPECT_EQ(box.selStart(), box.size()) << "caret at the end";
  EXPECT_EQ(box.selLength(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Terminal, DisplayReceivedCases,
    ::testing::Values(
        DisplayCase{"BackspaceInsideText", "XYZ", "AB" + BS + "C", "XYZAC"},
        DisplayCase{"LeadingBackspaceErasesBoxChar", "XYZ", BS + "Q", "XYQ"},
        DisplayCase{"OnlyOneBoxCharPerCall", "XYZ", BS + BS + "Q", "XYQ"},
        DisplayCase{"LeadingBackspaceOnEmptyBox", "", BS + "Q", "Q"},
        DisplayCase{"TextErasedToNothing", "XYZ", "A" + BS, "XYZ"},
        DisplayCase{"LeadingBackspaceAlone", "XYZ", BS, "XY"},
        DisplayCase{"BackspaceAfterErasureReachesBox", "XYZ", "A" + BS + BS + "Q", "XYQ"},
        DisplayCase{"ChainedBackspaces", "", "ABC" + BS + BS + "D", "AD"},
        DisplayCase{"LineFeedsDroppedPairKept", "", LF + "A" + CR + LF + "B", "A" + CR + LF + "B"},
        DisplayCase{"CarriageReturnsExpanded", "", CR + CR, CR + LF + CR + LF},
        DisplayCase{"BackspaceErasesLineFeedFirst", "", "A" + LF + BS + "B", "AB"},
        DisplayCase{"BackspaceErasesCarriageReturn", "", "A" + CR + BS, "A"},
        DisplayCase{"HighBytesKept", "", "\xFE\x7F\xFF\x80", "\xFE\x7F\xFF\x80"},
        DisplayCase{"NulKept", "", std::string("\0A", 2), std::string("\0A", 2)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DisplayReceived, ReplacesSelectionEvenIfCaretWasElsewhere) {
  TerminalBox box;
  box.setText("HELLO");
  box.setSelStart(1);
  box.setSelLength(2);
  std::string text = "!";
  DisplayReceived(box, text);
  EXPECT_EQ(box.text(), "HELLO!");
}

struct TrimCase {
  std::size_t before;
  std::size_t after;  // length before the new text is appended
};

class DisplayReceivedTrim : public ::testing::TestWithParam<TrimCase> {};

TEST_P(DisplayReceivedTrim, DropsOldestOnlyAboveTheLimit) {
  std::string initial;
  for (std::size_t i = 0; i < GetParam().before; ++i)
    initial.push_back(static_cast<char>('a' + i % 26));
  TerminalBox box;
  box.setText(initial);
  std::string text = "#";
  DisplayReceived(box, text);
  ASSERT_EQ(box.size(), GetParam().after + 1);
  EXPECT_EQ(box.text(), initial.substr(GetParam().before - GetParam().after) + "#");
}

INSTANTIATE_TEST_SUITE_P(Limit, DisplayReceivedTrim,
                         ::testing::Values(TrimCase{16000, 16000}, TrimCase{16001, 11905},
                                           TrimCase{40000, 35904}, TrimCase{4097, 4097}));

TEST(DisplayReceived, LeadingBackspaceAfterTrimErasesLastCharOfTrimmedBox) {
  TerminalBox box;
  box.setText(std::string(16001, 'x') + "Z");
  std::string text = BS + "Q";
  DisplayReceived(box, text);
  EXPECT_EQ(box.size(), 16002u - 4096u);
  EXPECT_EQ(box.text().back(), 'Q');
  EXPECT_EQ(box.text().find('Z'), std::string::npos);
}

TEST(TerminalBox, ClampsSelectionAndReplaces) {
  TerminalBox box;
  box.setText("abc");
  box.setSelStart(10);
  EXPECT_EQ(box.selStart(), 3u);
  box.setSelStart(1);
  box.setSelLength(10);
  EXPECT_EQ(box.selLength(), 2u);
  EXPECT_EQ(box.selText(), "bc");
  box.setSelText("XY");
  EXPECT_EQ(box.text(), "aXY");
  EXPECT_EQ(box.selStart(), 3u);
  box.setText("");
  EXPECT_EQ(box.selStart(), 0u);
}

}  // namespace
}  // namespace vqx
