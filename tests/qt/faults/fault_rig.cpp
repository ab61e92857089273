#include "qt/faults/fault_rig.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <fstream>

#include "app/settings_file.h"
#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"

namespace vqx::testing {

double cpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long residentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

WindowRig::WindowRig(const std::string& device, int handshaking) {
  mapPort(device);
  store.put("Handshaking", std::to_string(handshaking));
  QFile ini(dir_.filePath("VQX.ini"));
  if (ini.open(QIODevice::WriteOnly)) {
    const std::string text = formatSettingsFile(1500, 1500, VQX16_SOURCE_DIR "/lang/English.lng");
    ini.write(text.data(), static_cast<qint64>(text.size()));
  }
}

WindowRig::~WindowRig() {
  window_.reset();  // before the control it uses
}

frmTerminal& WindowRig::load() {
  window_ = std::make_unique<frmTerminal>(
      TerminalDependencies{serial, store, prompts, dir_.filePath("VQX.ini"), [] {}});
  window_->Form_Load();
  return *window_;
}

bool WindowRig::checked() const {
  return window_->findChild<QAction*>("mnuOpen")->isChecked();
}

void WindowRig::clickOpen() {
  window_->findChild<QAction*>("mnuOpen")->trigger();
}

void WindowRig::click(const char* key) {
  QTest::mouseClick(window_->panel()->key(QString::fromLatin1(key)), Qt::LeftButton);
}

void WindowRig::mapPort(const std::string& device) {
  store.setValue(kAppTitle, "Ports", "Com1", device);
}

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
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    for (int fd : {out[0], out[1], err[0], err[1]}) ::close(fd);
    std::vector<char*> argv{const_cast<char*>(VQX16_SIM_PATH)};
    args.push_back("--log");
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

std::string SimProcess::firstLine(int timeoutMs) {
  std::string line;
  char c;
  pollfd p{stdout_, POLLIN, 0};
  while (::poll(&p, 1, timeoutMs) > 0 && ::read(stdout_, &c, 1) == 1 && c != '\n') {
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
    pollfd p{stderr_, POLLIN, 0};
    ::poll(&p, 1, 5);
  }
}

int SimProcess::stop() {
  if (pid_ <= 0) return -1;
  ::kill(pid_, SIGTERM);
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

}  // namespace vqx::testing
