// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "panel/panel_host.h"
#include "panel/panel_keys.h"
#include "status/indicators.h"

class QTimer;

namespace vqx {

class PanelKey;
class PanelLamp;

// What the main window lends the panel.
struct FrontPanelHooks {
  // The key transmission: one call per character of a command.
  std::function<void(std::int16_t& code)> keyPress;
  // Whether the key transmission takes a command of this many characters whole now. Unset: yes.
  std::function<bool(std::size_t count)> canSend;
  // The port toggle, run by the Function+Pip reset.
  std::function<void()> togglePort;
  // A modal message box: the text as plain text, OK only, no icon, caption "VQX16".
  std::function<void(const std::string& text)> showMessage;
  // The main window's current background colour. Unset: the panel's window's palette colour.
  std::function<QColor()> backgroundColour;
  // One system beep. Unset: QApplication::beep().
  std::function<void()> beep;
};

// The drawn front panel of the multiplexer: 26 keys, six lamps, the labels and pictograms, the
// four repeat timers, and the key state behind them. Built from the core's layout table at
// 15 twips a pixel. The keys and lamps are widgets, each with its name as object name; the
// fixed artwork (pictograms, the camera row's lines, the labels) the panel paints itself.
class FrontPanel : public QWidget, private PanelHost {
  Q_OBJECT
 public:
  explicit FrontPanel(FrontPanelHooks hooks, QWidget* parent = nullptr);
  ~FrontPanel() override;

  // The key state behind the widgets.
  const KeyState& keyState() const { return keys_.state(); }
  void setPipMessage(const std::string& text) { keys_.setPipMessage(text); }
  // Start values of the key state, as when the window loads (the next Function+Pip is a first).
  void windowLoaded();

  // Paints FunctionA and the sixteen camera keys from the key state: armed grey
  // RGB(128, 128, 128) while the function shift / camera assignment is on, else the window's
  // current background colour. Runs after every change of the key state and when the palette
  // changes.
  void repaintKeyColours();

  // Shows what a status frame says: the camera lamp's place, lamps Lux2 to Lux6, the colour
  // of the four screen keys and the zoom key, a beep.
  void applyIndicators(const Indicators& indicators);

  // Enter: clicks the default key Uno, unless another of the panel's keys holds the focus (that
  // key takes Enter itself). Returns whether Uno was clicked.
  bool activateDefaultKey();
  // Camera n (1 to 16) on the main monitor whatever is armed (PanelKeys::selectCamera).
  void selectCamera(int n) { keys_.selectCamera(n); }
  // Whether a key handling waits for the panel's message box (the Function+Pip reset) to close.
  bool waitsForMessage() const { return messageShown_; }

  PanelKey* key(const QString& name) const { return keysByName_.value(name); }
  QWidget* lampWidget(Lamp lamp) const;
  QTimer* repeatTimer(RepeatTimer timer) const;
  // The window's current background colour, as the keys are painted with it.
  QColor backgroundColour() const;

 protected:
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // PanelHost
  void keyPress(std::int16_t code) override;
  bool canSend(std::size_t count) override;
  bool lampVisible(Lamp lamp) override;
  void hideLamp(Lamp lamp) override;
  void moveCameraLamp(int leftTwips) override;
  void togglePort() override;
  void showMessage(const std::string& text) override;
  void setRepeatTimer(RepeatTimer timer, bool enabled) override;
  void keyStateChanged() override;

  void build();
  void paintStatusKeys();
  // The key's accessible description from the state it shows now.
  void describe(PanelKey* key);
  void showLamp(Lamp lamp, bool lit);

  FrontPanelHooks hooks_;
  PanelKeys keys_;
  QHash<QString, PanelKey*> keysByName_;
  PanelKey* functionKey_ = nullptr;
  PanelKey* defaultKey_ = nullptr;
  std::array<PanelKey*, 16> cameraKeys_{};
  std::array<PanelLamp*, 6> lamps_{};
  std::array<QTimer*, 4> timers_{};

  // The five keys the device's status paints, and whether it last said red.
  struct StatusKey {
    PanelKey* key = nullptr;
    bool red = false;
  };
  std::array<StatusKey, 5> statusKeys_{};  // SediciScreen, NoveScreen, QuattroScreen, Pip, zoom
  int cameraOnMonitor_ = 0;
  bool messageShown_ = false;  // the camera whose key is under the camera lamp, 0 for none

  // A label as painted: its place in twips and in logical pixels, and its font fitted there.
  struct Caption {
    QRectF twips;
    QRectF rect;
    QString text;
    QFont font;
    QColor colour;
    int flags = 0;
  };
  std::vector<Caption> captions_;
};

}  // namespace vqx
