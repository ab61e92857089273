#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace vqx {
namespace {

TEST(SettingsFile, WritesThreeLinesWithSpacedNumbers) {
  EXPECT_EQ(formatSettingsFile(3000, 2000, "/opt/lang/English.lng"),
            " 3000 \r\n 2000 \r\n/opt/lang/English.lng\r\n");
  EXPECT_EQ(formatSettingsFile(-1500, 0, ""), "-1500 \r\n 0 \r\n\r\n");
  // The language path is written exactly as it is, spaces included.
  EXPECT_EQ(parseSettingsFile(formatSettingsFile(1, 2, " a b ")).languageFile, " a b ");
}

TEST(SettingsFile, WritesTheExtremesOfANumberAsTheyAre) {
  // The most negative value has no positive counterpart: it must not be negated to print it.
  EXPECT_EQ(formatTwips(std::numeric_limits<long>::min()),
            std::to_string(std::numeric_limits<long>::min()) + " ");
  EXPECT_EQ(formatTwips(std::numeric_limits<long>::max()),
            " " + std::to_string(std::numeric_limits<long>::max()) + " ");
  EXPECT_EQ(formatTwips(-1), "-1 ");
}

TEST(SettingsFile, ReadsWhatItWrote) {
  const auto lines = parseSettingsFile(formatSettingsFile(-15, 4500, "C:\\lang\\English.lng"));
  EXPECT_EQ(parseTwips(*lines.left), -15);
  EXPECT_EQ(parseTwips(*lines.top), 4500);
  EXPECT_EQ(lines.languageFile, "C:\\lang\\English.lng");
}

TEST(SettingsFile, ShortAndOddFilesLeaveWhatIsMissingUnread) {
  EXPECT_FALSE(parseSettingsFile("").left);
  const auto two = parseSettingsFile(" 1 \r\n 2 \r\n");
  EXPECT_EQ(two.top, " 2 ");
  EXPECT_FALSE(two.languageFile);  // no third line: no language chosen
  const auto emptyThird = parseSettingsFile(" 1 \r\n 2 \r\n\r\n");
  EXPECT_EQ(emptyThird.languageFile, "");
  const auto noFinalEnd = parseSettingsFile(" 1 \n 2 \nx.lng");
  EXPECT_EQ(noFinalEnd.languageFile, "x.lng");
  const auto bareCr = parseSettingsFile(" 1 \r 2 \rx.lng\r");
  EXPECT_EQ(bareCr.top, " 2 ");
  EXPECT_EQ(bareCr.languageFile, "x.lng");
  const auto binary = parseSettingsFile(std::string("\0\xff\x01\n\x80\n\x00z", 8));
  EXPECT_EQ(binary.languageFile, std::string("\0z", 2));
  EXPECT_FALSE(parseTwips(*binary.left));
}

TEST(SettingsFile, AnOverlongLineIsUnreadableAndSoIsTheRest) {
  const std::string longLine(kSettingsLineLimit + 1, '7');
  const auto lines = parseSettingsFile(" 1 \r\n" + longLine + "\r\nx.lng\r\n");
  EXPECT_EQ(lines.left, " 1 ");
  EXPECT_FALSE(lines.top);
  EXPECT_FALSE(lines.languageFile);
  EXPECT_EQ(parseSettingsFile(std::string(kSettingsLineLimit, 'a')).left->size(),
            kSettingsLineLimit);
}

TEST(SettingsFile, CoordinatesAreNumbersOrNothing) {
  EXPECT_EQ(parseTwips(" 1500 "), 1500);
  EXPECT_EQ(parseTwips("1500"), 1500);
  EXPECT_EQ(parseTwips(" -30 "), -30);
  EXPECT_EQ(parseTwips("12.6"), 13);
  for (const char* bad : {"", "   ", "abc", "12a", "1 2", "-", ".", "1e5", "0x10",
                          "99999999999999999999999999", "nan", "inf"}) {
    EXPECT_FALSE(parseTwips(bad)) << bad;
  }
}

}  // namespace
}  // namespace vqx
