#include "qt/dialogs/frm_properties.h"

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

void frmProperties::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) centreOnScreen();
  QDialog::showEvent(event);
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
  cmdOK_->setDefault(true);
  cmdCancel_ = named(new QPushButton(QStringLiteral("Annulla")), "cmdCancel");

  // Port at the top left; speed above line format on the left, echo above flow control in
  // the middle, OK above Cancel on the right.
  auto* grid = new QGridLayout(fraSettings_);
  auto* portRow = new QHBoxLayout;
  portRow->addWidget(Label1_);
  portRow->addWidget(cboPort_);
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

  auto* outer = new QVBoxLayout(this);
  outer->addWidget(tabSettings_);
  outer->setSizeConstraint(QLayout::SetFixedSize);  // fixed frame: no resizing

  connect(flowGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) pendingFlow_ = id;
  });
  connect(echoGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) pendingEcho_ = id == 1;
  });
  connect(cmdOK_, &QPushButton::clicked, this, &frmProperties::cmdOK_Click);
  connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
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
