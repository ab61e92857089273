// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/app/frm_terminal.h"

#include <QAction>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <chrono>

#include "app/close_sequence.h"
#include "app/startup.h"
#include "common/captions.h"
#include "i18n/language_file.h"
#include "panel/panel_layout.h"
#include "qt/app/link_indicator.h"
#include "qt/app/terminal_text_box.h"
#include "qt/dialogs/about_box.h"
#include "qt/dialogs/language_chooser.h"
#include "qt/dialogs/frm_monitor.h"
#include "qt/dialogs/frm_properties.h"
#include "qt/i18n/language_captions.h"
#include "qt/panel/front_panel.h"
#include "qt/panel/panel_keyboard.h"
#include "qt/serial/port_naming.h"
#include "qt/traffic/log_folder.h"
#include "qt/traffic/traffic_recorder.h"
#include "serial/key_transmission.h"
#include "serial/open_failure.h"
#include "status/status_handler.h"

namespace vqx {
namespace {

// How often the window looks for a lost device while it waits for it.
constexpr int kLinkCheckMs = 1000;

// The close sequence waits in the event loop, a few milliseconds at a time, so a stuck port
// costs next to no processor time while it waits.
class QtEventPump : public EventPump {
 public:
  void pumpBriefly() override {
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
  }
  std::chrono::steady_clock::time_point now() const override {
    return std::chrono::steady_clock::now();
  }
};

using layout::kTwipsPerPixel;
using layout::toPixels;

QRect twipsRect(int left, int top, int width, int height) {
  return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

}  // namespace

frmTerminal::frmTerminal(TerminalDependencies deps, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      deps_(std::move(deps)),
      settingsFile_(deps_.settingsFile) {
  LinkIndicator::makeReachable();
  setObjectName("frmTerminal");
  setWindowTitle(kAppTitle);

  auto* client = new QWidget(this);
  client->setObjectName("client");
  // The client area as designed: the panel band.
  client->setFixedSize(toPixels(layout::kPanelWidth), toPixels(layout::kPanelHeight));
  setCentralWidget(client);

  FrontPanelHooks hooks;
  hooks.keyPress = [this](std::int16_t& code) { txtTerm_KeyPress(code); };
  hooks.canSend = [this](std::size_t count) { return sendQueueTakes(deps_.serial, count); };
  hooks.togglePort = [this] { TogglePort(); };
  hooks.showMessage = [this](const std::string& text) { deps_.prompts.message(text); };
  hooks.beep = deps_.beep;
  panel_ = new FrontPanel(std::move(hooks), client);
  panel_->move(0, 0);
  new PanelKeyboard(*panel_, *this);

  // Below the panel band, outside the client area at the designed size: the box is the
  // receive buffer of the status decoding, not something the operator reads.
  txtTerm_ = new TerminalTextBox(client);
  txtTerm_->setObjectName("txtTerm");
  txtTerm_->setGeometry(twipsRect(120, 1200, 8655, 1665));
  QFont font = txtTerm_->font();
  font.setFamily("MS Sans Serif");
  font.setPointSize(12);
  txtTerm_->setFont(font);
  txtTerm_->setKeyPressHandler([this](std::int16_t& code) { txtTerm_KeyPress(code); });

  buildMenus();
  setFixedSize(sizeHint());
  // Beside the menus, in the room they leave: the window keeps its size.
  linkIndicator_ = new LinkIndicator(menuBar());
  fitLinkIndicator();
  linkStateTimer_ = new QTimer(this);
  linkStateTimer_->setObjectName("linkStateTimer");
  linkStateTimer_->setSingleShot(true);
  connect(linkStateTimer_, &QTimer::timeout, this, &frmTerminal::showLinkState);

  TimerMove_ = new QTimer(this);
  TimerMove_->setObjectName("TimerMove");
  TimerMove_->setInterval(1000);
  connect(TimerMove_, &QTimer::timeout, this, &frmTerminal::TimerMove_Timer);
  TimerMove_->start();

  linkTimer_ = new QTimer(this);
  linkTimer_->setObjectName("linkRecoveryTimer");
  linkTimer_->setInterval(kLinkCheckMs);
  connect(linkTimer_, &QTimer::timeout, this, &frmTerminal::checkLostDevice);

  recorder_ = new TrafficRecorder(
      deps_.store,
      std::make_unique<QtLogFolder>(deps_.logFolder.isEmpty() ? logFolderPath() : deps_.logFolder),
      this);
  connect(recorder_, &TrafficRecorder::logStopped, this,
          [this](const QString& why) { deps_.prompts.notice(why.toStdString()); });

  deps_.serial.setOnComm([this] { MSComm1_OnComm(); });
  deps_.serial.setOnDeviceLost([this](const std::string& d) { onDeviceLost(d); });
  deps_.serial.setOnPortEvent(
      [this](SerialControl::PortEvent e, const std::string& why) { onPortEvent(e, why); });
  showLink();
}

frmTerminal::~frmTerminal() {
  delete chooser_;  // a window of its own, not a child of this one
  delete monitor_;  // before the recorder it watches
  deps_.serial.setOnComm({});
  deps_.serial.setOnDeviceLost({});
  deps_.serial.setOnPortEvent({});
}

void frmTerminal::buildMenus() {
  mnuFile_ = menuBar()->addMenu("&File");
  mnuFile_->setObjectName("mnuFile");
  mnuFile_->menuAction()->setObjectName("mnuFileAction");
  mnuFileExit_ = mnuFile_->addAction("E&sci", this, &frmTerminal::mnuFileExit_Click);
  mnuFileExit_->setObjectName("mnuFileExit");

  mnuPort_ = menuBar()->addMenu("&Porta di comunicazione");
  mnuPort_->setObjectName("mnuPort");
  mnuOpen_ = mnuPort_->addAction("&Apri Porta", this, &frmTerminal::TogglePort);
  mnuOpen_->setObjectName("mnuOpen");
  mnuOpen_->setCheckable(true);
  mnuPort_->addSeparator()->setObjectName("MBar1");
  mnuProperties_ = mnuPort_->addAction(QString::fromUtf8("Propriet\u00e0..."), this,
                                       &frmTerminal::showProperties);
  mnuProperties_->setObjectName("mnuProperties");
  mnuMonitor_ = mnuPort_->addAction(QString::fromUtf8(caption::kMonitorMenu), this,
                                    &frmTerminal::showMonitor);
  mnuMonitor_->setObjectName("mnuMonitor");

  Language_ = menuBar()->addAction("&Lingua", this, &frmTerminal::showLanguageChooser);
  Language_->setObjectName("Language");
  Info_ = menuBar()->addAction("&Info", this, &frmTerminal::showAbout);
  Info_->setObjectName("Info");
}

// A position in twips that is no whole number of pixels is kept as it was given for as long as
// the window stays where it was put, so a stored position reads back unchanged.
long frmTerminal::leftTwips() const {
  return pos() == placedAt_ ? placedTwips_.x() : long(pos().x()) * kTwipsPerPixel;
}
long frmTerminal::topTwips() const {
  return pos() == placedAt_ ? placedTwips_.y() : long(pos().y()) * kTwipsPerPixel;
}

void frmTerminal::moveToTwips(double left, double top) {
  move(static_cast<int>(left / kTwipsPerPixel), static_cast<int>(top / kTwipsPerPixel));
  placedAt_ = pos();
  placedTwips_ = QPoint(static_cast<int>(left), static_cast<int>(top));
}

void frmTerminal::centreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  const QSize frame = frameGeometry().size();
  move(area.x() + (area.width() - frame.width()) / 2,
       area.y() + (area.height() - frame.height()) / 2);
}

void frmTerminal::Form_Load() {
  // 1-3: an empty blue terminal box, the title, the window centred.
  txtTerm_->box().setSelStart(0);
  txtTerm_->box().setSelLength(txtTerm_->box().size());
  txtTerm_->box().setSelText({});
  txtTerm_->setTextColor(QColor(0, 0, 255));
  QGuiApplication::setApplicationDisplayName(kAppTitle);
  centreOnScreen();

  // 4-8: the stored port settings; a rejected one ends the startup here, with the window
  // shown centred and its built-in captions.
  const bool applied = applyStoredPortSettings(deps_.store, deps_.serial, deps_.prompts, echo_);
  showLink();  // the stored port number
  if (!applied) {
    loadedAt_ = pos();
    show();
    return;
  }

  // 9-10: the settings file; a position only counts together with a language.
  const SettingsFileLines lines = settingsFile_.read();
  settingsClaim_.fileRead = true;
  if (lines.languageFile) languageFile_ = *lines.languageFile;
  bool chooser = false;
  if (!languageFile_.empty()) {
    const auto left = lines.left ? parseTwips(*lines.left) : std::nullopt;
    const auto top = lines.top ? parseTwips(*lines.top) : std::nullopt;
    moveToTwips(left ? double(*left) : double(leftTwips()),
                top ? double(*top) : double(topTwips()));
    // A position stored on a monitor that is gone would leave the window where nobody can
    // see it: then it stays centred.
    if (!QGuiApplication::screenAt(frameGeometry().center())) centreOnScreen();
    CaricaLingua(languageFile_);
  } else {
    chooser = true;
  }

  // 11: the key state at its start values; the next Function+Pip is a first step.
  panel_->windowLoaded();

  if (chooser) {
    hide();
    showLanguageChooser();
  } else {
    show();
  }

  // 12: open the port.
  TogglePort();
}

void frmTerminal::txtTerm_KeyPress(std::int16_t& code) {
  vqx::txtTerm_KeyPress(
      deps_.serial, echo_,
      [this] {
        txtTerm_->box().setSelStart(txtTerm_->box().size());
        txtTerm_->refresh();
      },
      code,
      recorder_->wanted() ? [this](char byte) { recorder_->sent(byte); }
                          : std::function<void(char)>());
}

void frmTerminal::TogglePort() {
  stopWaitingForDevice();  // the operator decides about the port from now on
  vqx::TogglePort(deps_.serial, deps_.prompts, [this](bool open) { mnuOpen_->setChecked(open); });
}

void frmTerminal::onDeviceLost(const std::string& description) {
  mnuOpen_->setChecked(deps_.serial.portOpen());
  stopWaitingForDevice();
  recordPort(link_.lost(linkLabel(), description));
  showLink();
  // The report does not wait for the operator: waiting for the device starts at once, so an
  // unattended station takes the device up again as soon as it is back. The report may stay up
  // as a record; it says so when the port is open again, and a device that comes and goes while
  // it is up changes its text rather than stacking a second box.
  lossReport_ = description;
  deps_.prompts.notice(description);
  startWaitingForDevice();
}

void frmTerminal::startWaitingForDevice() {
  linkRecovery_.deviceLost(deps_.serial);
  if (!linkRecovery_.waiting()) {
    link_.recoveryEnded();
    showLinkState();
    return;
  }
  linkTimer_->start();
  // The first look from the event loop, not from inside the control's loss notice.
  QTimer::singleShot(0, this, &frmTerminal::checkLostDevice);
}

void frmTerminal::stopWaitingForDevice() {
  if (linkRecovery_.waiting()) {
    link_.recoveryEnded();
    showLinkState();
  }
  linkRecovery_.cancel();
  linkTimer_->stop();
}

void frmTerminal::onPortEvent(SerialControl::PortEvent event, const std::string& why) {
  const std::string label = linkLabel();
  switch (event) {
    case SerialControl::PortEvent::Opened:
      recordPort(link_.opened(label));
      break;
    case SerialControl::PortEvent::Closed:
      recordPort(link_.closed(label));
      break;
    case SerialControl::PortEvent::OpenFailed:
      recordPort(link_.openFailed(label, why));
      break;
  }
  showLink();
}

std::string frmTerminal::linkLabel() const {
  std::string device = deps_.serial.portOpen() ? deps_.serial.openedDevice().path : "";
  if (device.empty()) device = portDeviceName(deps_.serial.commPort(), deps_.store).toStdString();
  return portLabel(deps_.serial.commPort(), device);
}

void frmTerminal::showLink() {
  linkIndicator_->setLink(QString::fromStdString(linkLabel()), link_.view());
  showLinkState();
}

void frmTerminal::showLinkState() {
  linkIndicator_->setView(link_.view());
  if (const auto next = link_.nextChange()) {
    linkStateTimer_->start(static_cast<int>(next->count()));
  } else {
    linkStateTimer_->stop();
  }
}

void frmTerminal::fitLinkIndicator() {
  // The menu bar's size hint holds the menus and the indicator as it is now.
  const int menus = menuBar()->sizeHint().width() - linkIndicator_->sizeHint().width();
  linkIndicator_->setRoom(width() - menus - linkIndicator_->fontMetrics().averageCharWidth());
  menuBar()->setCornerWidget(linkIndicator_, Qt::TopRightCorner);  // laid out anew
}

void frmTerminal::recordPort(const std::string& line) {
  if (!line.empty() && recorder_->wanted()) recorder_->port(line);
}

void frmTerminal::checkLostDevice() {
  switch (linkRecovery_.check(deps_.serial)) {
    case LinkRecovery::Outcome::Waiting:
      return;
    case LinkRecovery::Outcome::Stranger:
      deps_.prompts.notice(lossReport_ + "\n\n" + linkRecovery_.strangerReport());
      return;
    case LinkRecovery::Outcome::Reopened:
      mnuOpen_->setChecked(deps_.serial.portOpen());
      deps_.prompts.updateNotice(lossReport_ + "\n\n" + kDeviceBack);
      break;
    case LinkRecovery::Outcome::Idle:
    case LinkRecovery::Outcome::Dropped:
      break;
  }
  linkTimer_->stop();
}

void frmTerminal::MSComm1_OnComm() {
  ReceivedTrace trace;  // for the traffic monitor and the log, when either wants it
  const bool traced = recorder_->wanted();
  const auto indicators =
      vqx::MSComm1_OnComm(deps_.serial, txtTerm_->box(), traced ? &trace : nullptr);
  if (traced) recorder_->received(trace, indicators);
  txtTerm_->refresh();
  if (indicators) {
    panel_->applyIndicators(*indicators);
    link_.frame();
    // While the link shows open its timer is running and looks again when it fires: only a
    // frame that ends a quiet spell changes what shows.
    if (linkIndicator_->view().state != LinkState::Open) showLinkState();
  }
}

std::int16_t frmTerminal::PipFunctionStep() const {
  return panel_->keyState().pipFunctionStep;
}

void frmTerminal::TimerMove_Timer() {
  if (!settingsClaim_.fileRead) settingsClaim_.moved = settingsClaim_.moved || pos() != loadedAt_;
  const auto values = settingsToSave(settingsClaim_, {leftTwips(), topTwips(), languageFile_},
                                     [this] { return settingsFile_.read(); });
  if (values) settingsFile_.save(values->left, values->top, values->languageFile);
}

void frmTerminal::CaricaLingua(const std::string& lingua) {
  const LanguageTexts texts = readLanguageFile(lingua);
  panel_->setPipMessage(texts.pipMessage);
  mnuFileExit_->setText(captionText(texts.mnuFileExit));
  mnuPort_->setTitle(captionText(texts.mnuPort));
  mnuProperties_->setText(captionText(texts.mnuProperties));
  mnuOpen_->setText(captionText(texts.mnuOpen));
  Language_->setText(captionText(texts.Language));
  Info_->setText(captionText(texts.Info));
  fitLinkIndicator();  // the menus' new captions take their own room
  // The port settings dialog takes its five captions now, created hidden when it does not
  // exist yet.
  applyLanguageCaptions(*propertiesDialog(), texts);
}

frmProperties* frmTerminal::propertiesDialog() {
  if (!properties_) {
    properties_ = new frmProperties(
        deps_.serial, deps_.store, deps_.prompts, echo_,
        [this](bool open) { mnuOpen_->setChecked(open); }, this);
  }
  return properties_;
}

void frmTerminal::showProperties() {
  const int port = deps_.serial.commPort();
  propertiesDialog()->exec();
  // Another port number is the operator's decision about the port: no lost device is awaited.
  if (deps_.serial.commPort() != port) stopWaitingForDevice();
  showLink();  // another port, or another device for it
}

void frmTerminal::showMonitor() {
  if (!monitor_) monitor_ = new frmMonitor(*recorder_, this);
  monitor_->show();
  monitor_->raise();
  monitor_->activateWindow();
}

void frmTerminal::showAbout() {
  if (!about_) about_ = new AboutBox(deps_.prompts, this);
  about_->show();
  about_->raise();
  about_->activateWindow();
}

void frmTerminal::showLanguageChooser() {
  if (!chooser_) {
    chooser_ = new LanguageChooser(deps_.prompts, nullptr);
    connect(chooser_, &LanguageChooser::languageChosen, this, [this](const QString& path) {
      languageFile_ = path.toStdString();
      settingsClaim_.languageChosen = true;
      CaricaLingua(languageFile_);
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

bool frmTerminal::endThroughCloseSequence() {
  if (closeSequenceWaits(deps_.serial)) setCloseWaiting(true);
  QtEventPump pump;
  const bool ends =
      runCloseSequence(deps_.serial, deps_.prompts,
                       deps_.closePump ? *deps_.closePump : static_cast<EventPump&>(pump));
  setCloseWaiting(false);
  if (ends) {
    ending_ = true;
    if (deps_.endProgram) deps_.endProgram();
  }
  return ends;
}

void frmTerminal::setCloseWaiting(bool waiting) {
  if (closeWaiting_ == waiting) return;
  closeWaiting_ = waiting;
  if (waiting) {
    setCursor(Qt::BusyCursor);
  } else {
    unsetCursor();
  }
}

void frmTerminal::closeEvent(QCloseEvent* event) {
  if (ending_) {
    event->accept();
    return;
  }
  event->ignore();  // the window stays until the close sequence has decided
  if (closeWaiting_) {
    raise();
    activateWindow();
    return;
  }
  if (!closeSequenceWaits(deps_.serial)) {
    if (endThroughCloseSequence()) event->accept();
    return;
  }
  // A sequence that waits runs from the event loop, not inside this request: Qt takes a close
  // request that comes while one is being handled as granted, so a second click on the close
  // box during the wait would close the window and end the program under the waiting sequence.
  setCloseWaiting(true);
  QMetaObject::invokeMethod(
      this, [this] { endThroughCloseSequence(); }, Qt::QueuedConnection);
}

void frmTerminal::mnuFileExit_Click() {
  stopWaitingForDevice();
  if (deps_.serial.portOpen()) TogglePort();
  // A close sequence that waits finds the port closed now and ends the program itself.
  if (!closeWaiting_) endThroughCloseSequence();
}

}  // namespace vqx
