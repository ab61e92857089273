#include "app/startup.h"
#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <clocale>

#include "support/fakes.h"

namespace vqx {
namespace {

using testing::FakePrompts;
using testing::FakeSerialControl;
using testing::FakeSettingsStore;

struct Startup : ::testing::Test {
  FakeSettingsStore store;
  FakeSerialControl serial;
  FakePrompts prompts;
  bool echo = false;

  bool apply() { return applyStoredPortSettings(store, serial, prompts, echo); }
};

TEST_F(Startup, NothingStoredKeepsTheDesignValues) {
  EXPECT_TRUE(apply());
  EXPECT_EQ(serial.settings(), "9600,n,8,1");
  EXPECT_EQ(serial.commPort(), 1);
  EXPECT_FALSE(echo);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(Startup, StoredValuesReachTheControl) {
  store.put("Settings", "19200,E,7,2");
  store.put("CommPort", "3");
  store.put("Handshaking", "2");
  store.put("Echo", "True");
  EXPECT_TRUE(apply());
  EXPECT_EQ(serial.settings(), "19200,e,7,2");
  EXPECT_EQ(serial.commPort(), 3);
  EXPECT_EQ(serial.handshaking(), 2);
  EXPECT_TRUE(echo);
}

TEST_F(Startup, RejectedSettingsAreReportedOnceAndStopEverything) {
  store.put("Settings", "garbage");
  store.put("CommPort", "4");
  store.put("Echo", "True");
  EXPECT_FALSE(apply());
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Exclamation);
  EXPECT_EQ(prompts.shown[0].caption, "VQX16");
  EXPECT_EQ(serial.commPort(), 1);
  EXPECT_FALSE(echo);
}

TEST_F(Startup, BadPortIsReportedOnlyTogetherWithHandshaking) {
  for (const char* port : {"abc", "99999", "0", "300", "-1"}) {
    SCOPED_TRACE(port);
    prompts.shown.clear();
    store.values.clear();
    store.put("CommPort", port);
    store.put("Echo", "1");
    echo = false;
    EXPECT_TRUE(apply());  // no handshaking stored: ignored, and the rest runs
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(serial.commPort(), 1);
    EXPECT_TRUE(echo);

    store.put("Handshaking", "1");
    echo = false;
    EXPECT_FALSE(apply());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_FALSE(echo);
  }
}

TEST_F(Startup, BadHandshakingIsReportedAndStops) {
  for (const char* value : {"7", "x", "-1", "4294967296", "1.5"}) {
    SCOPED_TRACE(value);
    prompts.shown.clear();
    store.put("Handshaking", value);
    EXPECT_FALSE(apply());
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(serial.handshaking(), 0);
  }
}

TEST_F(Startup, TheLatestFailureIsTheOneShown) {
  store.put("CommPort", "999");
  store.put("Handshaking", "9");
  EXPECT_FALSE(apply());
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "Invalid handshaking value");
}

TEST(TruthValue, TrueFalseAndNumbers) {
  EXPECT_EQ(parseTruthValue("True"), true);
  EXPECT_EQ(parseTruthValue("false"), false);
  EXPECT_EQ(parseTruthValue(" -1 "), true);
  EXPECT_EQ(parseTruthValue("0"), false);
  EXPECT_EQ(parseTruthValue("0.0"), false);
  EXPECT_EQ(parseTruthValue("2.5"), true);
  EXPECT_EQ(parseTruthValue("+.5"), true);
  EXPECT_EQ(parseTruthValue(std::string(400, '9')), true);  // beyond a double, still a number
  EXPECT_EQ(parseTruthValue("0." + std::string(400, '0') + "1"), true);
  EXPECT_EQ(parseTruthValue("1e3"), true);
  EXPECT_EQ(parseTruthValue("1e999999"), true);
  EXPECT_EQ(parseTruthValue("0e5"), false);
  for (const char* none :
       {"", "yes", "Truex", "0x1", "nan", "inf", "-inf", "1 2", "1,5", "-", ".", "e5", "1e"}) {
    EXPECT_FALSE(parseTruthValue(none)) << none;
  }
}

// Qt puts the operator's locale into the C library at start; stored numbers do not follow it.
TEST(TruthValue, DecimalPointIsAPointInAnyLocale) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  int tried = 0;
  for (const char* locale : {"de_DE.UTF-8", "it_IT.UTF-8", "fr_FR.UTF-8"}) {
    if (!std::setlocale(LC_NUMERIC, locale)) continue;
    ++tried;
    EXPECT_EQ(parseTruthValue("0.5"), true) << locale;
    EXPECT_EQ(parseTruthValue("0.0"), false) << locale;
    EXPECT_EQ(parseTwips("12.6"), 13) << locale;
  }
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (tried == 0) GTEST_SKIP() << "no locale with a decimal comma is installed";
}

TEST(StoredInteger, RangeAndFormat) {
  EXPECT_EQ(parseStoredInteger(" 12 ", -100, 100).value, 12);
  EXPECT_EQ(parseStoredInteger("-100", -100, 100).value, -100);
  EXPECT_EQ(parseStoredInteger("101", -100, 100).result.error(), "Overflow");
  EXPECT_EQ(parseStoredInteger(std::string(400, '9'), -100, 100).result.error(), "Overflow");
  EXPECT_EQ(parseStoredInteger("", 0, 1).result.error(), "Type mismatch");
  EXPECT_EQ(parseStoredInteger("+", 0, 1).result.error(), "Type mismatch");
}

}  // namespace
}  // namespace vqx
