#include "qt/support/window_rig.h"

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

}  // namespace vqx::testing
