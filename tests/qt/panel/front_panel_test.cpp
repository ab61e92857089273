// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The drawn panel's widgets wired to the key handling: which mouse button does what on which
// key, the colours and lamps, the held keys, and the sequence lamp as the keys see it.
#include "qt/panel/front_panel.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

#include "panel/panel_layout.h"
#include "qt/panel/panel_widgets.h"

namespace vqx {
namespace {

using namespace std::string_literals;

class FrontPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FrontPanelHooks hooks;
    hooks.keyPress = [this](std::int16_t& code) { sent += static_cast<char>(code); };
    hooks.togglePort = [this] { sent += "<toggle>"; };
    hooks.showMessage = [this](const std::string& text) { sent += "<" + text + ">"; };
    hooks.beep = [this] { sent += "<beep>"; };
    panel = new FrontPanel(hooks, &window);
  }
  PanelKey* key(const char* name) { return panel->key(QString::fromLatin1(name)); }
  QWidget* lamp(Lamp l) { return panel->lampWidget(l); }
  void press(const char* name, Qt::MouseButton button) { QTest::mousePress(key(name), button); }
  void release(const char* name, Qt::MouseButton button) { QTest::mouseRelease(key(name), button); }
  void tap(const char* name, Qt::MouseButton button) {
    press(name, button);
    release(name, button);
  }
  // The colour a key shows on the screen, in the middle of its face.
  QColor face(const char* name) {
    const QImage image = key(name)->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
  }
  std::string take() { return std::exchange(sent, {}); }

  QWidget window;
  FrontPanel* panel = nullptr;
  std::string sent;
  const QColor grey{128, 128, 128}, red{255, 0, 0};
};

TEST_F(FrontPanelTest, EachMouseButtonOnEachKindOfKey) {
  const struct {
    const char* key;
    Qt::MouseButton button;
    std::string sent;
  } presses[] = {
      {"Pip", Qt::RightButton, "/PP"},       {"QuattroScreen", Qt::MiddleButton, "/22"},
      {"NoveScreen", Qt::LeftButton, "/33"}, {"SediciScreen", Qt::RightButton, "/44/44"},
      {"FunctionA", Qt::LeftButton, "/AT"},  {"FunctionA", Qt::MiddleButton, ""},
      {"FullScreen", Qt::LeftButton, "/FZ"}, {"FullScreen", Qt::RightButton, ""},
      {"Live", Qt::LeftButton, "/LV"},       {"Tape", Qt::LeftButton, "/TP"},
      {"Sequence", Qt::LeftButton, "/SQ"},   {"Call", Qt::MiddleButton, ""},
      {"Cinque", Qt::RightButton, ""},       {"Cinque", Qt::LeftButton, "/X5"},
  };
  for (const auto& p : presses) {
    tap(p.key, p.button);
    EXPECT_EQ(take(), p.sent) << p.key << " button " << p.button;
  }
  std::string cameras;
  for (int n = 1; n <= 16; ++n) {
    QTest::mouseClick(key(std::string(layout::cameraKeyName(n)).c_str()), Qt::LeftButton);
    cameras += take();
  }
  EXPECT_EQ(cameras, "/X1/X2/X3/X4/X5/X6/X7/X8/X9/XA/XB/XC/XD/XE/XF/16");
  QString order;  // the keyboard's focus order, from FunctionA
  for (QWidget* w = key("FunctionA"); order.count(' ') < 26; w = w->nextInFocusChain()) {
    order += w->objectName() + ' ';
  }
  EXPECT_EQ(order.toStdString(),
            "FunctionA FullScreen QuattroScreen Pip NoveScreen SediciScreen Live Tape Sequence Call "
            "Uno Due Tre Quattro Sei Otto Nove Dieci Undici Dodici Tredici Quattordici Quindici "
            "Sedici Sette Cinque ");
  for (RepeatTimer t : {RepeatTimer::TimerUp, RepeatTimer::TimerDown, RepeatTimer::TimerLeft,
                        RepeatTimer::TimerRight}) {
    EXPECT_FALSE(panel->repeatTimer(t)->isActive()) << "every release stopped its timer";
  }
}

