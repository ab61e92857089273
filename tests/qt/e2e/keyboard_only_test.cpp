// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program as an operator uses it who cannot or will not use the mouse: the keyboard alone.
// (What a screen reader hears is screen_reader_test.py's.)
#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include "qt/app/terminal_text_box.h"
#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"
#include "qt/support/window_rig.h"

namespace vqx {
namespace {

using testing::waitFor;

// A key as the keyboard gives it: to an open menu, else to the widget with the focus, else to
// the active window; nowhere when no window of the program is active.
// A digit's key types its digit, Ctrl or not, as a desktop's keyboard gives it.
void key(QEvent::Type type, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* to = QApplication::activePopupWidget();
  if (to == nullptr) to = QApplication::focusWidget();
  if (to == nullptr) to = QApplication::activeWindow();
  const bool digit = code >= Qt::Key_0 && code <= Qt::Key_9;
  QKeyEvent event(type, code, modifiers, digit ? QString(QChar(code)) : QString());
  if (to != nullptr) QApplication::sendEvent(to, &event);
}

void typeKey(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  key(QEvent::KeyPress, code, modifiers);
  key(QEvent::KeyRelease, code, modifiers);
}

TEST(KeyboardOnly, ACameraALayoutAndThePortSettingsWithoutTheMouse) {
  testing::PseudoTerminal pty;
  testing::WindowRig rig(pty.path());
  MainWindow& window = rig.load();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

  // Camera 12: Ctrl held, 1 and 2 typed, even where typed characters go to the line. The key
  // says so to the eye and to the ear.
  const PanelKey* twelve = window.panel()->key("Dodici");
  EXPECT_TRUE(twelve->toolTip().endsWith("Keyboard: hold Ctrl and type 12."));
  EXPECT_TRUE(twelve->accessibleDescription().endsWith("Keyboard: hold Ctrl and type 12."));
  window.terminalBox()->setFocus();
  key(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
  typeKey(Qt::Key_1, Qt::ControlModifier);
  typeKey(Qt::Key_2, Qt::ControlModifier);
  // The four-picture key is the down arrow's.
  key(QEvent::KeyPress, Qt::Key_Down, Qt::ControlModifier);
  key(QEvent::KeyRelease, Qt::Key_Down, Qt::ControlModifier);
  key(QEvent::KeyRelease, Qt::Key_Control);
  EXPECT_EQ(pty.read(6), "/12/22");
  EXPECT_FALSE(window.panel()->key("QuattroScreen")->isDown()) << "let go with its arrow";

  // The port settings from the menu's access keys; Enter with nothing changed is OK, and the
  // same again with the next speed chosen.
  QPointer<QComboBox> speed;
  QTimer leftovers;  // a dialog still up after Enter is closed, so that the test goes on to fail
  QObject::connect(&leftovers, &QTimer::timeout, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
  });
  const auto openPortSettings = [&](int speedSteps) {
    window.activateWindow();  // as the desktop does when a dialog has closed
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    typeKey(Qt::Key_P, Qt::AltModifier);
    ASSERT_TRUE(waitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    typeKey(Qt::Key_Down);  // from "Open Port" to "Properties..."
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      speed = dialog->findChild<QComboBox*>("cboSpeed");
      ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == dialog; }));
      if (speedSteps > 0) {
        typeKey(Qt::Key_Tab);  // from the port list, past its Device... button
        typeKey(Qt::Key_Tab);
      }
      for (int i = 0; i < speedSteps; ++i) typeKey(Qt::Key_Down);
      leftovers.start(100);
      typeKey(Qt::Key_Return);
    });
    typeKey(Qt::Key_Return);
    leftovers.stop();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };
  openPortSettings(0);
  EXPECT_TRUE(speed.isNull()) << "Enter left the dialog up";
  EXPECT_EQ(rig.store.value(kAppTitle, "Properties", "Settings"), "9600,n,8,1");
  openPortSettings(1);
  EXPECT_TRUE(speed.isNull()) << "Enter left the dialog up";
  EXPECT_EQ(rig.store.value(kAppTitle, "Properties", "Settings"), "14400,n,8,1");
  EXPECT_EQ(rig.serial.settings(), "14400,n,8,1");
}

}  // namespace
}  // namespace vqx
