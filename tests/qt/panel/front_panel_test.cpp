#include "qt/panel/front_panel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>

#include "panel/panel_layout.h"
#include "qt/panel/panel_widgets.h"

namespace vqx {
namespace {

using namespace std::string_literals;
using layout::toPixels;

std::string fn(char letter) {
  return "/\x00\x01/A"s + letter;
}

// A plain window holding the panel, with hooks that record what the panel asks for.
class FrontPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<QWidget>();
    FrontPanelHooks hooks;
    hooks.keyPress = [this](std::int16_t& code) { sent_.push_back(static_cast<char>(code)); };
    hooks.togglePort = [this] { ++toggles_; };
    hooks.showMessage = [this](const std::string& text) { messages_.push_back(text); };
    hooks.beep = [this] { ++beeps_; };
    panel_ = new FrontPanel(hooks, window_.get());
    window_->resize(panel_->size());
  }

  PanelKey* key(const char* name) {
    auto* k = window_->findChild<PanelKey*>(QString::fromLatin1(name));
    EXPECT_NE(k, nullptr) << name;
    return k;
  }
  QWidget* widget(const char* name) {
    auto* w = window_->findChild<QWidget*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QTimer* timer(const char* name) {
    auto* t = window_->findChild<QTimer*>(QString::fromLatin1(name));
    EXPECT_NE(t, nullptr) << name;
    return t;
  }
  QColor faceOnScreen(const char* name) {
    QWidget* k = key(name);
    const QImage image = k->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
  }
  QColor background() const { return window_->palette().color(QPalette::Window); }
  std::string take() { return std::exchange(sent_, {}); }

  std::unique_ptr<QWidget> window_;
  FrontPanel* panel_ = nullptr;
  std::string sent_;
  int toggles_ = 0;
  int beeps_ = 0;
  std::vector<std::string> messages_;
};

TEST_F(FrontPanelTest, EveryControlIsBuiltFromTheLayoutTableWithItsName) {
  EXPECT_EQ(panel_->objectName(), "panel");
  EXPECT_EQ(panel_->size(), QSize(594, 80));
  for (const layout::KeySpec& entry : layout::keys()) {
    PanelKey* k = key(std::string(entry.name).c_str());
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->geometry(), QRect(toPixels(entry.rect.left), 32, 17, 17)) << entry.name;
    EXPECT_TRUE(k->text().isEmpty());
    EXPECT_FALSE(k->toolTip().isEmpty());
    EXPECT_EQ(k->accessibleName().toStdString(), entry.accessibleName);
  }
  for (const layout::LampSpec& entry : layout::lamps()) {
    QWidget* lamp = widget(std::string(entry.name).c_str());
    ASSERT_NE(lamp, nullptr);
    EXPECT_EQ(lamp->isHidden(), !entry.visibleAtStart) << entry.name;
  }
  for (const auto* name : {"TimerUp", "TimerDown", "TimerLeft", "TimerRight"}) {
    QTimer* t = timer(name);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->interval(), 5);
    EXPECT_EQ(t->timerType(), Qt::PreciseTimer);
    EXPECT_FALSE(t->isActive());
  }
}

TEST_F(FrontPanelTest, FocusFollowsTheTable) {
  const char* order[] = {"FunctionA",    "FullScreen",  "QuattroScreen", "Pip",      "NoveScreen",
                         "SediciScreen", "Live",        "Tape",          "Sequence", "Call",
                         "Uno",          "Due",         "Tre",           "Quattro",  "Sei",
                         "Otto",         "Nove",        "Dieci",         "Undici",   "Dodici",
                         "Tredici",      "Quattordici", "Quindici",      "Sedici",   "Sette",
                         "Cinque"};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    EXPECT_EQ(key(order[i - 1])->nextInFocusChain(), key(order[i])) << order[i - 1];
  }
}

struct Press {
  const char* key;
  Qt::MouseButton button;
  std::string bytes;
};

