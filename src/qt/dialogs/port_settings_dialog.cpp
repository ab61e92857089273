// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/dialogs/port_settings_dialog.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/captions.h"
#include "common/text.h"
#include "dialogs/port_device.h"
#include "qt/serial/port_devices.h"
#include "qt/serial/port_naming.h"

namespace vqx {
namespace {

template <typename T>
T* named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QComboBox* dropDownList(const char* name) {
  auto* list = named(new QComboBox, name);
  list->setEditable(false);  // entries are picked, never typed
  return list;
}

template <std::size_t N>
void fill(QComboBox* list, const std::array<const char*, N>& entries) {
  for (const char* entry : entries) list->addItem(QString::fromUtf8(entry));
}

void select(QComboBox* list, const std::optional<int>& index) {
  list->setCurrentIndex(index.value_or(-1));
}

QString text(const char* caption) {
  return QString::fromUtf8(caption);
}

}  // namespace

PortSettingsDialog::PortSettingsDialog(SerialControl& serial, SettingsStore& store,
                                       Prompts& prompts, bool& echo,
                                       std::function<void(bool)> setOpenChecked, QWidget* parent)
    : QDialog(parent),
      serial_(serial),
      store_(store),
      prompts_(prompts),
      echo_(echo),
      setOpenChecked_(std::move(setOpenChecked)) {
  setObjectName(QStringLiteral("frmProperties"));
  setWindowTitle(QString::fromUtf8(kAppTitle));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setModal(true);
  setAttribute(Qt::WA_DeleteOnClose);
  buildControls();
  fillFromControl();
}

PortSettingsDialog::~PortSettingsDialog() = default;

void PortSettingsDialog::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    showDevices(true);
    centreOnScreen();
    ports_->setFocus();  // the dialog opens on its first choice
  }
  QDialog::showEvent(event);
}

// The port list opening is a look at the devices.
bool PortSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ports_->view() && event->type() == QEvent::Show) showDevices(false);
  return QDialog::eventFilter(watched, event);
}

