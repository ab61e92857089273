// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "common/prompts.h"

namespace vqx {

// Message boxes on QMessageBox. Every text is shown as plain text: a language file or a
// device description can never smuggle markup into a box. A notice is a box of its own that is
// not modal, deleted when the operator closes it.
class QtPrompts : public Prompts {
 public:
  explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  ~QtPrompts() override { delete notice_.data(); }
  void setParent(QWidget* parent) { parent_ = parent; }

 protected:
  PromptAnswer present(const std::string& text, const std::string& caption, PromptIcon icon,
                       PromptButtons buttons) override;
  void presentNotice(const std::string& text) override;
  void changeNotice(const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
  QPointer<QMessageBox> notice_;
};

}  // namespace vqx
