// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QPushButton>
#include <QTransform>
#include <QWidget>

#include "panel/panel_layout.h"

class QPainter;

namespace vqx {

// The platform's stand-in for a font the panel was designed with: the designed family where
// it exists, else the platform's sans-serif at the same size; a symbol font becomes one that
// has the solid triangles of the arrow labels.
QFont panelFont(const layout::FontStyle& wanted);

// The font, made to fit the text in the width: the platform's sans-serif is wider than the
// panel's designed font, and a caption must show whole. A number's digits are first set up to
// one pixel closer (the platform's digits are wide); then the font is made smaller in quarter
// points until the text fits.
QFont fittedFont(QFont font, const QString& text, int width);

// The device pixels under a painter. A one-pixel line drawn at a logical position falls between
// two rows of device pixels at a fractional device pixel ratio (125 %, 150 %, 175 %), where it is
// clipped away or smeared; on this grid every edge lies on whole device pixels instead.
class PixelGrid {
 public:
  // toLogical: from the units the caller measures in to the painter's logical pixels.
  explicit PixelGrid(const QPainter& painter, const QTransform& toLogical = QTransform());

  // The rectangle with each edge on the nearest device pixel boundary, in device pixels.
  QRect snap(const QRectF& r) const;
  // A line one logical pixel wide, in whole device pixels: at least one, never more than the
  // ratio (a cosmetic pen).
  int stroke() const { return stroke_; }
  // The world transform under which the painter paints in device pixels.
  const QTransform& deviceSpace() const { return deviceSpace_; }

 private:
  QTransform toDevice_;
  QTransform deviceSpace_;
  int stroke_ = 1;
};

// Fills the outline of r inside it, `width` device pixels wide: the top and left sides in one
// colour, then the bottom and right sides in the other. The painter paints in device pixels.
void fillOutline(QPainter& painter, const QRect& r, int width, const QColor& topLeft,
                 const QColor& bottomRight);

// A key of the drawn panel: a square face painted flat in its own colour (no style gradient,
// so an armed key reads exactly its colour), no caption, a bevel of one pixel and, with the
// focus, a ring two pixels wide inside it, all on whole device pixels. Besides the usual click
// it reports the press and release of every mouse button, which a push button otherwise
// ignores but for the left one.
class PanelKey : public QPushButton {
  Q_OBJECT
 public:
  explicit PanelKey(const layout::KeyEntry& entry, QWidget* parent = nullptr);

  const layout::KeyEntry& entry() const { return entry_; }
  QColor faceColour() const { return face_; }
  // Repaints only when the colour differs from the current one.
  void setFaceColour(const QColor& colour);
  // The width, from the left, that no other key covers: the bevel's right side is drawn there.
  void setShownWidth(int width) { shownWidth_ = width; }
  // A mouse button's press and release given another way (the keyboard): the key shows pressed
  // until the release, and reports both as the mouse would.
  void pressWith(Qt::MouseButton button);
  void releaseWith(Qt::MouseButton button);

 signals:
  void mouseDown(Qt::MouseButton button);
  void mouseUp(Qt::MouseButton button);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  const layout::KeyEntry& entry_;
  QColor face_;
  int shownWidth_ = 0;  // 0: the whole key
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

}  // namespace vqx
