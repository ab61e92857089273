// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "app/startup.h"
#include "common/captions.h"
#include "i18n/language_file.h"
#include "panel/panel_layout.h"
#include "qt/app/link_indicator.h"
#include "qt/app/terminal_text_box.h"
#include "qt/app/window_closing.h"
#include "qt/dialogs/about_box.h"
#include "qt/dialogs/language_chooser.h"
#include "qt/dialogs/port_settings_dialog.h"
#include "qt/dialogs/traffic_monitor_window.h"
#include "qt/i18n/language_captions.h"
#include "qt/panel/front_panel.h"
#include "qt/panel/panel_keyboard.h"
#include "qt/serial/device_link.h"

namespace vqx {
namespace {

using layout::toPixels;

constexpr int kSaveIntervalMs = 1000;

}  // namespace

MainWindow::MainWindow(MainWindowParts parts, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      parts_(std::move(parts)),
      place_(*this, parts_.settingsFile) {
  LinkIndicator::makeReachable();
  setObjectName("frmTerminal");
  setWindowTitle(kAppTitle);
  DeviceLink& link = parts_.link;

  auto* client = new QWidget(this);
  client->setObjectName("client");
  // The client area as designed: the panel band.
  client->setFixedSize(toPixels(layout::kPanelWidth), toPixels(layout::kPanelHeight));
  setCentralWidget(client);

  FrontPanelHooks hooks;
  hooks.keyPress = [&link](std::int16_t& code) { link.transmit(code); };
  hooks.canSend = [&link](std::size_t count) { return link.canSend(count); };
  hooks.togglePort = [this] { togglePort(); };
  hooks.showMessage = [this](const std::string& text) { parts_.prompts.message(text); };
  hooks.beep = parts_.beep;
  panel_ = new FrontPanel(std::move(hooks), client);
  panel_->move(0, 0);
  new PanelKeyboard(*panel_, *this);

  // Below the panel band, outside the client area at the designed size: the box is the
  // receive buffer of the status decoding, not something the operator reads.
  terminal_ = new TerminalTextBox(link.terminal(), client);
  terminal_->setObjectName("txtTerm");
  terminal_->setGeometry(toPixels(120), toPixels(1200), toPixels(8655), toPixels(1665));
  QFont font = terminal_->font();
  font.setFamily("MS Sans Serif");
  font.setPointSize(12);
  terminal_->setFont(font);
  terminal_->setKeyPressHandler([&link](std::int16_t& code) { link.transmit(code); });

  buildMenus();
  setFixedSize(sizeHint());
  // Beside the menus, in the room they leave: the window keeps its size.
  linkIndicator_ = new LinkIndicator(menuBar());
  fitLinkIndicator();

  closing_ =
      new WindowClosing(*this, link.serial(), parts_.prompts, parts_.endProgram, parts_.closePump);
  saveTimer_ = new QTimer(this);
  saveTimer_->setObjectName("TimerMove");
  saveTimer_->setInterval(kSaveIntervalMs);
  connect(saveTimer_, &QTimer::timeout, this, &MainWindow::saveSettings);
  saveTimer_->start();

  link.receiver().addListener(*this);
  connect(&link.supervisor(), &LinkSupervisor::linkShown, linkIndicator_, &LinkIndicator::setLink);
  connect(&link, &DeviceLink::portOpenChanged, openEntry_, &QAction::setChecked);
  connect(&link, &DeviceLink::terminalChanged, terminal_, &TerminalTextBox::refresh);
  link.supervisor().showLink();
}

MainWindow::~MainWindow() {
  delete chooser_;  // a window of its own, not a child of this one
  delete monitor_;  // before the recorder it watches
  parts_.link.receiver().removeListener(*this);
}

void MainWindow::buildMenus() {
  fileMenu_ = menuBar()->addMenu("&File");
  fileMenu_->setObjectName("mnuFile");
  fileMenu_->menuAction()->setObjectName("mnuFileAction");
  exitEntry_ = fileMenu_->addAction("E&sci", this, &MainWindow::exitCommand);
  exitEntry_->setObjectName("mnuFileExit");

  portMenu_ = menuBar()->addMenu("&Porta di comunicazione");
  portMenu_->setObjectName("mnuPort");
  openEntry_ = portMenu_->addAction("&Apri Porta", this, &MainWindow::togglePort);
  openEntry_->setObjectName("mnuOpen");
  openEntry_->setCheckable(true);
  portMenu_->addSeparator()->setObjectName("MBar1");
  propertiesEntry_ = portMenu_->addAction(QString::fromUtf8("Propriet\u00e0..."), this,
                                          &MainWindow::showPortSettings);
  propertiesEntry_->setObjectName("mnuProperties");
  monitorEntry_ = portMenu_->addAction(QString::fromUtf8(caption::kMonitorMenu), this,
                                       &MainWindow::showMonitor);
  monitorEntry_->setObjectName("mnuMonitor");

  languageEntry_ = menuBar()->addAction("&Lingua", this, &MainWindow::showLanguageChooser);
  languageEntry_->setObjectName("Language");
  infoEntry_ = menuBar()->addAction("&Info", this, &MainWindow::showAbout);
  infoEntry_->setObjectName("Info");
}

void MainWindow::load() {
  // An empty blue terminal box, the title, the window centred.
  TerminalBox& box = terminal_->box();
  box.setSelStart(0);
  box.setSelLength(box.size());
  box.setSelText({});
  terminal_->setTextColor(QColor(0, 0, 255));
  QGuiApplication::setApplicationDisplayName(kAppTitle);
  place_.centreOnScreen();

  // The stored port settings; a rejected one ends the startup here, with the window shown
  // centred and its built-in captions.
  DeviceLink& link = parts_.link;
  const bool applied =
      applyStoredPortSettings(parts_.store, link.serial(), parts_.prompts, link.echo());
  link.supervisor().showLink();  // the stored port number
  if (!applied) {
    place_.startupStopped();
    show();
    return;
  }

  // The settings file: the place counts only together with a language.
  languageFile_ = place_.restore();
  if (!languageFile_.empty()) loadLanguage(languageFile_);
  // The key state at its start values: the next Function+Pip is a first step.
  panel_->windowLoaded();
  if (languageFile_.empty()) {
    hide();
    showLanguageChooser();
  } else {
    show();
  }
  togglePort();  // the port is closed now: this opens it
}

void MainWindow::togglePort() {
  parts_.link.togglePort();
}

void MainWindow::bringToFront() {
  if (isMinimized()) showNormal();
  raise();
  for (QWidget* shown : QApplication::topLevelWidgets()) {
    if (shown != this && shown->isVisible()) shown->raise();
  }
  QWidget* front = QApplication::activeModalWidget();
  if (front == nullptr && isVisible()) front = this;
  if (front != nullptr) front->activateWindow();
}

void MainWindow::statusReceived(const ReceivedStatus& status) {
  terminal_->refresh();
  if (status.indicators) panel_->applyIndicators(*status.indicators);
}

void MainWindow::fitLinkIndicator() {
  // The menu bar's size hint holds the menus and the indicator as it is now.
  const int menus = menuBar()->sizeHint().width() - linkIndicator_->sizeHint().width();
  linkIndicator_->setRoom(width() - menus - linkIndicator_->fontMetrics().averageCharWidth());
  menuBar()->setCornerWidget(linkIndicator_, Qt::TopRightCorner);  // laid out anew
}

void MainWindow::loadLanguage(const std::string& path) {
  const LanguageTexts texts = readLanguageFile(path);
  panel_->setPipMessage(texts.pipMessage);
  exitEntry_->setText(captionText(texts.exitEntry));
  portMenu_->setTitle(captionText(texts.portMenu));
  propertiesEntry_->setText(captionText(texts.propertiesEntry));
  openEntry_->setText(captionText(texts.openEntry));
  languageEntry_->setText(captionText(texts.languageEntry));
  infoEntry_->setText(captionText(texts.infoEntry));
  fitLinkIndicator();  // the menus' new captions take their own room
  // The port settings dialog takes its five captions now, created hidden when it does not
  // exist yet.
  applyLanguageCaptions(*portSettingsDialog(), texts);
}

PortSettingsDialog* MainWindow::portSettingsDialog() {
  if (!portSettings_) {
    portSettings_ = new PortSettingsDialog(
        parts_.link.serial(), parts_.store, parts_.prompts, parts_.link.echo(),
        [this](bool open) { openEntry_->setChecked(open); }, this);
  }
  return portSettings_;
}

void MainWindow::showPortSettings() {
  const int portBefore = parts_.link.serial().commPort();
  portSettingsDialog()->exec();
  parts_.link.portSettingsApplied(portBefore);
}

void MainWindow::showMonitor() {
  if (!monitor_) monitor_ = new TrafficMonitorWindow(parts_.link.recorder(), this);
  monitor_->show();
  monitor_->raise();
  monitor_->activateWindow();
}

void MainWindow::showAbout() {
  if (!about_) about_ = new AboutBox(parts_.prompts, this);
  about_->show();
  about_->raise();
  about_->activateWindow();
}

void MainWindow::showLanguageChooser() {
  if (!chooser_) {
    chooser_ = new LanguageChooser(parts_.prompts, nullptr);
    connect(chooser_, &LanguageChooser::languageChosen, this, [this](const QString& path) {
      languageFile_ = path.toStdString();
      place_.languageChosen();
      loadLanguage(languageFile_);
      show();
    });
    // Closed without a choice: a hidden main window would leave a program running that
    // nobody can see or end, so it shows with the captions it has.
    connect(chooser_, &LanguageChooser::closedWithoutChoice, this, [this] { show(); });
  }
  chooser_->show();
  chooser_->raise();
  chooser_->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The window stays until the close sequence has decided.
  if (closing_->closeRequested()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindow::exitCommand() {
  parts_.link.supervisor().operatorTookPort();
  if (parts_.link.serial().portOpen()) togglePort();
  closing_->exit();
}

}  // namespace vqx
