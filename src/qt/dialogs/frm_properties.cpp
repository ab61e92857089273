// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/dialogs/frm_properties.h"

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

frmProperties::frmProperties(SerialControl& comm, SettingsStore& store, Prompts& prompts,
                             bool& echo, std::function<void(bool)> setOpenChecked, QWidget* parent)
    : QDialog(parent),
      comm_(comm),
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
  LoadPropertySettings();
}

frmProperties::~frmProperties() = default;

void frmProperties::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    showDevices(true);
    centreOnScreen();
    cboPort_->setFocus();  // the dialog opens on its first choice
  }
  QDialog::showEvent(event);
}

// The port list opening is a look at the devices.
bool frmProperties::eventFilter(QObject* watched, QEvent* event) {
  if (watched == cboPort_->view() && event->type() == QEvent::Show) showDevices(false);
  return QDialog::eventFilter(watched, event);
}

void frmProperties::buildControls() {
  tabSettings_ = named(new QTabWidget, "tabSettings");
  fraSettings_ = named(new QWidget, "fraSettings");
  // The tab strip is only the frame around the settings panel.
  tabSettings_->addTab(fraSettings_, QString());
  tabSettings_->tabBar()->hide();

  Label1_ = named(new QLabel(QStringLiteral("Porta:")), "Label1");
  cboPort_ = dropDownList("cboPort");
  Label1_->setTextFormat(Qt::PlainText);  // language texts are never markup
  Label1_->setBuddy(cboPort_);

  Frame1_ = named(new QGroupBox(QStringLiteral("Baud Rate")), "Frame1");
  cboSpeed_ = dropDownList("cboSpeed");
  (new QVBoxLayout(Frame1_))->addWidget(cboSpeed_);

  fraConnection_ = named(new QGroupBox(QStringLiteral("Formattazione")), "fraConnection");
  auto* label3 = named(new QLabel(QStringLiteral("Data Bits:")), "Label3");
  auto* label4 = named(new QLabel(QString::fromUtf8("Parit\u00e0:")), "Label4");
  auto* label5 = named(new QLabel(QStringLiteral("Stop Bits:")), "Label5");
  cboDataBits_ = dropDownList("cboDataBits");
  cboParity_ = dropDownList("cboParity");
  cboStopBits_ = dropDownList("cboStopBits");
  label3->setBuddy(cboDataBits_);
  label4->setBuddy(cboParity_);
  label5->setBuddy(cboStopBits_);
  auto* format = new QGridLayout(fraConnection_);
  format->addWidget(label3, 0, 0);
  format->addWidget(cboDataBits_, 0, 1);
  format->addWidget(label4, 1, 0);
  format->addWidget(cboParity_, 1, 1);
  format->addWidget(label5, 2, 0);
  format->addWidget(cboStopBits_, 2, 1);

  Frame7_ = named(new QGroupBox(QStringLiteral("&Echo")), "Frame7");
  echoGroup_ = new QButtonGroup(this);
  auto* echoLayout = new QVBoxLayout(Frame7_);
  const char* echoCaptions[] = {"Off", "On"};
  for (int i = 0; i < 2; ++i) {
    optEcho_[i] = new QRadioButton(QString::fromLatin1(echoCaptions[i]));
    optEcho_[i]->setObjectName(QStringLiteral("optEcho_%1").arg(i));
    echoGroup_->addButton(optEcho_[i], i);
    echoLayout->addWidget(optEcho_[i]);
  }

  Frame5_ = named(new QGroupBox(QStringLiteral("Controllo di Flusso")), "Frame5");
  flowGroup_ = new QButtonGroup(this);
  auto* flowLayout = new QVBoxLayout(Frame5_);
  const char* flowCaptions[] = {"None", "Xon/Xoff", "RTS", "Xon/RTS"};
  for (int i = 0; i < kFlowOptionCount; ++i) {
    optFlow_[i] = new QRadioButton(QString::fromLatin1(flowCaptions[i]));
    optFlow_[i]->setObjectName(QStringLiteral("optFlow_%1").arg(i));
    flowGroup_->addButton(optFlow_[i], i);
    flowLayout->addWidget(optFlow_[i]);
  }

  cmdOK_ = named(new QPushButton(QStringLiteral("OK")), "cmdOK");
  cmdCancel_ = named(new QPushButton(QStringLiteral("Annulla")), "cmdCancel");

  // Port at the top left; speed above line format on the left, echo above flow control in
  // the middle, OK above Cancel on the right; the port's device on a status line at the bottom.
  auto* grid = new QGridLayout(fraSettings_);
  cmdDevice_ = named(new QPushButton(text(caption::kDeviceButton)), "cmdDevice");
  // Enter belongs to OK wherever the focus is, this button's included: it is pressed with the
  // space bar or the mouse, as a dialog's secondary buttons are.
  cmdDevice_->setAutoDefault(false);
  lblPortDevice_ = named(new QLabel, "lblPortDevice");
  lblPortDevice_->setTextFormat(Qt::PlainText);
  // A long device name is cut at the right rather than widening the dialog: the tooltip has it.
  lblPortDevice_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* portRow = new QHBoxLayout;
  portRow->addWidget(Label1_);
  portRow->addWidget(cboPort_);
  portRow->addWidget(cmdDevice_);
  portRow->addStretch();
  grid->addLayout(portRow, 0, 0, 1, 2);
  grid->addWidget(Frame1_, 1, 0);
  grid->addWidget(fraConnection_, 2, 0);
  grid->addWidget(Frame7_, 1, 1);
  grid->addWidget(Frame5_, 2, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOK_);
  buttons->addWidget(cmdCancel_);
  buttons->addStretch();
  grid->addLayout(buttons, 1, 2, 2, 1);
  grid->addWidget(lblPortDevice_, 3, 0, 1, 3);

  auto* outer = new QVBoxLayout(this);
  outer->addWidget(tabSettings_);
  outer->setSizeConstraint(QLayout::SetFixedSize);  // fixed frame: no resizing
  // OK is the default button (Enter). Only a button inside the dialog can be made its default:
  // one made so before, the dialog would not know, and would take the first of its buttons.
  cmdOK_->setDefault(true);

  // Tab walks the dialog as it reads: the port and its device, speed, line format, echo, flow
  // control, then OK and Cancel.
  QWidget* const order[] = {cboPort_,     cmdDevice_,  cboSpeed_,   cboDataBits_, cboParity_,
                            cboStopBits_, optEcho_[0], optEcho_[1], optFlow_[0],  optFlow_[1],
                            optFlow_[2],  optFlow_[3], cmdOK_,      cmdCancel_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(flowGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) pendingFlow_ = id;
  });
  connect(echoGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) pendingEcho_ = id == 1;
  });
  connect(cmdOK_, &QPushButton::clicked, this, &frmProperties::cmdOK_Click);
  connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(cmdDevice_, &QPushButton::clicked, this, &frmProperties::cmdDevice_Click);
  connect(cboPort_, &QComboBox::currentIndexChanged, this, &frmProperties::showChosenDevice);
  cboPort_->view()->installEventFilter(this);
}