TEST_F(FrontPanelTest, EachMouseButtonOnEachKindOfKey) {
  const Press presses[] = {
      {"Pip", Qt::LeftButton, "/PP"},
      {"Pip", Qt::RightButton, "/PP"},
      {"Pip", Qt::MiddleButton, "/PP"},
      {"QuattroScreen", Qt::LeftButton, "/22"},
      {"QuattroScreen", Qt::MiddleButton, "/22"},
      {"NoveScreen", Qt::LeftButton, "/33"},
      {"SediciScreen", Qt::MiddleButton, "/44"},
      {"FunctionA", Qt::LeftButton, "/AT"},
      {"FunctionA", Qt::MiddleButton, ""},
      {"FullScreen", Qt::RightButton, ""},
      {"FullScreen", Qt::MiddleButton, ""},
      {"Live", Qt::LeftButton, "/LV"},
      {"Live", Qt::RightButton, ""},
      {"Tape", Qt::LeftButton, "/TP"},
      {"Sequence", Qt::LeftButton, "/SQ"},
      {"Call", Qt::LeftButton, "/SL"},
      {"Call", Qt::MiddleButton, ""},
      {"Cinque", Qt::LeftButton, "/05"},
      {"Cinque", Qt::RightButton, ""},
      {"Sedici", Qt::MiddleButton, ""},
  };
  for (const Press& p : presses) {
    PanelKey* k = key(p.key);
    ASSERT_NE(k, nullptr);
    QTest::mousePress(k, p.button, {}, QPoint(8, 8));
    QTest::mouseRelease(k, p.button, {}, QPoint(8, 8));
    EXPECT_EQ(take(), p.bytes) << p.key << " button " << p.button;
  }
  for (int n = 1; n <= 16; ++n) {
    QTest::mouseClick(key(std::string(layout::cameraKeyName(n)).c_str()), Qt::LeftButton);
    EXPECT_EQ(take(), (n < 10 ? "/0" : "/1") + std::to_string(n % 10)) << n;
  }
  for (const auto* name : {"TimerUp", "TimerDown", "TimerLeft", "TimerRight"}) {
    EXPECT_FALSE(timer(name)->isActive()) << "every release stopped its timer: " << name;
  }
}

TEST_F(FrontPanelTest, RightPressOnAMultiPictureKeyStartsAssignmentAndGreysTheCameras) {
  QTest::mousePress(key("QuattroScreen"), Qt::RightButton);
  QTest::mouseRelease(key("QuattroScreen"), Qt::RightButton);
  EXPECT_EQ(take(), "/22/22");
  EXPECT_TRUE(panel_->keyState().AssignOn);
  EXPECT_EQ(faceOnScreen("Uno"), QColor(128, 128, 128));
  EXPECT_EQ(faceOnScreen("Sedici"), QColor(128, 128, 128));
  for (const auto* name : {"Cinque", "Sei", "Sette", "Otto"})
    QTest::mouseClick(key(name), Qt::LeftButton);
  EXPECT_EQ(take(), "/X5/X6/X7/X8");
  EXPECT_EQ(faceOnScreen("Uno"), background());
  EXPECT_EQ(faceOnScreen("Otto"), background());
}

TEST_F(FrontPanelTest, FunctionKeyTurnsGreyAndTheNextConsumingKeyRestoresIt) {
  EXPECT_EQ(faceOnScreen("FunctionA"), background());
  QTest::mousePress(key("FunctionA"), Qt::RightButton);
  QTest::mouseRelease(key("FunctionA"), Qt::RightButton);
  EXPECT_EQ(take(), "");
  EXPECT_TRUE(panel_->keyState().FunctionOn);
  EXPECT_EQ(faceOnScreen("FunctionA"), QColor(128, 128, 128));
  QTest::mouseClick(key("Tape"), Qt::LeftButton);
  EXPECT_EQ(take(), "/TP");
  EXPECT_EQ(faceOnScreen("FunctionA"), background());

  // A new window colour reaches the keys in the background colour.
  QPalette pal = window_->palette();
  pal.setColor(QPalette::Window, QColor(10, 200, 30));
  window_->setPalette(pal);
  EXPECT_EQ(faceOnScreen("FunctionA"), QColor(10, 200, 30));
  EXPECT_EQ(faceOnScreen("Uno"), QColor(10, 200, 30));
  EXPECT_EQ(faceOnScreen("Pip"), QColor(10, 200, 30));
}

