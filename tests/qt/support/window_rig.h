// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the window tests share: patience, child processes, a pseudo-terminal as the device,
// private user settings, and the main window on the real serial control.
#include <signal.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qt/app/main_window.h"
#include "qt/serial/device_link.h"
#include "qt/serial/qt_serial_control.h"
#include "support/fakes.h"

namespace vqx::testing {

// Runs the event loop until the condition holds; the bound is generous, for loaded machines.
template <typename Condition>
bool waitFor(Condition condition, int timeoutMs = 20000) {
  return QTest::qWaitFor(condition, timeoutMs);
}

// The whole content of a file, "<none>" when it cannot be read.
inline std::string fileText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<none>";
}

// The window of that class that is open on its own, if any.
template <typename Window>
Window* topLevel() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<Window*>(w)) return window;
  return nullptr;
}

// The built vqx16-sim (or another program), started with `args`; readLine() gives its next line
// of standard output (the simulator's first is the path of its line), logShows() waits for `text`
// in its standard error, stop() sends a signal and gives the exit status (-1 when killed or still
// running).
class SimProcess {
 public:
  explicit SimProcess(const std::vector<std::string>& args, const char* program = VQX16_SIM_PATH);
  ~SimProcess() { stop(SIGKILL); }
  std::string readLine();
  bool logShows(const QString& text) {
    return waitFor([&] { return (log_ += process_.readAllStandardError()).contains(text); });
  }
  void signal(int sig) {
    if (process_.processId() > 0) ::kill(pid_t(process_.processId()), sig);
  }
  int stop(int sig = SIGTERM);

 private:
  QProcess process_;
  QString log_;
};

// A pseudo-terminal pair, both ends raw. The program opens the terminal end by path(); the test
// plays the device on the other end. The terminal end is held open too, so the line's attributes
// can be read while the program has it; closeDevice() lets go of both, as an unplugged adapter.
class PseudoTerminal {
 public:
  PseudoTerminal() { reopen(); }
  ~PseudoTerminal() { closeDevice(); }
  PseudoTerminal(const PseudoTerminal&) = delete;

  const std::string& path() const { return path_; }
  int terminalFd() const { return terminal_; }  // for tcgetattr only
  // Sends bytes from the device; false when they were not all taken within ten seconds.
  bool write(std::string_view bytes);
  // What the program sent: up to `count` bytes, waiting at most `timeoutMs` for them while the
  // Qt event loop runs. readFor() takes everything that arrives within the time.
  std::string read(std::size_t count, int timeoutMs = 10000);
  std::string readFor(int timeoutMs) { return read(std::string::npos, timeoutMs); }
  void closeDevice();
  bool reopen();  // a fresh pair, with a new path()

 private:
  int device_ = -1, terminal_ = -1;
  std::string path_;
};

// Points the per-user stored settings at an empty folder of its own while it lives. QSettings
// fixes its user folder the first time it is used in a process, so it is told too.
class TemporaryUserSettings {
 public:
  TemporaryUserSettings() { use(dir_.path()); }
  ~TemporaryUserSettings() { use(old_); }
  QString path() const { return dir_.path(); }

 private:
  static void use(const QString& folder);
  QTemporaryDir dir_;
  QString old_ = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
};

// The main window on the real serial control with port 1 mapped to `device`, and a settings
// file that names the shipped English language file, so the window shows without the chooser.
class WindowRig {
 public:
  explicit WindowRig(const std::string& device, int handshaking = 0);
  MainWindow& load();  // the startup sequence
  QAction* action(const char* name) const { return window_->findChild<QAction*>(name); }
  void click(const char* key);  // a left click on a panel key

  FakeSettingsStore store;
  QtSerialControl serial{store};
  FakePrompts prompts;
  EventPump* closePump = nullptr;  // the close sequence's; unset, the real one
  int ended = 0;                   // how many times the window ended the program
  QString logFolder;               // the incident log's; unset, a folder of the rig's own

 private:
  QTemporaryDir dir_;
  std::unique_ptr<DeviceLink> link_;
  std::unique_ptr<MainWindow> window_;  // the last, so gone before the link it shows
};

}  // namespace vqx::testing
