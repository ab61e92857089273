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
class LinkIndicator : public QWidget {
  Q_OBJECT
 public:
  explicit LinkIndicator(QWidget* parent = nullptr);

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
