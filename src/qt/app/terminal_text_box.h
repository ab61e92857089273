// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "status/terminal_box.h"

namespace vqx {

// txtTerm: the multi-line terminal box. It shows the core's terminal-box model (the device
// link's, which the status decoding reads), whose text is one character per byte and keeps its line
// ends as they came (a Qt text widget would rewrite them). Every character typed into it is first
// handed to the key handling, which may send it and may suppress it (code 0); what is left is
// inserted at the caret.
class TerminalTextBox : public QWidget {
  Q_OBJECT
 public:
  using KeyPressHandler = std::function<void(std::int16_t& code)>;

  explicit TerminalTextBox(TerminalBox& box, QWidget* parent = nullptr);

  TerminalBox& box() { return box_; }
  const TerminalBox& box() const { return box_; }
  void setKeyPressHandler(KeyPressHandler handler) { keyPress_ = std::move(handler); }
  void setTextColor(const QColor& color);
  // Call after the model may have changed, so the box shows it. A status frame passes through
  // the box and leaves it as it was, a hundred times a second: that paints nothing.
  void refresh() {
    if (box_.text() != painted_) update();
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  TerminalBox& box_;
  std::string painted_;  // the text as last painted
  KeyPressHandler keyPress_;
  QColor textColor_ = Qt::black;
};

}  // namespace vqx
