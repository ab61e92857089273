// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/app/terminal_text_box.h"

#include <QKeyEvent>
#include <QPainter>

namespace vqx {

TerminalTextBox::TerminalTextBox(TerminalBox& box, QWidget* parent) : QWidget(parent), box_(box) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

void TerminalTextBox::setTextColor(const QColor& color) {
  textColor_ = color;
  update();
}

void TerminalTextBox::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  if (typed.isEmpty()) {
    QWidget::keyPressEvent(event);
    return;
  }
  for (const QChar ch : typed) {
    // Characters are bytes on the line: Latin-1 and the control keys (Enter is 13,
    // Backspace 8). Anything beyond one byte cannot be typed into the terminal.
    if (ch.unicode() > 255) continue;
    std::int16_t code = static_cast<std::int16_t>(ch.unicode());
    if (keyPress_) keyPress_(code);
    if (code > 0 && code <= 255) {
      const char byte = static_cast<char>(static_cast<unsigned char>(code));
      box_.setSelText(std::string_view(&byte, 1));
    }
  }
  event->accept();
  update();
}

void TerminalTextBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  painter.setPen(textColor_);
  // One byte per character, shown as Latin-1; CR LF breaks a line.
  painted_ = box_.text();
  QString shown;
  for (const char c : box_.text()) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\n') continue;
    shown += byte == '\r' ? QChar('\n') : QChar(byte);
  }
  painter.drawText(rect().adjusted(2, 2, -2, -2),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere, shown);
}

}  // namespace vqx