TEST_F(FrontPanelTest, FunctionPipTwiceResetsThroughTheHooks) {
  panel_->setPipMessage("Reset done");
  for (int i = 0; i < 2; ++i) {
    QTest::mousePress(key("FunctionA"), Qt::RightButton);
    QTest::mousePress(key("Pip"), Qt::LeftButton);
    if (i == 1) {
      EXPECT_FALSE(timer("TimerUp")->isActive()) << "stopped before the box opened";
      EXPECT_FALSE(key("Pip")->isDown());
    }
    QTest::mouseRelease(key("Pip"), Qt::LeftButton);
  }
  EXPECT_EQ(take(), fn('U') + fn('U'));
  EXPECT_EQ(toggles_, 1);
  EXPECT_EQ(messages_, std::vector<std::string>{"Reset done"});
  EXPECT_TRUE(widget("Lux3")->isHidden());
  EXPECT_EQ(panel_->keyState().PipFunctionStep, 1);
}

// Counts ticks of a held key with a real event loop; the handler is connected before the spy,
// so every tick the spy sees has already sent its command.
int holdFor(QTimer* t, int ticks) {
  QSignalSpy spy(t, &QTimer::timeout);
  while (spy.count() < ticks) {
    if (!spy.wait(2000)) break;
  }
  return static_cast<int>(spy.count());
}

TEST_F(FrontPanelTest, HeldKeyRepeatsUntilReleased) {
  const struct {
    const char* key;
    const char* timer;
    const char* command;
  } held[] = {{"Pip", "TimerUp", "/PP"},
              {"QuattroScreen", "TimerDown", "/22"},
              {"NoveScreen", "TimerLeft", "/33"},
              {"SediciScreen", "TimerRight", "/44"}};
  for (const auto& h : held) {
    QTest::mousePress(key(h.key), Qt::MiddleButton);
    ASSERT_TRUE(timer(h.timer)->isActive());
    const int ticks = holdFor(timer(h.timer), 5);
    QTest::mouseRelease(key(h.key), Qt::MiddleButton);
    EXPECT_FALSE(timer(h.timer)->isActive());
    std::string expected;
    for (int i = 0; i < 1 + ticks; ++i) expected += h.command;
    EXPECT_GE(ticks, 5);
    EXPECT_EQ(take(), expected) << h.key;
  }
}

TEST_F(FrontPanelTest, HeldDownKeyStaysSilentWhileTheShiftStaysArmedWithZoomOn) {
  QTest::mouseClick(key("FullScreen"), Qt::LeftButton);
  QTest::mousePress(key("FunctionA"), Qt::RightButton);
  take();
  QTest::mousePress(key("QuattroScreen"), Qt::LeftButton);
  EXPECT_GE(holdFor(timer("TimerDown"), 3), 3);
  QTest::mouseRelease(key("QuattroScreen"), Qt::LeftButton);
  EXPECT_EQ(take(), "");
  QTest::mousePress(key("NoveScreen"), Qt::LeftButton);
  const int ticks = holdFor(timer("TimerLeft"), 2);
  QTest::mouseRelease(key("NoveScreen"), Qt::LeftButton);
  EXPECT_EQ(take().size(), 3u * ticks) << "left arrow repeats though the press sent nothing";
}

TEST_F(FrontPanelTest, EnterGoesToUnoUnlessAnotherKeyHasTheFocus) {
  auto* terminal = new QLineEdit(window_.get());  // stands for the terminal box below the panel
  terminal->setGeometry(0, 80, 100, 20);
  window_->resize(594, 100);
  window_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  terminal->setFocus();
  EXPECT_TRUE(panel_->activateDefaultKey());
  EXPECT_EQ(take(), "/01");

  key("Tape")->setFocus();
  EXPECT_FALSE(panel_->activateDefaultKey());
  QTest::keyClick(key("Tape"), Qt::Key_Return);
  EXPECT_EQ(take(), "/TP");
  key("Pip")->setFocus();
  QTest::keyClick(key("Pip"), Qt::Key_Return);
  QTest::keyClick(key("Pip"), Qt::Key_Space);
  EXPECT_EQ(take(), "") << "keys acting on the mouse ignore the keyboard";
  key("Uno")->setFocus();
  QTest::keyClick(key("Uno"), Qt::Key_Enter);
  EXPECT_EQ(take(), "/01");
}

