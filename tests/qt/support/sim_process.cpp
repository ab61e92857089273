#include "qt/support/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>

namespace vqx::testing {

SimProcess::SimProcess(std::vector<std::string> args) {
  int out[2];
  int err[2];
  if (::pipe(out) != 0) return;
  if (::pipe(err) != 0) {
    ::close(out[0]);
    ::close(out[1]);
    return;
  }
  pid_ = ::fork();
  if (pid_ == 0) {
    // The test's threads may block signals; the simulator must see the ones it is sent.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    for (int fd : {out[0], out[1], err[0], err[1]}) ::close(fd);
    std::vector<char*> argv{const_cast<char*>(VQX16_SIM_PATH)};
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(VQX16_SIM_PATH, argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  stdout_ = out[0];
  stderr_ = err[0];
  ::fcntl(stderr_, F_SETFL, ::fcntl(stderr_, F_GETFL) | O_NONBLOCK);
}

SimProcess::~SimProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (stdout_ >= 0) ::close(stdout_);
  if (stderr_ >= 0) ::close(stderr_);
}

std::string SimProcess::readLine(int timeoutMs) {
  std::string line;
  char c;
  while (poll1(stdout_, timeoutMs) && ::read(stdout_, &c, 1) == 1 && c != '\n') {
    line.push_back(c);
  }
  return line;
}

void SimProcess::drainLog() {
  char buffer[1024];
  ssize_t n;
  while ((n = ::read(stderr_, buffer, sizeof buffer)) > 0) {
    log_.append(buffer, static_cast<std::size_t>(n));
  }
}

bool SimProcess::logShows(const std::string& text, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    drainLog();
    if (log_.find(text) != std::string::npos) return true;
    if (clock.elapsed() >= timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    poll1(stderr_, 5);
  }
}

void SimProcess::signal(int sig) {
  if (pid_ > 0) ::kill(pid_, sig);
}

int SimProcess::stop(int sig) {
  if (pid_ <= 0) return -1;
  ::kill(pid_, sig);
  for (int i = 0; i < 500; ++i) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      drainLog();
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ::usleep(10 * 1000);
  }
  return -1;
}

bool SimProcess::poll1(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, timeoutMs) > 0;
}

}  // namespace vqx::testing
