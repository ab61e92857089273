// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>

#include "common/prompts.h"
#include "dialogs/sys_info.h"

class QLabel;
class QPushButton;

namespace vqx {

// The About box: title, version, description, credits and the system-information button. Not
// modal; OK, Enter, Esc and the close control close it, and it deletes itself when closed.
// Object names: picIcon, lblTitle, lblVersion, lblDescription, Label1, Line1, cmdOK,
// cmdSysInfo.
class AboutBox : public QDialog {
  Q_OBJECT

 public:
  // With the platform's registry and program launcher.
  explicit AboutBox(Prompts& prompts, QWidget* parent = nullptr);
  AboutBox(Prompts& prompts, std::unique_ptr<Registry> registry,
           std::unique_ptr<ProgramLauncher> launcher, QWidget* parent = nullptr);
  ~AboutBox() override;

  // The 128 x 41 picture at the top left, drawn here.
  static QPixmap drawPicture();

  void startSystemInformation();
  // A press on the picture: right button with exactly Shift shows the hidden credits.
  void picturePressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Prompts& prompts_;
  std::unique_ptr<Registry> registry_;
  std::unique_ptr<ProgramLauncher> launcher_;
  QLabel* picture_ = nullptr;
};

// Text of the hidden credits message.
extern const char* const kAboutCredits;

}  // namespace vqx
