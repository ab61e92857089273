// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/panel/panel_widgets.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>
#include <algorithm>

namespace vqx {

QFont panelFont(const layout::FontStyle& wanted) {
  const QString designed = QString::fromUtf8(wanted.family.data(), qsizetype(wanted.family.size()));
  QFont font;
  if (wanted.symbol) {
    // The arrow labels carry the solid triangles themselves; DejaVu Sans has them.
    font = QFont(QStringLiteral("DejaVu Sans"));
  } else if (QFontDatabase::hasFamily(designed)) {
    font = QFont(designed);
  } else {
    font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
  }
  font.setPointSizeF(wanted.pointSize);
  font.setBold(wanted.bold);
  font.setItalic(false);
  return font;
}

QFont fittedFont(QFont font, const QString& text, int width) {
  constexpr double kSmallest = 5.0;
  QString shown = text;
  while (shown.endsWith(' ')) shown.chop(1);  // trailing spaces show nothing
  const auto fits = [&] { return QFontMetricsF(font).horizontalAdvance(shown) <= width; };
  const bool number = !shown.isEmpty() &&
                      std::all_of(shown.begin(), shown.end(), [](QChar c) { return c.isDigit(); });
  for (double spacing = -0.25; number && !fits() && spacing >= -1.0; spacing -= 0.25) {
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
  }
  while (!fits() && font.pointSizeF() > kSmallest) {
    font.setPointSizeF(font.pointSizeF() - 0.25);
  }
  return font;
}

PixelGrid::PixelGrid(const QPainter& painter, const QTransform& toLogical) {
  const QTransform device = painter.deviceTransform();
  toDevice_ = toLogical * device;
  deviceSpace_ = painter.worldTransform() * device.inverted();
  stroke_ = std::max(1, qFloor(device.m11() + 0.01));
}

QRect PixelGrid::snap(const QRectF& r) const {
  const QRectF d = toDevice_.mapRect(r);
  const int left = qRound(d.left()), top = qRound(d.top());
  return QRect(left, top, qRound(d.right()) - left, qRound(d.bottom()) - top);
}

void fillOutline(QPainter& painter, const QRect& r, int width, const QColor& topLeft,
                 const QColor& bottomRight) {
  painter.fillRect(QRect(r.left(), r.top(), r.width(), width), topLeft);
  painter.fillRect(QRect(r.left(), r.top(), width, r.height()), topLeft);
  painter.fillRect(QRect(r.left(), r.bottom() + 1 - width, r.width(), width), bottomRight);
  painter.fillRect(QRect(r.right() + 1 - width, r.top(), width, r.height()), bottomRight);
}

PanelKey::PanelKey(const layout::KeyEntry& entry, QWidget* parent)
    : QPushButton(parent), entry_(entry) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  face_ = palette().color(QPalette::Button);
}

void PanelKey::setFaceColour(const QColor& colour) {
  if (colour == face_) return;
  face_ = colour;
  update();
}

void PanelKey::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const PixelGrid grid(p);
  const QRect whole = grid.snap(QRectF(rect()));
  const QRect shown = grid.snap(QRectF(0, 0, shownWidth_ > 0 ? shownWidth_ : width(), height()));
  const int w = grid.stroke();
  p.setWorldTransform(grid.deviceSpace());
  p.fillRect(whole, face_);
  // Raised, or sunken while the key is held down.
  const QColor light(255, 255, 255);
  const QColor dark(64, 64, 64);
  const bool sunken = isDown();
  fillOutline(p, shown, w, sunken ? dark : light, sunken ? light : dark);
  if (hasFocus()) {
    // Black on a light face, white on a dark one (grey 128 counts as light, red as dark).
    const QColor ring = qGray(face_.rgb()) >= 128 ? QColor(0, 0, 0) : QColor(255, 255, 255);
    fillOutline(p, shown.adjusted(2 * w, 2 * w, -2 * w, -2 * w), 2 * w, ring, ring);
  }
}

void PanelKey::mousePressEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button == Qt::LeftButton) {
    QPushButton::mousePressEvent(event);
  } else {
    event->accept();
  }
  emit mouseDown(button);
}

void PanelKey::mouseReleaseEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button == Qt::LeftButton) {
    QPushButton::mouseReleaseEvent(event);
  } else {
    event->accept();
  }
  emit mouseUp(button);
}

void PanelKey::pressWith(Qt::MouseButton button) {
  setDown(true);
  emit mouseDown(button);
}

void PanelKey::releaseWith(Qt::MouseButton button) {
  setDown(false);
  emit mouseUp(button);
}

PanelLamp::PanelLamp(const QColor& fill, QWidget* parent) : QWidget(parent), fill_(fill) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PanelLamp::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const int d = std::min(width(), height());
  const QRectF circle((width() - d) / 2.0 + 0.5, (height() - d) / 2.0 + 0.5, d - 1, d - 1);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(fill_);
  p.drawEllipse(circle);
}

}  // namespace vqx
