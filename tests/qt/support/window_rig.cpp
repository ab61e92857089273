// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/support/window_rig.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
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

SimProcess::SimProcess(const std::vector<std::string>& args, const char* program) {
  process_.setChildProcessModifier([] {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives a test that dies itself
    sigset_t none;  // the test's threads may block signals the simulator must see
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
  });
  QStringList arguments;
  for (const std::string& a : args) arguments << QString::fromStdString(a);
  process_.start(QString::fromLocal8Bit(program), arguments);
}

std::string SimProcess::readLine() {
  waitFor([&] { return process_.canReadLine() || process_.state() == QProcess::NotRunning; });
  const QByteArray line = process_.readLine();
  return (line.endsWith('\n') ? line.chopped(1) : line).toStdString();
}

int SimProcess::stop(int sig) {
  signal(sig);
  process_.waitForFinished(20000);
  const bool ended = process_.state() == QProcess::NotRunning;
  return ended && process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

void TemporaryUserSettings::use(const QString& folder) {
  qputenv("XDG_CONFIG_HOME", folder.toLocal8Bit());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
}

WindowRig::WindowRig(const std::string& device, int handshaking) {
  store.setValue(kAppTitle, "Ports", "Com1", device);
  store.put("Handshaking", std::to_string(handshaking));
  std::ofstream(dir_.filePath("VQX.ini").toStdString())
      << formatSettingsFile(1500, 1500, VQX16_SOURCE_DIR "/lang/English.lng");
}

MainWindow& WindowRig::load() {
  const QString log = logFolder.isEmpty() ? dir_.filePath("log") : logFolder;
  const auto end = [this] { ++ended; };
  link_ = std::make_unique<DeviceLink>(serial, store, prompts, log);
  window_ = std::make_unique<MainWindow>(
      MainWindowParts{*link_, store, prompts, dir_.filePath("VQX.ini"), end, {}, closePump});
  window_->load();
  return *window_;
}

void WindowRig::click(const char* key) {
  QTest::mouseClick(window_->panel()->key(QString::fromLatin1(key)), Qt::LeftButton);
}

}  // namespace vqx::testing
