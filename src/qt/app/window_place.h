// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QString>
#include <string>

#include "app/settings_file.h"
#include "qt/app/settings_file_io.h"

class QWidget;

namespace vqx {

// Where the main window is, in twips (15 a logical pixel; the outer frame's top-left corner),
// and the settings file that keeps that place and the language from one run to the next.
class WindowPlace {
 public:
  WindowPlace(QWidget& window, const QString& settingsFile);

  long leftTwips() const;
  long topTwips() const;
  void moveToTwips(double left, double top);
  void centreOnScreen();

  // The startup reads the settings file: the language file it names, "" for none. A stored
  // place counts only together with a language, and only where a screen still shows it.
  std::string restore();
  // The startup stopped before reading the file: the window's place now tells later whether the
  // operator has moved it since.
  void startupStopped();
  void languageChosen() { claim_.languageChosen = true; }
  // Saves what this run has to save; the tick of TimerMove.
  void save(const std::string& languageFile);

  SettingsFileIo& file() { return file_; }

 private:
  QWidget& window_;
  SettingsFileIo file_;
  // Whose the file's lines are (see settingsToSave); the window's place at the end of a startup
  // that did not read the file tells whether the operator has moved it since.
  SettingsFileClaim claim_;
  QPoint loadedAt_;
  // A place in twips that is no whole number of pixels is kept as it was given for as long as
  // the window stays where it was put, so a stored place reads back unchanged.
  QPoint placedAt_{-1, -1};
  QPoint placedTwips_;
};

}  // namespace vqx