void PortSettingsDialog::buildControls() {
  tabFrame_ = named(new QTabWidget, "tabSettings");
  settingsPanel_ = named(new QWidget, "fraSettings");
  // The tab strip is only the frame around the settings panel.
  tabFrame_->addTab(settingsPanel_, QString());
  tabFrame_->tabBar()->hide();

  portLabel_ = named(new QLabel(QStringLiteral("Porta:")), "Label1");
  ports_ = dropDownList("cboPort");
  portLabel_->setTextFormat(Qt::PlainText);  // language texts are never markup
  portLabel_->setBuddy(ports_);

  speedGroup_ = named(new QGroupBox(QStringLiteral("Baud Rate")), "Frame1");
  speeds_ = dropDownList("cboSpeed");
  (new QVBoxLayout(speedGroup_))->addWidget(speeds_);

  formatGroup_ = named(new QGroupBox(QStringLiteral("Formattazione")), "fraConnection");
  auto* label3 = named(new QLabel(QStringLiteral("Data Bits:")), "Label3");
  auto* label4 = named(new QLabel(QString::fromUtf8("Parit\u00e0:")), "Label4");
  auto* label5 = named(new QLabel(QStringLiteral("Stop Bits:")), "Label5");
  dataBits_ = dropDownList("cboDataBits");
  parities_ = dropDownList("cboParity");
  stopBits_ = dropDownList("cboStopBits");
  label3->setBuddy(dataBits_);
  label4->setBuddy(parities_);
  label5->setBuddy(stopBits_);
  auto* format = new QGridLayout(formatGroup_);
  format->addWidget(label3, 0, 0);
  format->addWidget(dataBits_, 0, 1);
  format->addWidget(label4, 1, 0);
  format->addWidget(parities_, 1, 1);
  format->addWidget(label5, 2, 0);
  format->addWidget(stopBits_, 2, 1);

  echoGroup_ = named(new QGroupBox(QStringLiteral("&Echo")), "Frame7");
  echoButtons_ = new QButtonGroup(this);
  auto* echoLayout = new QVBoxLayout(echoGroup_);
  const char* echoCaptions[] = {"Off", "On"};
  for (int i = 0; i < 2; ++i) {
    echoOptions_[i] = new QRadioButton(QString::fromLatin1(echoCaptions[i]));
    echoOptions_[i]->setObjectName(QStringLiteral("optEcho_%1").arg(i));
    echoButtons_->addButton(echoOptions_[i], i);
    echoLayout->addWidget(echoOptions_[i]);
  }

  flowGroup_ = named(new QGroupBox(QStringLiteral("Controllo di Flusso")), "Frame5");
  flowButtons_ = new QButtonGroup(this);
  auto* flowLayout = new QVBoxLayout(flowGroup_);
  const char* flowCaptions[] = {"None", "Xon/Xoff", "RTS", "Xon/RTS"};
  for (int i = 0; i < kFlowOptionCount; ++i) {
    flowOptions_[i] = new QRadioButton(QString::fromLatin1(flowCaptions[i]));
    flowOptions_[i]->setObjectName(QStringLiteral("optFlow_%1").arg(i));
    flowButtons_->addButton(flowOptions_[i], i);
    flowLayout->addWidget(flowOptions_[i]);
  }

  okButton_ = named(new QPushButton(QStringLiteral("OK")), "cmdOK");
  cancelButton_ = named(new QPushButton(QStringLiteral("Annulla")), "cmdCancel");

  // Port at the top left; speed above line format on the left, echo above flow control in
  // the middle, OK above Cancel on the right; the port's device on a status line at the bottom.
  auto* grid = new QGridLayout(settingsPanel_);
  deviceButton_ = named(new QPushButton(text(caption::kDeviceButton)), "cmdDevice");
  // Enter belongs to OK wherever the focus is, this button's included: it is pressed with the
  // space bar or the mouse, as a dialog's secondary buttons are.
  deviceButton_->setAutoDefault(false);
  portDevice_ = named(new QLabel, "lblPortDevice");
  portDevice_->setTextFormat(Qt::PlainText);
  // A long device name is cut at the right rather than widening the dialog: the tooltip has it.
  portDevice_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* portRow = new QHBoxLayout;
  portRow->addWidget(portLabel_);
  portRow->addWidget(ports_);
  portRow->addWidget(deviceButton_);
  portRow->addStretch();
  grid->addLayout(portRow, 0, 0, 1, 2);
  grid->addWidget(speedGroup_, 1, 0);
  grid->addWidget(formatGroup_, 2, 0);
  grid->addWidget(echoGroup_, 1, 1);
  grid->addWidget(flowGroup_, 2, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  buttons->addStretch();
  grid->addLayout(buttons, 1, 2, 2, 1);
  grid->addWidget(portDevice_, 3, 0, 1, 3);

  auto* outer = new QVBoxLayout(this);
  outer->addWidget(tabFrame_);
  outer->setSizeConstraint(QLayout::SetFixedSize);  // fixed frame: no resizing
  // OK is the default button (Enter). Only a button inside the dialog can be made its default:
  // one made so before, the dialog would not know, and would take the first of its buttons.
  okButton_->setDefault(true);

  // Tab walks the dialog as it reads: the port and its device, speed, line format, echo, flow
  // control, then OK and Cancel.
  QWidget* const order[] = {ports_,          deviceButton_,   speeds_,         dataBits_,
                            parities_,       stopBits_,       echoOptions_[0], echoOptions_[1],
                            flowOptions_[0], flowOptions_[1], flowOptions_[2], flowOptions_[3],
                            okButton_,       cancelButton_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(flowButtons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) pendingFlow_ = id;
  });
  connect(echoButtons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) pendingEcho_ = id == 1;
  });
  connect(okButton_, &QPushButton::clicked, this, &PortSettingsDialog::applyAndClose);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(deviceButton_, &QPushButton::clicked, this, &PortSettingsDialog::chooseDevice);
  connect(ports_, &QComboBox::currentIndexChanged, this, &PortSettingsDialog::showChosenDevice);
  ports_->view()->installEventFilter(this);
}

