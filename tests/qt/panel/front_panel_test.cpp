// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The drawn panel's widgets wired to the key handling: which mouse button does what on which
// key, the keyboard's order, the colours, the lamps and what assistive technology hears of them;
// the panel as a screen at 100, 125, 150 and 200 % shows it.
#include "qt/panel/front_panel.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <map>

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
  void tap(const char* name, Qt::MouseButton button) { QTest::mouseClick(key(name), button); }
  // The colours the keys show on the screen, in the middle of their faces: "bg" the window's
  // background colour, "grey" armed, "red" lit by the device, or the colour itself.
  std::string faces(std::initializer_list<const char*> names) {
    std::string shown;
    for (const char* name : names) {
      const QImage image = key(name)->grab().toImage();
      const QColor c = image.pixelColor(image.width() / 2, image.height() / 2);
      const std::map<QRgb, std::string> named = {{panel->backgroundColour().rgb(), " bg"},
                                                 {qRgb(128, 128, 128), " grey"},
                                                 {qRgb(255, 0, 0), " red"}};
      shown += named.contains(c.rgb()) ? named.at(c.rgb()) : " " + c.name().toStdString();
    }
    return shown.substr(1);
  }
  std::string take() { return std::exchange(sent, {}); }

  QWidget window;
  FrontPanel* panel = nullptr;
  std::string sent;
};

TEST_F(FrontPanelTest, EachMouseButtonOnEachKindOfKey) {
  const auto left = Qt::LeftButton, right = Qt::RightButton, middle = Qt::MiddleButton;
  // clang-format off
  const struct { const char* key; Qt::MouseButton button; std::string sent; } presses[] = {
      {"Pip", right, "/PP"}, {"QuattroScreen", middle, "/22"}, {"NoveScreen", left, "/33"},
      {"SediciScreen", right, "/44/44"}, {"FunctionA", left, "/AT"}, {"FunctionA", middle, ""},
      {"FullScreen", left, "/FZ"}, {"FullScreen", right, ""}, {"Live", left, "/LV"},
      {"Tape", left, "/TP"}, {"Sequence", left, "/SQ"}, {"Call", middle, ""},
      {"Cinque", right, ""}, {"Cinque", left, "/X5"}};  // the 5th camera of 16 to assign
  // clang-format on
  for (const auto& p : presses) {
    tap(p.key, p.button);
    EXPECT_EQ(take(), p.sent) << p.key << " button " << p.button;
  }
  for (int n = 1; n <= 16; ++n) tap(std::string(layout::cameraKeyName(n)).c_str(), left);
  EXPECT_EQ(take(), "/X1/X2/X3/X4/X5/X6/X7/X8/X9/XA/XB/XC/XD/XE/XF/16");
  QString order;  // the keyboard's focus order, from FunctionA
  for (QWidget* w = key("FunctionA"); order.count(' ') < 26; w = w->nextInFocusChain())
    order += w->objectName() + ' ';
  EXPECT_EQ(
      order.toStdString(),
      "FunctionA FullScreen QuattroScreen Pip NoveScreen SediciScreen Live Tape Sequence Call "
      "Uno Due Tre Quattro Sei Otto Nove Dieci Undici Dodici Tredici Quattordici Quindici "
      "Sedici Sette Cinque ");
  for (int t = 0; t < 4; ++t) EXPECT_FALSE(panel->repeatTimer(RepeatTimer(t))->isActive()) << t;
}

TEST_F(FrontPanelTest, ArmedStatesTurnTheirKeysGreyAndTheDeviceTurnsItsKeysRedAndMovesTheLamp) {
  // What assistive technology hears of a camera key: whether the lamp is above it.
  const auto onMonitor = [&](const char* name) {
    const QAccessibleInterface* face = QAccessible::queryAccessibleInterface(key(name));
    return face->text(QAccessible::Description).startsWith("On the main monitor");
  };
  EXPECT_EQ(faces({"FunctionA"}), "bg");
  EXPECT_TRUE(onMonitor("Uno")) << "the lamp starts above camera 1";
  EXPECT_TRUE(lamp(Lamp::Sequence)->isHidden() && lamp(Lamp::Function)->isHidden())
      << "out at first";
  tap("FunctionA", Qt::RightButton);
  EXPECT_EQ(faces({"FunctionA"}), "grey");
  tap("QuattroScreen", Qt::RightButton);  // consumes the shift: its function variant
  EXPECT_EQ(faces({"FunctionA", "Uno"}), "bg bg");
  tap("NoveScreen", Qt::RightButton);
  EXPECT_EQ(faces({"Uno", "Sedici"}), "grey grey");

  panel->applyIndicators({.cameraLampLeft = 7560,
                          .liveLamp = true,
                          .functionLamp = true,
                          .ninePicturesRed = true,
                          .pictureInPictureRed = true,
                          .beep = true});
  EXPECT_EQ(lamp(Lamp::Camera)->x(), 7560 / 15);
  EXPECT_TRUE(onMonitor("Dodici"));
  EXPECT_FALSE(onMonitor("Uno"));
  EXPECT_TRUE(!lamp(Lamp::Live)->isHidden() && !lamp(Lamp::Function)->isHidden());
  EXPECT_TRUE(lamp(Lamp::Call)->isHidden());
  EXPECT_EQ(faces({"Pip", "NoveScreen", "QuattroScreen"}), "red red bg");
  EXPECT_EQ(take(), "/\x00\x01/AD/33/33<beep>"s);

  // The window's new colour reaches every key in the background colour, and only those.
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, QColor(10, 200, 30));
  window.setPalette(palette);
  EXPECT_EQ(faces({"QuattroScreen", "FunctionA", "Pip", "Uno"}), "bg bg red grey");
  EXPECT_EQ(panel->backgroundColour(), QColor(10, 200, 30));
}

