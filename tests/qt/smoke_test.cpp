#include <gtest/gtest.h>

#include <QApplication>

TEST(QtSmoke, OffscreenApplicationRuns) { EXPECT_NE(qApp, nullptr); }
