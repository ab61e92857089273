#include "qt/app/qt_prompts.h"

#include <QMessageBox>

namespace vqx {

PromptAnswer QtPrompts::show(const std::string& text, const std::string& caption, PromptIcon icon,
                             PromptButtons buttons) {
  QMessageBox box(parent_);
  box.setTextFormat(Qt::PlainText);
  box.setText(QString::fromStdString(text));
  box.setWindowTitle(QString::fromStdString(caption));
  switch (icon) {
    case PromptIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case PromptIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case PromptIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
  }
  if (buttons == PromptButtons::AbortRetryIgnore) {
    box.setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
    box.setDefaultButton(QMessageBox::Abort);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  switch (box.exec()) {
    case QMessageBox::Abort:
      return PromptAnswer::Abort;
    case QMessageBox::Retry:
      return PromptAnswer::Retry;
    case QMessageBox::Ignore:
      return PromptAnswer::Ignore;
    default:
      return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Abort;
  }
}

}  // namespace vqx
