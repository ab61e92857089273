// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/i18n/language_captions.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "qt/dialogs/port_settings_dialog.h"

namespace vqx {

void applyLanguageCaptions(PortSettingsDialog& dialog, const LanguageTexts& texts) {
  dialog.portLabel()->setText(captionText(texts.portLabel));
  dialog.speedGroup()->setTitle(captionText(texts.speedGroup));
  dialog.formatGroup()->setTitle(captionText(texts.formatGroup));
  dialog.flowGroup()->setTitle(captionText(texts.flowGroup));
  dialog.cancelButton()->setText(captionText(texts.cancelButton));
}

}  // namespace vqx
