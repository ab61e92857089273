// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/app/link_indicator.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMainWindow>
#include <QPainter>

namespace vqx {
namespace {

// The indicator as assistive technology sees it: a status display, a child of its window.
class LinkStateAccessible : public QAccessibleWidget {
 public:
  explicit LinkStateAccessible(QWidget* indicator)
      : QAccessibleWidget(indicator, QAccessible::StatusBar) {}
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(widget()->window());
  }
};

// A main window whose children, as assistive technology sees them, end with its link indicator.
class WindowWithLinkAccessible : public QAccessibleWidget {
 public:
  explicit WindowWithLinkAccessible(QMainWindow* window)
      : QAccessibleWidget(window, QAccessible::Window) {}
  int childCount() const override { return widgetCount() + (indicator() ? 1 : 0); }
  QAccessibleInterface* child(int index) const override {
    if (index == widgetCount() && indicator()) {
      return QAccessible::queryAccessibleInterface(indicator());
    }
    return QAccessibleWidget::child(index);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (child && indicator() && child->object() == indicator()) return widgetCount();
    return QAccessibleWidget::indexOfChild(child);
  }

 private:
  int widgetCount() const { return QAccessibleWidget::childCount(); }
  LinkIndicator* indicator() const { return widget()->findChild<LinkIndicator*>(); }
};

// Asked for each class of an object from its own up: the answer must come at the window's own
// class, before Qt's answer for QMainWindow.
QAccessibleInterface* accessibleOf(const QString& className, QObject* object) {
  if (className != QLatin1String(object->metaObject()->className())) return nullptr;
  if (auto* indicator = qobject_cast<LinkIndicator*>(object)) {
    return new LinkStateAccessible(indicator);
  }
  // Every main window, also one whose indicator is still to come: its interface is made once.
  if (auto* window = qobject_cast<QMainWindow*>(object))
    return new WindowWithLinkAccessible(window);
  return nullptr;
}

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
    case LinkState::Connecting:
      return {QColor(0x1f, 0x5f, 0xa8), Qt::white};
    case LinkState::CannotOpen:
      break;
  }
  return {QColor(0xb0, 0x00, 0x20), Qt::white};
}

}  // namespace

LinkIndicator::LinkIndicator(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("linkState"));
  makeReachable();
}

void LinkIndicator::makeReachable() {
  static const bool installed = [] {
    QAccessible::installFactory(accessibleOf);
    return true;
  }();
  (void)installed;
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
