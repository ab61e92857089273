// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include "serial/link_state.h"

namespace vqx {

// The link state beside the menus: the port and its device, then the state's word on the
// state's colour, never the colour alone. A screen reader reads the same in the accessible name
// ("Com1 (/dev/ttyUSB0): open") and the reason in the description; the tooltip shows both. It is
// as wide as the menus leave room for (setRoom) and shortens the device in the middle to fit, so
// it never pushes a menu aside or makes the menu bar taller.
//
// A screen reader finds it among the children of its window, as a status bar: Qt would leave it
// out of the accessibility tree altogether, since a menu bar's accessible children are only its
// menus. When the state changes its accessible name changes, and the name's change is announced.
class LinkIndicator : public QWidget {
  Q_OBJECT
 public:
  explicit LinkIndicator(QWidget* parent = nullptr);
  // Puts link indicators in the accessibility tree from now on; a main window calls it before
  // anything asks for its own place in the tree.
  static void makeReachable();

  void setLink(const QString& port, const LinkView& view);
  void setView(const LinkView& view) { setLink(port_, view); }
  const LinkView& view() const { return view_; }
  void setRoom(int width);
  // The background of the state's word.
  QColor colour() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString port_;
  LinkView view_{LinkState::Closed, "-", {}};
  int room_ = 0;
};

}  // namespace vqx
