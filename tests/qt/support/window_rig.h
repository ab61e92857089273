#pragma once

// What the window tests on a real line share: the main window built as the program builds it, with
// the real serial control on a line the test controls and prompts that answer at once; the
// process's own processor time and resident memory.

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

}  // namespace vqx::testing
