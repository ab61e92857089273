#include "qt/panel/panel_widgets.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace vqx {

QFont panelFont(const layout::FontSpec& wanted) {
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
  while (QFontMetricsF(font).horizontalAdvance(shown) > width && font.pointSizeF() > kSmallest) {
    font.setPointSizeF(font.pointSizeF() - 0.25);
  }
  return font;
}

PanelKey::PanelKey(QWidget* parent) : QPushButton(parent) {
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
  const QRect r = rect();
  p.fillRect(r, face_);
  // A one-pixel bevel round the face: raised, or sunken while the key is held down.
  const QColor light(255, 255, 255);
  const QColor dark(64, 64, 64);
  const bool sunken = isDown();
  p.setPen(sunken ? dark : light);
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(sunken ? light : dark);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
  if (hasFocus()) {
    QPen pen(Qt::black);
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.drawRect(r.adjusted(3, 3, -4, -4));
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

PanelShape::PanelShape(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PanelShape::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(QPen(Qt::black, 0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

PanelLine::PanelLine(QPoint from, QPoint to, QWidget* parent)
    : QWidget(parent), from_(from), to_(to) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  const QRect box = QRect(from, to).normalized();
  setGeometry(box.x(), box.y(), box.width(), box.height());
}

void PanelLine::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(QPen(Qt::black, 0));
  p.drawLine(from_ - pos(), to_ - pos());
}

}  // namespace vqx
