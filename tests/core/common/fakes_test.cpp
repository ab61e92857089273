#include "support/fakes.h"

#include <gtest/gtest.h>

namespace vqx {
namespace {

// The fake serial control keeps the control's rules that tests elsewhere rely on.
TEST(FakeSerialControl, KeepsThePortRules) {
  testing::FakeSerialControl serial;
  EXPECT_FALSE(serial.output("x"));
  ASSERT_TRUE(serial.setPortOpen(true));
  EXPECT_FALSE(serial.setCommPort(2));
  EXPECT_TRUE(serial.output(std::string("\0\1", 2)));
  EXPECT_EQ(serial.written, std::string("\0\1", 2));
  EXPECT_TRUE(serial.setSettings("19200,E,7,2"));
  EXPECT_EQ(serial.settings(), "19200,e,7,2");
}

}  // namespace
}  // namespace vqx
