#pragma once

#include <QPointer>
#include <QWidget>

#include "app/prompts.h"

namespace vqx {

// Message boxes on QMessageBox. Every text is shown as plain text: a language file or a
// device description can never smuggle markup into a box.
class QtPrompts : public Prompts {
 public:
  explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  PromptAnswer show(const std::string& text, const std::string& caption, PromptIcon icon,
                    PromptButtons buttons) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace vqx
