// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

#include "app/close_sequence.h"
#include "common/prompts.h"
#include "common/settings_store.h"
#include "qt/app/settings_file_io.h"
#include "serial/link_recovery.h"
#include "serial/link_state.h"
#include "serial/serial_control.h"

class QAction;
class QMenu;

namespace vqx {

class FrontPanel;
class AboutBox;
class frmMonitor;
class frmProperties;
class LanguageChooser;
class LinkIndicator;
class TerminalTextBox;
class TrafficRecorder;

// What the main window is built from: the composition root hands in the real adapters, tests
// hand in fakes or the real serial adapter on a pseudo-terminal.
struct TerminalDependencies {
  SerialControl& serial;
  SettingsStore& store;
  Prompts& prompts;
  QString settingsFile;
  // Ends the program at once: no other window runs its close handling, no further event runs.
  std::function<void()> endProgram;
  // One system beep; unset, the platform's.
  std::function<void()> beep = {};
  // The event loop and clock the close sequence waits with; unset, the real ones.
  EventPump* closePump = nullptr;
  // The folder of the incident log; unset, the per-user one (logFolderPath()).
  QString logFolder = {};
};

// The main window: the program. It owns the serial control's use, the front panel, the
// terminal box txtTerm, the menu bar and the timers; the program ends when it closes.
class frmTerminal : public QMainWindow {
  Q_OBJECT
 public:
  explicit frmTerminal(TerminalDependencies deps, QWidget* parent = nullptr);
  ~frmTerminal() override;

  // The startup sequence; the window is shown at its end unless the language chooser is up.
  void Form_Load();

  // The one path of every command character to the device (see key_transmission.h).
  void txtTerm_KeyPress(std::int16_t& code);
  void TogglePort();
  // The serial control's communication event.
  void MSComm1_OnComm();
  // Saves the settings file; the tick of TimerMove.
  void TimerMove_Timer();
  // The Exit command.
  void mnuFileExit_Click();
  // Loads a language file and applies its texts.
  void CaricaLingua(const std::string& lingua);

  // Link recovery: after a device vanished from under the open port, the window reports the loss
  // in a box that does not wait, looks for the device once a second and reopens the port when
  // it is back (see serial/link_recovery.h). One look, the tick of the recovery timer:
  void checkLostDevice();
  bool waitingForDevice() const { return linkRecovery_.waiting(); }

  // The close sequence is waiting for the output to drain: the cursor is busy, a further close
  // request only brings the window to the front, and the sequence alone ends the program.

  bool Echo() const { return echo_; }
  const std::string& LanguageFile() const { return languageFile_; }
  std::int16_t PipFunctionStep() const;
  TerminalTextBox* txtTerm() const { return txtTerm_; }
  FrontPanel* panel() const { return panel_; }
  TrafficRecorder* recorder() const { return recorder_; }
  LinkIndicator* linkIndicator() const { return linkIndicator_; }
  SettingsFileIo& settingsFile() { return settingsFile_; }

  // Window position in twips (15 per logical pixel), the outer frame's top-left corner.
  long leftTwips() const;
  long topTwips() const;
  void moveToTwips(double left, double top);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void centreOnScreen();
  void showLanguageChooser();
  void showProperties();
  void showAbout();
  void showMonitor();
  frmProperties* propertiesDialog();
  void onDeviceLost(const std::string& description);
  void onPortEvent(SerialControl::PortEvent event, const std::string& why);
  // The port and its device: the one the port is open on, else the one it would open.
  std::string linkLabel() const;
  // The link state with the port's label read anew, or the state alone; either sets the timer
  // for the next change by itself.
  void showLink();
  void showLinkState();
  void fitLinkIndicator();
  // A port event for the traffic monitor and the incident log, when either wants it.
  void recordPort(const std::string& line);
  void startWaitingForDevice();
  void stopWaitingForDevice();
  // Runs the close sequence and, when it says so, ends the program; true then.
  bool endThroughCloseSequence();
  void setCloseWaiting(bool waiting);

  TerminalDependencies deps_;
  SettingsFileIo settingsFile_;
  bool echo_ = false;
  std::string languageFile_;
  bool ending_ = false;
  bool closeWaiting_ = false;
  // Whose the settings file's lines are (see settingsToSave); the window's place at the end of
  // a startup that did not read the file tells whether the operator has moved it since.
  SettingsFileClaim settingsClaim_;
  QPoint loadedAt_;
  QPoint placedAt_{-1, -1};
  QPoint placedTwips_;

  FrontPanel* panel_ = nullptr;
  TerminalTextBox* txtTerm_ = nullptr;
  QTimer* TimerMove_ = nullptr;
  LinkRecovery linkRecovery_;
  QTimer* linkTimer_ = nullptr;  // runs only while waiting for a lost device
  std::string lossReport_;       // the text of the latest loss report
  LinkWatch link_;
  LinkIndicator* linkIndicator_ = nullptr;
  // Runs only while the port is open: fires when a frame is overdue, then once a second.
  QTimer* linkStateTimer_ = nullptr;
  // The secondary windows exist from first use until they close.
  QPointer<frmProperties> properties_;
  QPointer<LanguageChooser> chooser_;
  QPointer<AboutBox> about_;
  QPointer<frmMonitor> monitor_;
  TrafficRecorder* recorder_ = nullptr;

  QMenu* mnuFile_ = nullptr;
  QAction* mnuFileExit_ = nullptr;
  QMenu* mnuPort_ = nullptr;
  QAction* mnuOpen_ = nullptr;
  QAction* mnuProperties_ = nullptr;
  QAction* mnuMonitor_ = nullptr;
  QAction* Language_ = nullptr;
  QAction* Info_ = nullptr;
};

}  // namespace vqx
