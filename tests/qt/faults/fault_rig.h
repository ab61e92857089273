#pragma once

// What the fault tests share: the main window built as the program builds it, with the real
// serial control on a line the test controls and prompts that answer at once; the simulator
// as a separate process; the process's own processor time and resident memory.

#include <sys/types.h>

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "qt/app/frm_terminal.h"
#include "qt/serial/qt_serial_control.h"
#include "support/fakes.h"

class QAction;

namespace vqx::testing {

// Processor time (user and system) this process has used, in seconds.
double cpuSeconds();
// Resident memory of this process in kilobytes (VmRSS), 0 when unknown.
long residentKb();

// The main window on the real serial control, port 1 mapped to `device`. The settings file
// names a language file shipped with the program, so the window shows (no chooser).
class WindowRig {
 public:
  explicit WindowRig(const std::string& device, int handshaking = 0);
  ~WindowRig();

  frmTerminal& load();  // the startup sequence
  frmTerminal& window() { return *window_; }
  bool checked() const;  // the check mark of mnuOpen
  void clickOpen();      // mnuOpen as the operator triggers it
  // A left click on a panel key, as the mouse gives it.
  void click(const char* key);
  void mapPort(const std::string& device);

  FakeSettingsStore store;
  QtSerialControl serial{store};
  FakePrompts prompts;

 private:
  QTemporaryDir dir_;
  std::unique_ptr<frmTerminal> window_;
};

// vqx16-sim with --log, its standard error read by the test.
class SimProcess {
 public:
  explicit SimProcess(std::vector<std::string> args);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool running() const { return pid_ > 0; }
  // The line the simulator prints first: the path of its pseudo-terminal.
  std::string firstLine(int timeoutMs = 5000);
  // Waits, running the Qt event loop, until the simulator's log holds `text`.
  bool logShows(const std::string& text, int timeoutMs = 3000);
  const std::string& log() const { return log_; }
  // SIGTERM and wait: the simulator closes its line and removes its link.
  int stop();

 private:
  void drainLog();

  pid_t pid_ = -1;
  int stdout_ = -1;
  int stderr_ = -1;
  std::string log_;
};

}  // namespace vqx::testing
