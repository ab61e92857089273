#include "qt/support/pseudo_terminal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace vqx::testing {
namespace {

TEST(PseudoTerminal, CarriesEveryByteValueBothWays) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.isOpen());
  const int fd = ::open(pty.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));

  ASSERT_EQ(::write(fd, all.data(), all.size()), static_cast<ssize_t>(all.size()));
  EXPECT_EQ(pty.read(all.size()), all);

  ASSERT_TRUE(pty.write(all));
  std::string back(all.size(), '\0');
  EXPECT_EQ(::read(fd, back.data(), back.size()), static_cast<ssize_t>(all.size()));
  EXPECT_EQ(back, all);
  ::close(fd);
}

TEST(PseudoTerminal, ReopenGivesAFreshPairAndClosedDeviceReadsNothing) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.isOpen());
  pty.closeDevice();
  EXPECT_FALSE(pty.isOpen());
  EXPECT_EQ(pty.read(1, 10), "");
  EXPECT_FALSE(pty.write("x"));
  ASSERT_TRUE(pty.reopen());
  EXPECT_TRUE(pty.isOpen());
  EXPECT_FALSE(pty.path().empty());
  EXPECT_EQ(pty.readFor(20), "");
}

}  // namespace
}  // namespace vqx::testing
