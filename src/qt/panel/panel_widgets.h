#pragma once

#include <QColor>
#include <QFont>
#include <QPushButton>
#include <QWidget>

#include "panel/panel_layout.h"

namespace vqx {

// The platform's stand-in for a font the panel was designed with: the designed family where
// it exists, else the platform's sans-serif at the same size; a symbol font becomes one that
// has the solid triangles of the arrow labels.
QFont panelFont(const layout::FontSpec& wanted);

// The font, made smaller in quarter points until the text fits the width: the platform's
// sans-serif is wider than the panel's designed font, and a caption must show whole.
QFont fittedFont(QFont font, const QString& text, int width);

// A key of the drawn panel: a square face painted flat in its own colour (no style gradient,
// so an armed key reads exactly its colour), no caption. Besides the usual click it reports the
// press and release of every mouse button, which a push button otherwise ignores but for the
// left one.
class PanelKey : public QPushButton {
  Q_OBJECT
 public:
  explicit PanelKey(QWidget* parent = nullptr);

  QColor faceColour() const { return face_; }
  // Repaints only when the colour differs from the current one.
  void setFaceColour(const QColor& colour);

 signals:
  void mouseDown(Qt::MouseButton button);
  void mouseUp(Qt::MouseButton button);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QColor face_;
};

// A lamp: a filled circle of diameter min(width, height), centred, thin black outline.
class PanelLamp : public QWidget {
  Q_OBJECT
 public:
  PanelLamp(const QColor& fill, QWidget* parent = nullptr);
  QColor fill() const { return fill_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor fill_;
};

// A pictogram rectangle: a one-pixel black outline, no fill.
class PanelShape : public QWidget {
  Q_OBJECT
 public:
  explicit PanelShape(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A one-pixel black line. The widget covers the line's bounding box; the line runs between
// two of its corners.
class PanelLine : public QWidget {
  Q_OBJECT
 public:
  PanelLine(QPoint from, QPoint to, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPoint from_, to_;  // in panel pixels
};

}  // namespace vqx
