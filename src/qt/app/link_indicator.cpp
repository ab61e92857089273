// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/app/link_indicator.h"

#include <QPainter>

namespace vqx {
namespace {

struct Colours {
  QColor background, text;
};

Colours coloursOf(LinkState state) {
  switch (state) {
    case LinkState::Open:
      return {QColor(0x1b, 0x7f, 0x3b), Qt::white};
    case LinkState::Quiet:
      return {QColor(0xf2, 0xb0, 0x1e), Qt::black};
    case LinkState::Closed:
      return {QColor(0xd0, 0xd0, 0xd0), Qt::black};
    case LinkState::Lost:
      return {QColor(0xd9, 0x48, 0x0f), Qt::white};
    case LinkState::CannotOpen:
      break;
  }
  return {QColor(0xb0, 0x00, 0x20), Qt::white};
}

}  // namespace

LinkIndicator::LinkIndicator(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("linkState"));
}

void LinkIndicator::setLink(const QString& port, const LinkView& view) {
  if (port == port_ && view == view_) return;
  port_ = port;
  view_ = view;
  const QString name = port + QStringLiteral(": ") + QString::fromStdString(view.word);
  const QString reason = QString::fromStdString(view.reason);
  setAccessibleName(name);
  setAccessibleDescription(reason);
  setToolTip(reason.isEmpty() ? name : name + QLatin1Char('\n') + reason);
  update();
}

void LinkIndicator::setRoom(int width) {
  room_ = std::max(width, 0);
  updateGeometry();
}

QColor LinkIndicator::colour() const {
  return coloursOf(view_.state).background;
}

QSize LinkIndicator::sizeHint() const {
  return {room_, fontMetrics().height() + 2};
}

void LinkIndicator::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics = fontMetrics();
  const QString word = QString::fromStdString(view_.word);
  const int pad = metrics.averageCharWidth() / 2 + 1;
  const int wordWidth = metrics.horizontalAdvance(word) + 2 * pad;
  const QRect wordRect(width() - wordWidth, 0, wordWidth, height());
  const Colours colours = coloursOf(view_.state);
  painter.fillRect(wordRect, colours.background);
  painter.setPen(colours.text);
  painter.drawText(wordRect, Qt::AlignCenter, word);
  const int portWidth = width() - wordWidth - pad;
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(QRect(0, 0, portWidth, height()), Qt::AlignRight | Qt::AlignVCenter,
                   metrics.elidedText(port_, Qt::ElideMiddle, portWidth));
}

}  // namespace vqx
