// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include "panel/panel_access.h"

class QKeyEvent;
class QWidget;

namespace vqx {

class FrontPanel;
class PanelKey;

// The panel's keyboard map (panel_access.h) in a window: Ctrl and a camera's number clicks that
// camera's key; Ctrl and an arrow key presses the screen key with that arrow until the arrow key
// or Ctrl is let go, or the window loses the focus. Enter belongs to the panel's default key,
// Uno, unless another of the panel's keys has the focus (that key takes Enter itself, as a
// dialog's buttons do), or the menu bar is walked with the keyboard. Both take exactly the mouse's
// path through the keys, so they send the same bytes and meet the same armed states. Wherever the
// focus is in the window, the terminal box included, these keys go to the panel; everything else
// goes on as before. Only key events are looked at: the map costs nothing while nobody types.
class PanelKeyboard : public QObject {
  Q_OBJECT
 public:
  // Listens to the key events of `window`, which holds `panel`.
  PanelKeyboard(FrontPanel& panel, QWidget& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool keyPressed(const QKeyEvent& key);
  void keyReleased(const QKeyEvent& key);
  void releaseHeldKey();
  // Clicks the camera key of a complete number; a number that is no camera only beeps.
  void take(const CameraNumberEntry::Step& step);

  FrontPanel& panel_;
  QWidget& window_;
  CameraNumberEntry entry_;
  QPointer<PanelKey> held_;  // the screen key an arrow holds down
  int heldArrow_ = 0;        // the Qt key that holds it
  Qt::MouseButton heldButton_ = Qt::LeftButton;
};

}  // namespace vqx