void PortSettingsDialog::centreOnScreen() {
  adjustSize();
  QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void PortSettingsDialog::fillFromControl() {
  for (int i = 0; i < kPortEntryCount; ++i) {
    ports_->addItem(QString::fromStdString(portEntryText(i)));
  }
  fill(speeds_, kSpeedEntries);
  fill(dataBits_, kDataBitsEntries);
  fill(parities_, kParityEntries);
  fill(stopBits_, kStopBitsEntries);

  const PropertySelection sel = dialogSelection(serial_, echo_);
  select(speeds_, sel.line.speed);
  select(parities_, sel.line.parity);
  select(dataBits_, sel.line.dataBits);
  select(stopBits_, sel.line.stopBits);
  select(ports_, sel.port);
  if (sel.flow) flowOptions_[static_cast<std::size_t>(*sel.flow)]->setChecked(true);
  echoOptions_[static_cast<std::size_t>(sel.echo)]->setChecked(true);
  pendingFlow_ = sel.pendingFlow;
  pendingEcho_ = sel.pendingEcho;
}

void PortSettingsDialog::showDevices(bool newLook) {
  if (newLook || !look_) look_ = std::make_unique<DeviceLook>();
  for (int i = 0; i < ports_->count(); ++i) {
    ports_->setItemData(i, deviceText(i), Qt::ToolTipRole);
  }
  showChosenDevice();
}

QString PortSettingsDialog::deviceText(int index) const {
  const std::string device = portDeviceName(index + 1, store_).toStdString();
  const DeviceFacts facts = look_->facts(QString::fromStdString(device));
  return QString::fromStdString(withArgs(
      caption::kPortDevice, {portEntryText(index), describePortDevice(device, facts), device}));
}

void PortSettingsDialog::showChosenDevice() {
  const int i = ports_->currentIndex();
  const QString text = i < 0 || !look_ ? QString() : deviceText(i);
  if (i >= 0) ports_->setItemData(i, text, Qt::ToolTipRole);
  portDevice_->setText(text);
  portDevice_->setToolTip(text);
}

void PortSettingsDialog::chooseDevice() {
  const int i = ports_->currentIndex();
  if (i < 0) return;
  look_ = std::make_unique<DeviceLook>();
  const std::string key = portEntryText(i);

  QDialog dialog(this);
  dialog.setObjectName(QStringLiteral("frmPortDevice"));
  dialog.setWindowTitle(QString::fromUtf8(kAppTitle));
  auto* label = new QLabel(QString::fromStdString(withArgs(caption::kDeviceOf, {key})));
  auto* list = named(new QComboBox, "cboDevice");
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  for (const QString& found : look_->detected()) {
    list->addItem(found);
    list->setItemData(list->count() - 1,
                      QString::fromStdString(describeDevice(look_->facts(found))), Qt::ToolTipRole);
  }
  list->setCurrentText(portDeviceName(i + 1, store_));
  label->setBuddy(list);
  auto* info = named(new QLabel, "lblDeviceInfo");
  info->setTextFormat(Qt::PlainText);
  const auto describe = [this, info](const QString& text) {
    const std::string device = trimmed(text.toStdString());
    info->setText(QString::fromStdString(
        describePortDevice(device, look_->facts(QString::fromStdString(device)))));
  };
  describe(list->currentText());
  connect(list, &QComboBox::editTextChanged, &dialog, describe);

  auto* toDefault = named(new QPushButton(text(caption::kDeviceDefault)), "cmdDefault");
  auto* ok = named(new QPushButton(text(caption::kDeviceOk)), "cmdDeviceOK");
  auto* cancel = named(new QPushButton(text(caption::kDeviceCancel)), "cmdDeviceCancel");
  ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(toDefault);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(label);
  layout->addWidget(list);
  layout->addWidget(info);
  layout->addLayout(buttons);

  const auto store = [&](const std::string& device) {
    setPortDeviceName(i + 1, store_, device);
    dialog.accept();
  };
  connect(toDefault, &QPushButton::clicked, &dialog, [&] { store({}); });
  connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  connect(ok, &QPushButton::clicked, &dialog, [&] {
    const std::string path = trimmed(list->currentText().toStdString());
    const QString device = QString::fromStdString(path);
    if (const Result accepted = acceptDevicePath(path, look_->facts(device)); !accepted) {
      prompts_.error(accepted.error());  // nothing is stored; the operator may type again
      return;
    }
    store(look_->stableName(device).toStdString());
  });
  dialog.exec();
  showDevices(false);
}

PropertyChoice PortSettingsDialog::currentChoice() const {
  PropertyChoice c;
  c.portIndex = ports_->currentIndex();
  c.speedText = speeds_->currentText().toStdString();
  c.parityText = parities_->currentText().toStdString();
  c.dataBitsText = dataBits_->currentText().toStdString();
  c.stopBitsText = stopBits_->currentText().toStdString();
  c.pendingFlow = pendingFlow_;
  c.pendingEcho = pendingEcho_;
  return c;
}

void PortSettingsDialog::applyAndClose() {
  if (applyPropertySettings(currentChoice(), {serial_, store_, prompts_, echo_, setOpenChecked_})) {
    accept();
  }
}

}  // namespace vqx
