// The built vqx16-sim as a separate process on a pseudo-terminal, driven the way the program
// drives it: commands in, status frames out, through the core's receive path.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "qt/support/sim_process.h"
#include "status/status_handler.h"
#include "support/fakes.h"

namespace vqx {
namespace {

using testing::SimProcess;

// Reads from the line for up to timeoutMs, feeding every block to the status handler like
// the serial control would, until a frame puts the camera lamp at wantLeft.
bool waitForCameraLamp(int fd, int wantLeft, Indicators* last, int timeoutMs = 5000) {
  testing::FakeSerialControl comm;
  TerminalBox box;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end) {
    if (!SimProcess::poll1(fd, 100)) continue;
    char buf[256];
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) continue;
    comm.received.assign(buf, static_cast<std::size_t>(n));
    if (const auto ind = MSComm1_OnComm(comm, box)) {
      *last = *ind;
      if (ind->cameraLampLeft == wantLeft) return true;
    }
  }
  return false;
}

TEST(SimulatorProcess, AnswersCameraCommandWithItsFrameAndSurvivesReopen) {
  const std::string link = "/tmp/vqx16-sim-test-" + std::to_string(getpid());
  SimProcess sim({"--link", link});
  const std::string path = sim.readLine();
  ASSERT_FALSE(path.empty());
  char target[256] = {};
  ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(path, target);

  for (const auto& [cmd, left] : {std::pair{"/12", 7560}, std::pair{"/05", 5880}}) {
    const int fd = open(link.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, cmd, 3), 3);
    Indicators last;
    EXPECT_TRUE(waitForCameraLamp(fd, left, &last)) << cmd;
    EXPECT_TRUE(last.liveLamp);
    close(fd);  // the simulator must keep serving after the program lets go of the line
  }

  EXPECT_EQ(sim.stop(SIGTERM), 0);
  EXPECT_NE(access(link.c_str(), F_OK), 0) << "link removed at exit";
}

TEST(SimulatorProcess, BeepOnRequestAndCleanExitOnInterrupt) {
  SimProcess sim({"--beep", "--rate", "50"});
  const std::string path = sim.readLine();
  ASSERT_FALSE(path.empty());
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  Indicators first;
  ASSERT_TRUE(waitForCameraLamp(fd, 4920, &first));
  EXPECT_TRUE(first.beep) << "the first frame carries the beep";
  Indicators next;
  ASSERT_TRUE(waitForCameraLamp(fd, 4920, &next));
  EXPECT_FALSE(next.beep) << "only once";
  close(fd);
  EXPECT_EQ(sim.stop(SIGINT), 0);
}

}  // namespace
}  // namespace vqx