void frmProperties::centreOnScreen() {
  adjustSize();
  QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void frmProperties::LoadPropertySettings() {
  for (int i = 0; i < kPortEntryCount; ++i) {
    cboPort_->addItem(QString::fromStdString(portEntryText(i)));
  }
  fill(cboSpeed_, kSpeedEntries);
  fill(cboDataBits_, kDataBitsEntries);
  fill(cboParity_, kParityEntries);
  fill(cboStopBits_, kStopBitsEntries);

  const PropertySelection sel = loadPropertySettings(comm_, echo_);
  select(cboSpeed_, sel.line.speed);
  select(cboParity_, sel.line.parity);
  select(cboDataBits_, sel.line.dataBits);
  select(cboStopBits_, sel.line.stopBits);
  select(cboPort_, sel.port);
  if (sel.flow) optFlow_[static_cast<std::size_t>(*sel.flow)]->setChecked(true);
  optEcho_[static_cast<std::size_t>(sel.echo)]->setChecked(true);
  pendingFlow_ = sel.pendingFlow;
  pendingEcho_ = sel.pendingEcho;
}

void frmProperties::showDevices(bool newLook) {
  if (newLook || !look_) look_ = std::make_unique<DeviceLook>();
  for (int i = 0; i < cboPort_->count(); ++i) {
    cboPort_->setItemData(i, deviceText(i), Qt::ToolTipRole);
  }
  showChosenDevice();
}

QString frmProperties::deviceText(int index) const {
  const QString device = portDeviceName(index + 1, store_);
  return QString::fromStdString(
      withArgs(caption::kPortDevice,
               {portEntryText(index), describeDevice(look_->facts(device)), device.toStdString()}));
}

void frmProperties::showChosenDevice() {
  const int i = cboPort_->currentIndex();
  const QString text = i < 0 || !look_ ? QString() : deviceText(i);
  if (i >= 0) cboPort_->setItemData(i, text, Qt::ToolTipRole);
  lblPortDevice_->setText(text);
  lblPortDevice_->setToolTip(text);
}

void frmProperties::cmdDevice_Click() {
  const int i = cboPort_->currentIndex();
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
    info->setText(QString::fromStdString(
        describeDevice(look_->facts(QString::fromStdString(trimmed(text.toStdString()))))));
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

PropertyChoice frmProperties::currentChoice() const {
  PropertyChoice c;
  c.portIndex = cboPort_->currentIndex();
  c.speedText = cboSpeed_->currentText().toStdString();
  c.parityText = cboParity_->currentText().toStdString();
  c.dataBitsText = cboDataBits_->currentText().toStdString();
  c.stopBitsText = cboStopBits_->currentText().toStdString();
  c.pendingFlow = pendingFlow_;
  c.pendingEcho = pendingEcho_;
  return c;
}

void frmProperties::cmdOK_Click() {
  if (applyPropertySettings(currentChoice(), {comm_, store_, prompts_, echo_, setOpenChecked_})) {
    accept();
  }
}

}  // namespace vqx
