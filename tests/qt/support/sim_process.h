#pragma once

// The built vqx16-sim as a separate process, for tests that need a device on the other end
// of a serial line.

#include <sys/types.h>

#include <string>
#include <vector>

namespace vqx::testing {

class SimProcess {
 public:
  // Starts the simulator with these arguments; its standard output is read through readLine.
  explicit SimProcess(std::vector<std::string> args);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // The next line the simulator prints; the first is the path of its line.
  std::string readLine(int timeoutMs = 5000);
  // Sends a signal without waiting.
  void signal(int sig);
  // Sends the signal and returns the exit status, or -1 when it did not end in time.
  int stop(int sig);
  pid_t pid() const { return pid_; }

  static bool poll1(int fd, int timeoutMs);

 private:
  pid_t pid_ = -1;
  int stdout_ = -1;
};

}  // namespace vqx::testing