// The panel drawn as a screen of this device pixel ratio shows it, one pixel in from the image's
// corner as under a menu bar: the panel's own origin falls between device pixels at some
// ratios. dev() turns the panel's logical pixels into the image's pixels, px() twips.
struct Rendering {
  double ratio;
  QImage image;

  int dev(double logical) const { return int(std::lround((logical + 1) * ratio)); }
  int px(double twips) const { return dev(twips / layout::kTwipsPerPixel); }
  QRgb at(int x, int y) const {
    return image.valid(x, y) ? image.pixel(x, y) : qRgb(255, 255, 255);
  }
  // A dark pixel across the stroke at c (within two pixels), at position t along it.
  bool strokeAt(bool vertical, int c, int t) const {
    for (int d = -2; d <= 1; ++d)
      if (qGray(vertical ? at(c + d, t) : at(t, c + d)) < 100) return true;
    return false;
  }
  // Every pixel along a stroke from twips a to b at c, its ends aside, is dark.
  void expectStroke(const std::string& what, bool vertical, int c, int a, int b) const {
    const int end = px(std::max(a, b)) - int(std::ceil(ratio));
    int t = px(std::min(a, b)) + int(std::ceil(ratio));
    while (t < end && strokeAt(vertical, px(c), t)) ++t;
    EXPECT_GE(t, end) << what << " broken at " << t << ", ratio " << ratio;
  }
};

TEST(PanelRendering, EveryKeyEdgePictogramAndLineShowsAtEachScale) {
  FrontPanel panel({});
  const int face = qGray(panel.backgroundColour().rgb());
  const layout::LabelEntry& camera = *layout::findLabel("Label13");
  for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
    Rendering r{ratio, QImage((panel.size() + QSize(1, 1)) * ratio, QImage::Format_RGB32)};
    r.image.setDevicePixelRatio(ratio);
    r.image.fill(Qt::white);
    panel.render(&r.image, QPoint(1, 1));

    // Each key's four bevel edges: light above and left, dark below and right. A camera key's
    // right edge is where the next key, which lies over it, begins.
    const auto keys = layout::keys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const layout::KeyEntry& k = keys[i];
      const int left = layout::toPixels(k.rect.left), top = layout::toPixels(k.rect.top);
      int right = left + layout::toPixels(k.rect.width);
      if (i + 1 < keys.size()) right = std::min(right, layout::toPixels(keys[i + 1].rect.left));
      const int bottom = top + layout::toPixels(k.rect.height);
      const int midX = r.dev((left + right) / 2.0), midY = r.dev((top + bottom) / 2.0);
      const auto light = [&](QRgb p) { return qGray(p) > face + 8; };
      const auto shadow = [&](QRgb p) { return qGray(p) < face - 64; };
      // The edge in the key's outermost logical pixel, from (x, y) inwards by (dx, dy).
      const auto edge = [&](auto shade, int x, int y, int dx, int dy) {
        for (int n = 0; n < std::ceil(ratio); ++n)
          if (shade(r.at(x + n * dx, y + n * dy))) return true;
        return false;
      };
      const std::string at = std::string(k.name) + ", ratio " + std::to_string(ratio);
      EXPECT_TRUE(edge(light, r.dev(left), midY, 1, 0)) << "left edge of " << at;
      EXPECT_TRUE(edge(light, midX, r.dev(top), 0, 1)) << "top edge of " << at;
      EXPECT_TRUE(edge(shadow, r.dev(right) - 1, midY, -1, 0)) << "right edge of " << at;
      EXPECT_TRUE(edge(shadow, midX, r.dev(bottom) - 1, 0, -1)) << "bottom edge of " << at;
    }
    for (const layout::ShapeEntry& s : layout::shapes()) {
      const layout::Rect& b = s.rect;
      const std::string name(s.name);
      r.expectStroke(name + " top", false, b.top, b.left, b.left + b.width);
      r.expectStroke(name + " bottom", false, b.top + b.height, b.left, b.left + b.width);
      r.expectStroke(name + " left", true, b.left, b.top, b.top + b.height);
      r.expectStroke(name + " right", true, b.left + b.width, b.top, b.top + b.height);
    }
    for (const layout::LineEntry& l : layout::lines()) {
      const bool vertical = l.x1 == l.x2;
      const int c = vertical ? l.x1 : l.y1, a = vertical ? l.y1 : l.x1, b = vertical ? l.y2 : l.x2;
      const int labelLeft = camera.rect.left, labelRight = labelLeft + camera.rect.width;
      const bool acrossLabel = c > camera.rect.top && c < camera.rect.top + camera.rect.height;
      if (!vertical && acrossLabel && a < labelLeft && b > labelRight) {
        // Line1 shows up to the "camera" label and after it; the opaque label hides it.
        r.expectStroke(std::string(l.name), false, c, a, labelLeft);
        r.expectStroke(std::string(l.name), false, c, labelRight, b);
        for (const int x : {labelLeft + 15, labelLeft + 30, labelRight - 45, labelRight - 30})
          EXPECT_FALSE(r.strokeAt(false, r.px(c), r.px(x))) << "line inside the label at " << x;
      } else {
        r.expectStroke(std::string(l.name), vertical, c, a, b);
      }
    }
  }
}

}  // namespace
}  // namespace vqx
