// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/i18n/language_captions.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "qt/dialogs/frm_properties.h"

namespace vqx {

void applyLanguageCaptions(frmProperties& dialog, const LanguageTexts& texts) {
  dialog.Label1()->setText(captionText(texts.Label1));
  dialog.Frame1()->setTitle(captionText(texts.Frame1));
  dialog.fraConnection()->setTitle(captionText(texts.fraConnection));
  dialog.Frame5()->setTitle(captionText(texts.Frame5));
  dialog.cmdCancel()->setText(captionText(texts.cmdCancel));
}

}  // namespace vqx
