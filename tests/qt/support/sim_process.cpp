#include "qt/support/sim_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vqx::testing {

SimProcess::SimProcess(std::vector<std::string> args) {
  int out[2];
  if (pipe(out) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    // The test's threads may block signals; the simulator must see the ones it is sent.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    std::vector<char*> argv{const_cast<char*>(VQX16_SIM_PATH)};
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(VQX16_SIM_PATH, argv.data());
    _exit(127);
  }
  close(out[1]);
  stdout_ = out[0];
}

SimProcess::~SimProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (stdout_ >= 0) close(stdout_);
}

std::string SimProcess::readLine(int timeoutMs) {
  std::string line;
  char c;
  while (poll1(stdout_, timeoutMs) && read(stdout_, &c, 1) == 1 && c != '\n') line.push_back(c);
  return line;
}

void SimProcess::signal(int sig) {
  if (pid_ > 0) kill(pid_, sig);
}

int SimProcess::stop(int sig) {
  kill(pid_, sig);
  for (int i = 0; i < 500; ++i) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    usleep(10 * 1000);
  }
  return -1;
}

bool SimProcess::poll1(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, timeoutMs) > 0;
}

}  // namespace vqx::testing
