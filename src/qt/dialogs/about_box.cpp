// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/dialogs/about_box.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/dialogs/sys_info_platform.h"
#include "vqx16_version.h"

namespace vqx {

const char* const kAboutCredits =
    "VQX16\n\nFront panel, serial link and status display for ORVEX and ALMEX video "
    "multiplexers.\n\nThanks to the installers and operators who tried every key.";

namespace {

constexpr int kPictureWidth = 128;
constexpr int kPictureHeight = 41;
// The picture's own coordinate scale: 1.4605 units across and 1.3952 down.
constexpr double kUnitsAcross = 1.4605;
constexpr double kUnitsDown = 1.3952;

QLabel* label(const QString& text, const char* name) {
  auto* l = new QLabel(text);
  l->setObjectName(QString::fromLatin1(name));
  l->setTextFormat(Qt::PlainText);
  return l;
}

}  // namespace

QPixmap AboutBox::drawPicture() {
  QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB888);  // 24-bit colour
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, kPictureHeight);
  sky.setColorAt(0, QColor(16, 32, 96));
  sky.setColorAt(1, QColor(4, 8, 32));
  p.fillRect(image.rect(), sky);

  // A monitor split into sixteen camera pictures, one of them live.
  const QRect screen(4, 4, 44, 33);
  p.fillRect(screen.adjusted(-2, -2, 2, 2), QColor(200, 200, 210));
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      const QRect cell(screen.x() + col * 11, screen.y() + row * 8 + row / 2, 10, 7);
      const bool live = row == 1 && col == 2;
      p.fillRect(cell, live ? QColor(255, 64, 48) : QColor(40 + 12 * col, 90 + 10 * row, 140));
    }
  }
  // Three lamps, as on the device's panel.
  const QColor lamps[] = {QColor(255, 32, 32), QColor(40, 220, 60), QColor(255, 200, 0)};
  for (int i = 0; i < 3; ++i) {
    p.setBrush(lamps[i]);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(56, 9 + 11.5 * i), 3, 3);
  }
  QFont font(QStringLiteral("Arial"));
  font.setBold(true);
  font.setPixelSize(17);
  p.setFont(font);
  p.setPen(QColor(235, 240, 255));
  p.drawText(QRect(62, 2, 64, 24), Qt::AlignCenter, QStringLiteral("VQX16"));
  font.setPixelSize(8);
  font.setBold(false);
  p.setFont(font);
  p.setPen(QColor(150, 180, 240));
  p.drawText(QRect(62, 24, 64, 14), Qt::AlignCenter, QStringLiteral("ORVEX · ALMEX"));
  p.end();
  return QPixmap::fromImage(image);
}

AboutBox::AboutBox(Prompts& prompts, QWidget* parent)
    : AboutBox(prompts, makePlatformRegistry(), std::make_unique<QtProgramLauncher>(), parent) {}

AboutBox::AboutBox(Prompts& prompts, std::unique_ptr<Registry> registry,
                   std::unique_ptr<ProgramLauncher> launcher, QWidget* parent)
    : QDialog(parent),
      prompts_(prompts),
      registry_(std::move(registry)),
      launcher_(std::move(launcher)) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_DeleteOnClose);
  const QString title = QString::fromUtf8(kAppTitle);
  setWindowTitle(QStringLiteral("About ") + title);

  picture_ = label(QString(), "picIcon");
  picture_->setPixmap(drawPicture());
  picture_->setFixedSize(kPictureWidth, kPictureHeight);
  picture_->installEventFilter(this);

  auto* lblTitle = label(title, "lblTitle");
  QFont titleFont(QStringLiteral("MS Sans Serif"), 12, QFont::Bold);
  lblTitle->setFont(titleFont);
  auto* lblVersion = label(QStringLiteral("Version %1.%2.%3")
                               .arg(kVersionMajor)
                               .arg(kVersionMinor)
                               .arg(kVersionRevision),
                           "lblVersion");
  auto* lblDescription =
      label(QStringLiteral("ORVEX and ALMEX software controller"), "lblDescription");
  auto* Label1 =
      label(QStringLiteral("Serial front panel controller for video multiplexers."), "Label1");
  Label1->setWordWrap(true);

  auto* Line1 = new QFrame;
  Line1->setObjectName(QStringLiteral("Line1"));
  Line1->setFrameShape(QFrame::HLine);
  Line1->setFrameShadow(QFrame::Sunken);  // etched: a dark and a light line

  auto* cmdOK = new QPushButton(QStringLiteral("OK"));
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);  // Enter; Esc closes the box as its cancel button
  auto* cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."));
  cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
  cmdSysInfo->setAutoDefault(false);

  auto* texts = new QVBoxLayout;
  texts->addWidget(lblTitle);
  texts->addWidget(lblVersion);
  texts->addWidget(lblDescription);
  texts->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(picture_, 0, Qt::AlignTop);
  top->addLayout(texts, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdSysInfo);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(Label1, 1);
  bottom->addLayout(buttons);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(top);
  outer->addWidget(Line1);
  outer->addLayout(bottom);
  outer->setSizeConstraint(QLayout::SetFixedSize);

  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdSysInfo, &QPushButton::clicked, this, &AboutBox::startSystemInformation);
}

AboutBox::~AboutBox() = default;

void AboutBox::startSystemInformation() {
  startSystemInformationTool(*registry_, *launcher_, prompts_);
}

void AboutBox::picturePressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos) {
  const double x = pos.x() * kUnitsAcross / kPictureWidth;
  const double y = pos.y() * kUnitsDown / kPictureHeight;
  const auto keys = shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (button == Qt::RightButton && keys == Qt::ShiftModifier && x < 100 && y < 100) {
    prompts_.message(kAboutCredits);
  }
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == picture_ && event->type() == QEvent::MouseButtonPress) {
    const auto* press = static_cast<QMouseEvent*>(event);
    picturePressed(press->button(), press->modifiers(), press->position());
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vqx
