// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <string>

#include "app/close_sequence.h"
#include "common/prompts.h"
#include "common/settings_store.h"
#include "qt/app/window_place.h"
#include "status/status_handler.h"

class QAction;
class QMenu;
class QTimer;

namespace vqx {

class AboutBox;
class DeviceLink;
class FrontPanel;
class LanguageChooser;
class LinkIndicator;
class PortSettingsDialog;
class TerminalTextBox;
class TrafficMonitorWindow;
class WindowClosing;

// What the main window is built from: the composition root hands in the real device link, store
// and prompts; tests hand in the device link on a fake serial control or on a pseudo-terminal.
struct MainWindowParts {
  DeviceLink& link;
  SettingsStore& store;
  Prompts& prompts;
  QString settingsFile;
  // Ends the program at once: no other window runs its close handling, no further event runs.
  std::function<void()> endProgram;
  // One system beep; unset, the platform's.
  std::function<void()> beep = {};
  // The event loop and clock the close sequence waits with; unset, the real ones.
  EventPump* closePump = nullptr;
};

// The main window (MainWindow): the device's front panel, the terminal box txtTerm below it, the
// menus and the link's state beside them. It shows what the device link and the panel report,
// hands the operator's actions to them, runs the startup and the close sequence, and opens the
// other windows. The program ends when it closes.
class MainWindow : public QMainWindow, private StatusListener {
  Q_OBJECT
 public:
  explicit MainWindow(MainWindowParts parts, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The startup sequence; the window is shown at its end unless the language chooser is up.
  void load();
  // Opens the port when it is closed and closes it when it is open (the Port menu's entry).
  void togglePort();
  // The Exit command: the port closed first, queued output dropped, then the close sequence.
  void exitCommand();
  // Brings the window to the front, with the program's other windows above it and the one that
  // waits for an answer active (a second start of the program asks for this).
  void bringToFront();
  // Loads a language file and applies its texts.
  void loadLanguage(const std::string& path);
  // Saves the settings file; the tick of TimerMove.
  void saveSettings() { place_.save(languageFile_); }

  const std::string& languageFile() const { return languageFile_; }
  DeviceLink& link() { return parts_.link; }
  FrontPanel* panel() const { return panel_; }
  TerminalTextBox* terminalBox() const { return terminal_; }
  LinkIndicator* linkIndicator() const { return linkIndicator_; }
  WindowPlace& place() { return place_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void statusReceived(const ReceivedStatus& status) override;
  void fitLinkIndicator();
  PortSettingsDialog* portSettingsDialog();
  void showPortSettings();
  void showMonitor();
  void showAbout();
  void showLanguageChooser();

  MainWindowParts parts_;
  WindowPlace place_;
  std::string languageFile_;
  WindowClosing* closing_ = nullptr;

  FrontPanel* panel_ = nullptr;
  TerminalTextBox* terminal_ = nullptr;
  LinkIndicator* linkIndicator_ = nullptr;
  QTimer* saveTimer_ = nullptr;
  // The secondary windows exist from first use until they close.
  QPointer<PortSettingsDialog> portSettings_;
  QPointer<LanguageChooser> chooser_;
  QPointer<AboutBox> about_;
  QPointer<TrafficMonitorWindow> monitor_;

  QMenu* fileMenu_ = nullptr;
  QAction* exitEntry_ = nullptr;
  QMenu* portMenu_ = nullptr;
  QAction* openEntry_ = nullptr;
  QAction* propertiesEntry_ = nullptr;
  QAction* monitorEntry_ = nullptr;
  QAction* languageEntry_ = nullptr;
  QAction* infoEntry_ = nullptr;
};

}  // namespace vqx
