// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/support/window_rig.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include "app/settings_file.h"
#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"

namespace vqx::testing {

SimProcess::SimProcess(std::vector<std::string> args, const char* program) {
  int out[2], err[2];
  if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return;
  pid_ = ::fork();
  if (pid_ == 0) {
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

std::string SimProcess::readLine() {
  std::string line;
  pollfd p{out_, POLLIN, 0};
  for (char c; ::poll(&p, 1, 20000) > 0 && ::read(out_, &c, 1) == 1 && c != '\n';) line += c;
  return line;
}

bool SimProcess::logShows(const std::string& text) {
  return waitFor([&] {
    char buffer[1024];
    for (ssize_t n; (n = ::read(err_, buffer, sizeof buffer)) > 0;) log_.append(buffer, n);
    return log_.find(text) != std::string::npos;
  });
}

void SimProcess::signal(int sig) {
  ::kill(pid_, sig);
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
  QFile ini(dir_.filePath("VQX.ini"));
  if (ini.open(QIODevice::WriteOnly)) {
    ini.write(formatSettingsFile(1500, 1500, VQX16_SOURCE_DIR "/lang/English.lng").c_str());
  }
}

WindowRig::~WindowRig() {
  window_.reset();  // before the control it uses
}

frmTerminal& WindowRig::load() {
  window_ = std::make_unique<frmTerminal>(
      TerminalDependencies{serial,
                           store,
                           prompts,
                           dir_.filePath("VQX.ini"),
                           [this] { ++ended; },
                           {},
                           closePump,
                           logFolder.isEmpty() ? dir_.filePath("log") : logFolder});
  window_->Form_Load();
  return *window_;
}

QAction* WindowRig::action(const char* name) const {
  return window_->findChild<QAction*>(QString::fromLatin1(name));
}

void WindowRig::click(const char* key) {
  QTest::mouseClick(window_->panel()->key(QString::fromLatin1(key)), Qt::LeftButton);
}

}  // namespace vqx::testing
