// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/app/qt_prompts.h"

#include <QMessageBox>

namespace vqx {

PromptAnswer QtPrompts::present(const std::string& text, const std::string& caption,
                                PromptIcon icon, PromptButtons buttons) {
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

void QtPrompts::presentNotice(const std::string& text) {
  if (!notice_) {
    notice_ = new QMessageBox(QMessageBox::Warning, QString::fromUtf8(kAppTitle), QString(),
                              QMessageBox::Ok, parent_);
    notice_->setObjectName(QStringLiteral("notice"));
    notice_->setTextFormat(Qt::PlainText);
    notice_->setWindowModality(Qt::NonModal);
    notice_->setAttribute(Qt::WA_DeleteOnClose);
  }
  notice_->setText(QString::fromStdString(text));
  notice_->show();
  notice_->raise();
}

void QtPrompts::changeNotice(const std::string& text) {
  if (notice_ && notice_->isVisible()) notice_->setText(QString::fromStdString(text));
}

}  // namespace vqx
