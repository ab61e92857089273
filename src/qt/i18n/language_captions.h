// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

#include "i18n/language_file.h"

namespace vqx {

class PortSettingsDialog;

// A language text as a caption: UTF-8 to QString. An "&" keeps its access-key meaning.
inline QString captionText(const std::string& text) {
  return QString::fromStdString(text);
}

// Sets the five captions of the port settings dialog that a language file replaces (lines 8
// to 12: Label1, Frame1, fraConnection, Frame5, cmdCancel).
void applyLanguageCaptions(PortSettingsDialog& dialog, const LanguageTexts& texts);

}  // namespace vqx