TEST_F(FrontPanelTest, ArmedStatesTurnTheirKeysGreyAndTheDeviceTurnsItsKeysRed) {
  EXPECT_EQ(face("FunctionA"), panel->backgroundColour());
  tap("FunctionA", Qt::RightButton);
  EXPECT_EQ(face("FunctionA"), grey);
  tap("QuattroScreen", Qt::RightButton);  // consumes the shift: its function variant
  EXPECT_EQ(face("FunctionA"), panel->backgroundColour());
  EXPECT_EQ(face("Uno"), panel->backgroundColour());
  tap("NoveScreen", Qt::RightButton);
  EXPECT_EQ(face("Uno"), grey);
  EXPECT_EQ(face("Sedici"), grey);

  Indicators status;
  status.cameraLampLeft = 7560;
  status.liveLamp = status.functionLamp = status.pipRed = status.noveScreenRed = true;
  status.beep = true;
  panel->applyIndicators(status);
  EXPECT_EQ(lamp(Lamp::Lux)->x(), 7560 / 15);
  EXPECT_FALSE(lamp(Lamp::Lux2)->isHidden());
  EXPECT_FALSE(lamp(Lamp::Lux6)->isHidden());
  EXPECT_TRUE(lamp(Lamp::Lux3)->isHidden());
  EXPECT_EQ(face("Pip"), red);
  EXPECT_EQ(face("NoveScreen"), red);
  EXPECT_EQ(face("QuattroScreen"), panel->backgroundColour());
  EXPECT_EQ(take(), "/\x00\x01/AD/33/33<beep>"s);

  // The window's new colour reaches every key in the background colour, and only those.
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, QColor(10, 200, 30));
  window.setPalette(palette);
  EXPECT_EQ(face("QuattroScreen"), QColor(10, 200, 30));
  EXPECT_EQ(face("FunctionA"), QColor(10, 200, 30));
  EXPECT_EQ(face("Pip"), red);
  EXPECT_EQ(face("Uno"), grey);
}

// A status frame that lights the sequence lamp makes the zoom and screen keys stop the sequence.
TEST_F(FrontPanelTest, KeysSeeTheSequenceLampTheDeviceLit) {
  Indicators running;
  running.sequenceLamp = true;
  const std::pair<const char*, std::string> cases[] = {
      {"FullScreen", "/FZ/SQ"}, {"NoveScreen", "/33/SQ"}, {"QuattroScreen", "/22/SQ"}};
  for (const auto& [name, bytes] : cases) {
    panel->applyIndicators(running);
    QTest::mouseClick(key(name), Qt::LeftButton);
    EXPECT_EQ(take(), bytes) << name;
  }
  EXPECT_FALSE(lamp(Lamp::Lux4)->isHidden()) << "the 4-picture key leaves the lamp to the device";
  QTest::mouseClick(key("FullScreen"), Qt::LeftButton);
  EXPECT_TRUE(lamp(Lamp::Lux4)->isHidden());
  EXPECT_EQ(lamp(Lamp::Lux)->x(), 4920 / 15) << "zoom puts the camera lamp above camera 1";
}

TEST_F(FrontPanelTest, HeldScreenKeysRepeatUntilReleased) {
  const std::tuple<const char*, RepeatTimer, const char*> held[] = {
      {"Pip", RepeatTimer::TimerUp, "/PP"},
      {"QuattroScreen", RepeatTimer::TimerDown, "/22"},
      {"NoveScreen", RepeatTimer::TimerLeft, "/33"},
      {"SediciScreen", RepeatTimer::TimerRight, "/44"}};
  for (const auto& [name, timer, command] : held) {
    QSignalSpy ticks(panel->repeatTimer(timer), &QTimer::timeout);
    press(name, Qt::MiddleButton);
    while (ticks.count() < 3) ASSERT_TRUE(ticks.wait(20000)) << name;
    release(name, Qt::MiddleButton);
    std::string expected;
    for (int i = 0; i <= ticks.count(); ++i) expected += command;
    EXPECT_EQ(take(), expected) << name;
  }
}

TEST_F(FrontPanelTest, SecondFunctionPipStopsTheRepeatTogglesThePortAndShowsTheMessage) {
  panel->setPipMessage("Reset done");
  for (int i = 0; i < 2; ++i) {
    tap("FunctionA", Qt::RightButton);
    press("Pip", Qt::LeftButton);
    EXPECT_EQ(panel->repeatTimer(RepeatTimer::TimerUp)->isActive(), i == 0) << "stopped first";
    EXPECT_EQ(key("Pip")->isDown(), i == 0);
    release("Pip", Qt::LeftButton);
  }
  EXPECT_EQ(take(), "/\x00\x01/AU/\x00\x01/AU<toggle><Reset done>"s);
  EXPECT_TRUE(lamp(Lamp::Lux3)->isHidden());
}

}  // namespace
}  // namespace vqx
