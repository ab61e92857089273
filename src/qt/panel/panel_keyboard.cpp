// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/panel/panel_keyboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>

#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"

namespace vqx {
namespace {

std::optional<Arrow> arrowOf(int key) {
  switch (key) {
    case Qt::Key_Up:
      return Arrow::Up;
    case Qt::Key_Down:
      return Arrow::Down;
    case Qt::Key_Left:
      return Arrow::Left;
    case Qt::Key_Right:
      return Arrow::Right;
    default:
      return std::nullopt;
  }
}

// Ctrl, perhaps with Shift, and nothing else; a digit or an arrow of the keypad counts the same.
bool withControl(const QKeyEvent& key) {
  const Qt::KeyboardModifiers others =
      key.modifiers() & ~(Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier);
  return key.modifiers().testFlag(Qt::ControlModifier) && others == Qt::NoModifier;
}

QString keyName(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

bool isEnter(const QKeyEvent& key) {
  return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
         (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

PanelKeyboard::PanelKeyboard(FrontPanel& panel, QWidget& window)
    : QObject(&window), panel_(panel), window_(window) {
  // The window's own filter would only see what its children leave alone: the terminal box
  // takes every key that types a character. The application's sees a key before any widget.
  qApp->installEventFilter(this);
}

bool PanelKeyboard::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::WindowDeactivate:
      break;
    default:
      return false;
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != &window_) return false;
  if (event->type() == QEvent::WindowDeactivate) {
    entry_.clear();
    releaseHeldKey();
    return false;
  }
  const auto& key = static_cast<const QKeyEvent&>(*event);
  if (event->type() == QEvent::KeyPress && isEnter(key)) {
    // A menu bar that the keyboard walks opens its menu on Enter.
    if (qobject_cast<QMenuBar*>(widget)) return false;
    entry_.clear();
    return panel_.activateDefaultKey();
  }
  if (event->type() == QEvent::KeyPress) return keyPressed(key);
  keyReleased(key);
  return false;
}

bool PanelKeyboard::keyPressed(const QKeyEvent& key) {
  if (!withControl(key)) {
    if (key.key() != Qt::Key_Control && key.key() != Qt::Key_Shift) entry_.clear();
    return false;
  }
  if (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9 &&
      !key.modifiers().testFlag(Qt::ShiftModifier)) {
    if (key.isAutoRepeat()) return true;
    take(entry_.digit(key.key() - Qt::Key_0));
    return true;
  }
  const auto arrow = arrowOf(key.key());
  if (!arrow) {
    entry_.clear();
    return false;
  }
  // The key's own repeat timer repeats while it is held, as under the mouse.
  if (key.isAutoRepeat() || held_) return true;
  entry_.clear();
  held_ = panel_.key(keyName(screenKeyForArrow(*arrow)));
  heldArrow_ = key.key();
  heldButton_ = key.modifiers().testFlag(Qt::ShiftModifier) ? Qt::RightButton : Qt::LeftButton;
  held_->pressWith(heldButton_);
  return true;
}

void PanelKeyboard::keyReleased(const QKeyEvent& key) {
  if (key.isAutoRepeat()) return;
  if (key.key() == Qt::Key_Control) {
    take(entry_.controlReleased());
    releaseHeldKey();
  } else if (key.key() == heldArrow_) {
    releaseHeldKey();
  }
}

void PanelKeyboard::releaseHeldKey() {
  if (!held_) return;
  PanelKey* key = held_;
  held_ = nullptr;
  heldArrow_ = 0;
  key->releaseWith(heldButton_);
}

void PanelKeyboard::take(const CameraNumberEntry::Step& step) {
  using Kind = CameraNumberEntry::Step::Kind;
  if (step.kind == Kind::Select) {
    panel_.key(keyName(layout::cameraKeyName(step.camera)))->click();
  } else if (step.kind == Kind::NoCamera) {
    QApplication::beep();  // no such camera: nothing is sent
  }
}

}  // namespace vqx
