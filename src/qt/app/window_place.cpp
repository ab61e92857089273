// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/app/window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "panel/panel_layout.h"

namespace vqx {

using layout::kTwipsPerPixel;

WindowPlace::WindowPlace(QWidget& window, const QString& settingsFile)
    : window_(window), file_(settingsFile) {}

long WindowPlace::leftTwips() const {
  const QPoint at = window_.pos();
  return at == placedAt_ ? placedTwips_.x() : long(at.x()) * kTwipsPerPixel;
}

long WindowPlace::topTwips() const {
  const QPoint at = window_.pos();
  return at == placedAt_ ? placedTwips_.y() : long(at.y()) * kTwipsPerPixel;
}

void WindowPlace::moveToTwips(double left, double top) {
  window_.move(static_cast<int>(left / kTwipsPerPixel), static_cast<int>(top / kTwipsPerPixel));
  placedAt_ = window_.pos();
  placedTwips_ = QPoint(static_cast<int>(left), static_cast<int>(top));
}

void WindowPlace::centreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  const QSize frame = window_.frameGeometry().size();
  window_.move(area.x() + (area.width() - frame.width()) / 2,
               area.y() + (area.height() - frame.height()) / 2);
}

std::string WindowPlace::restore() {
  const SettingsFileLines lines = file_.read();
  claim_.fileRead = true;
  const std::string language = lines.languageFile.value_or("");
  if (language.empty()) return language;
  const auto left = lines.left ? parseTwips(*lines.left) : std::nullopt;
  const auto top = lines.top ? parseTwips(*lines.top) : std::nullopt;
  moveToTwips(left ? double(*left) : double(leftTwips()), top ? double(*top) : double(topTwips()));
  // A place stored on a monitor that is gone would leave the window where nobody can see it:
  // then it stays centred.
  if (!QGuiApplication::screenAt(window_.frameGeometry().center())) centreOnScreen();
  return language;
}

void WindowPlace::startupStopped() {
  loadedAt_ = window_.pos();
}

void WindowPlace::save(const std::string& languageFile) {
  if (!claim_.fileRead) claim_.moved = claim_.moved || window_.pos() != loadedAt_;
  const auto values = settingsToSave(claim_, {leftTwips(), topTwips(), languageFile},
                                     [this] { return file_.read(); });
  if (values) file_.save(values->left, values->top, values->languageFile);
}

}  // namespace vqx
