#pragma once

// The built vqx16-sim as a separate process, for tests that need a device on the other end
// of a serial line. Its standard output (the path of its line) and standard error (its log,
// with --log) are read by the test.

#include <sys/types.h>

#include <string>
#include <vector>

namespace vqx::testing {

class SimProcess {
 public:
  explicit SimProcess(std::vector<std::string> args);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool running() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }

  // The next line the simulator prints; the first is the path of its line.
  std::string readLine(int timeoutMs = 5000);
  // Waits, running the Qt event loop, until the simulator's log holds `text`.
  bool logShows(const std::string& text, int timeoutMs = 3000);
  const std::string& log() const { return log_; }

  // Sends a signal without waiting.
  void signal(int sig);
  // Sends the signal (SIGTERM: the simulator closes its line and removes its link) and waits,
  // running the Qt event loop; the exit status, or -1 when it did not end in time.
  int stop(int sig = 15);

  static bool poll1(int fd, int timeoutMs);

 private:
  void drainLog();

  pid_t pid_ = -1;
  int stdout_ = -1;
  int stderr_ = -1;
  std::string log_;
};

}  // namespace vqx::testing