TEST_F(FrontPanelTest, IndicatorsPaintKeysMoveTheLampAndBeep) {
  Indicators on;
  on.cameraLampLeft = 7560;
  on.liveLamp = on.callLamp = on.sequenceLamp = on.tapeLamp = on.functionLamp = true;
  on.sediciScreenRed = on.noveScreenRed = on.quattroScreenRed = on.pipRed = on.fullScreenRed = true;
  on.beep = true;
  panel_->applyIndicators(on);
  EXPECT_EQ(widget("Lux")->x(), 504);
  for (const auto* lamp : {"Lux2", "Lux3", "Lux4", "Lux5", "Lux6"}) {
    EXPECT_FALSE(widget(lamp)->isHidden()) << lamp;
  }
  for (const auto* k : {"SediciScreen", "NoveScreen", "QuattroScreen", "Pip", "FullScreen"}) {
    EXPECT_EQ(faceOnScreen(k), QColor(255, 0, 0)) << k;
  }
  EXPECT_EQ(beeps_, 1);

  Indicators off;
  panel_->applyIndicators(off);
  EXPECT_EQ(widget("Lux")->x(), 504) << "a frame without a camera leaves the lamp";
  for (const auto* lamp : {"Lux2", "Lux3", "Lux4", "Lux5", "Lux6"}) {
    EXPECT_TRUE(widget(lamp)->isHidden()) << lamp;
  }
  for (const auto* k : {"SediciScreen", "NoveScreen", "QuattroScreen", "Pip", "FullScreen"}) {
    EXPECT_EQ(faceOnScreen(k), background()) << k;
  }
  EXPECT_EQ(beeps_, 1);

  // The zoom key puts the lamp back above camera 1.
  QTest::mouseClick(key("FullScreen"), Qt::LeftButton);
  EXPECT_EQ(widget("Lux")->x(), 328);
}

// The panel as drawn: each lamp in its colour at its place, each key's edge where its Left says.
TEST_F(FrontPanelTest, RenderingMatchesTheLayout) {
  QTest::mousePress(key("SediciScreen"), Qt::RightButton);
  QTest::mouseRelease(key("SediciScreen"), Qt::RightButton);
  QTest::mousePress(key("FunctionA"), Qt::RightButton);
  Indicators status;
  status.liveLamp = status.callLamp = status.tapeLamp = true;
  status.pipRed = status.quattroScreenRed = true;
  panel_->applyIndicators(status);
  const QImage image = panel_->grab().toImage();
  const QColor bg = background();

  for (const layout::LampSpec& entry : layout::lamps()) {
    const QPoint centre(toPixels(entry.rect.left) + toPixels(entry.rect.width) / 2,
                        toPixels(entry.rect.top) + toPixels(entry.rect.height) / 2);
    const bool lit = !widget(std::string(entry.name).c_str())->isHidden();
    const QColor expected = lit ? QColor(entry.fill.r, entry.fill.g, entry.fill.b) : bg;
    EXPECT_EQ(image.pixelColor(centre), expected) << entry.name;
  }
  for (const layout::KeySpec& entry : layout::keys()) {
    const int left = toPixels(entry.rect.left);
    const int y = toPixels(entry.rect.top) + 8;
    const QColor face = key(std::string(entry.name).c_str())->faceColour();
    EXPECT_EQ(image.pixelColor(left, y), QColor(255, 255, 255)) << entry.name << ": left edge";
    EXPECT_EQ(image.pixelColor(left + 2, y), face) << entry.name;
    EXPECT_EQ(image.pixelColor(left + 8, y), face) << entry.name;
    if (entry.role != layout::KeyRole::Camera || entry.number == 1) {
      EXPECT_EQ(image.pixelColor(left - 1, y), bg) << entry.name << ": left of the key";
    }
  }
  EXPECT_EQ(key("FunctionA")->faceColour(), QColor(128, 128, 128));
  EXPECT_EQ(key("Pip")->faceColour(), QColor(255, 0, 0));
  EXPECT_EQ(key("Nove")->faceColour(), QColor(128, 128, 128));
  EXPECT_EQ(key("Live")->faceColour(), bg);
  // A pictogram outline: the top edge of Shape1 above the zoom key.
  EXPECT_EQ(image.pixelColor(toPixels(720) + 5, 0), QColor(0, 0, 0));
}

}  // namespace
}  // namespace vqx
