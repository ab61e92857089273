#include "common/result.h"

#include <gtest/gtest.h>

namespace vqx {
namespace {

TEST(Result, FailureCarriesItsDescription) {
  EXPECT_TRUE(Result::ok().isOk());
  const Result r = Result::fail("Port already open");
  EXPECT_FALSE(r);
  EXPECT_EQ(r.error(), "Port already open");
}

}  // namespace
}  // namespace vqx
