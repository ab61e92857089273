// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/support/window_rig.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <fstream>

#include "app/settings_file.h"
#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"

namespace vqx::testing {
namespace {

// One slice of waiting: the program's sockets and timers run, then a short wait on the device.
void pumpAndPoll(int fd, short events) {
  QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  pollfd p{fd, events, 0};
  ::poll(&p, 1, 5);
}

}  // namespace

bool PseudoTerminal::reopen() {
  closeDevice();
  char name[256] = {};
  if (::openpty(&device_, &terminal_, name, nullptr, nullptr) != 0) return false;
  termios tio{};
  ::tcgetattr(terminal_, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(terminal_, TCSANOW, &tio);
  ::fcntl(device_, F_SETFL, ::fcntl(device_, F_GETFL) | O_NONBLOCK);
  ::fcntl(device_, F_SETFD, FD_CLOEXEC);
  ::fcntl(terminal_, F_SETFD, FD_CLOEXEC);
  path_ = name;
  return true;
}

void PseudoTerminal::closeDevice() {
  if (device_ >= 0) ::close(device_);
  if (terminal_ >= 0) ::close(terminal_);
  device_ = terminal_ = -1;
}

bool PseudoTerminal::write(std::string_view bytes) {
  QElapsedTimer clock;
  for (clock.start(); !bytes.empty() && device_ >= 0 && clock.elapsed() < 10000;) {
    const ssize_t n = ::write(device_, bytes.data(), bytes.size());
    if (n > 0) bytes.remove_prefix(static_cast<std::size_t>(n));
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (n <= 0) pumpAndPoll(device_, POLLOUT);
  }
  return bytes.empty();
}

std::string PseudoTerminal::read(std::size_t count, int timeoutMs) {
  std::string got;
  QElapsedTimer clock;
  char buffer[4096];
  for (clock.start(); device_ >= 0 && got.size() < count;) {
    const ssize_t n = ::read(device_, buffer, std::min(sizeof buffer, count - got.size()));
    if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
    if (n <= 0 && clock.elapsed() >= timeoutMs) break;
    if (n <= 0) pumpAndPoll(device_, POLLIN);
  }
  return got;
}

SimProcess::SimProcess(std::vector<std::string> args, const char* program) {
  int out[2], err[2];
  if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return;
  pid_ = ::fork();
  if (pid_ == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives a test that dies itself
    sigset_t none;  // the test's threads may block signals the simulator must see
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(program)};
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(program, argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  out_ = out[0];
  err_ = err[0];
  ::fcntl(err_, F_SETFL, O_NONBLOCK);
}

SimProcess::~SimProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  ::close(out_);
  ::close(err_);
}

std::string SimProcess::readLine(std::size_t most) {
  std::string line;
  pollfd p{out_, POLLIN, 0};
  for (char c;
       line.size() < most && ::poll(&p, 1, 20000) > 0 && ::read(out_, &c, 1) == 1 && c != '\n';)
    line += c;
  return line;
}

bool SimProcess::logShows(const std::string& text) {
  return waitFor([&] {
    char buffer[1024];
    for (ssize_t n; (n = ::read(err_, buffer, sizeof buffer)) > 0;) log_.append(buffer, n);
    return log_.find(text) != std::string::npos;
  });
}

int SimProcess::stop(int sig) {
  int status = -1;
  ::kill(pid_, sig);
  waitFor([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; });
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// QSettings fixes its user folder the first time it is used in a process, so it is told too.
TemporaryUserSettings::TemporaryUserSettings()
    : old_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)) {
  qputenv("XDG_CONFIG_HOME", dir_.path().toLocal8Bit());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
}

TemporaryUserSettings::~TemporaryUserSettings() {
  qputenv("XDG_CONFIG_HOME", old_.toLocal8Bit());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, old_);
}

WindowRig::WindowRig(const std::string& device, int handshaking) {
  store.setValue(kAppTitle, "Ports", "Com1", device);
  store.put("Handshaking", std::to_string(handshaking));
  std::ofstream(dir_.filePath("VQX.ini").toStdString())
      << formatSettingsFile(1500, 1500, VQX16_SOURCE_DIR "/lang/English.lng");
}

frmTerminal& WindowRig::load() {
  const QString log = logFolder.isEmpty() ? dir_.filePath("log") : logFolder;
  const auto end = [this] { ++ended; };
  window_ = std::make_unique<frmTerminal>(TerminalDependencies{
      serial, store, prompts, dir_.filePath("VQX.ini"), end, {}, closePump, log});
  window_->Form_Load();
  return *window_;
}

void WindowRig::click(const char* key) {
  QTest::mouseClick(window_->panel()->key(QString::fromLatin1(key)), Qt::LeftButton);
}

}  // namespace vqx::testing
