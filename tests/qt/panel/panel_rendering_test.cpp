// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The panel as a screen at 100, 125, 150 and 200 % shows it, and what it tells assistive
// technology.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QImage>
#include <cmath>
#include <string>

#include "panel/panel_layout.h"
#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"
#include "status/status_frame.h"

namespace vqx {
namespace {

using layout::toPixels;

bool dark(QRgb pixel) {
  return qGray(pixel) < 100;
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
    for (int d = -2; d <= 1; ++d) {
      if (dark(vertical ? at(c + d, t) : at(t, c + d))) return true;
    }
    return false;
  }
  // Every pixel along a stroke from twips a to b at c, its ends aside, is dark.
  void expectStroke(const std::string& what, bool vertical, int c, int a, int b) const {
    const int from = px(std::min(a, b)) + int(std::ceil(ratio));
    const int to = px(std::max(a, b)) - int(std::ceil(ratio));
    for (int t = from; t < to; ++t) {
      if (!strokeAt(vertical, px(c), t)) {
        ADD_FAILURE() << what << " broken at " << t << ", ratio " << ratio;
        return;
      }
    }
  }
};

Rendering render(QWidget& panel, double ratio) {
  QImage image((panel.size() + QSize(1, 1)) * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  panel.render(&image, QPoint(1, 1));
  return {ratio, image};
}

TEST(PanelRendering, EveryKeyEdgePictogramAndLineShowsAtEachScale) {
  FrontPanel panel({});
  const QColor face = panel.backgroundColour();
  const layout::LabelSpec& camera = *layout::findLabel("Label13");
  for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
    const Rendering r = render(panel, ratio);

    // Each key's four bevel edges: light above and left, dark below and right. A camera key's
    // right edge is where the next key, which lies over it, begins.
    const auto keys = layout::keys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const layout::KeySpec& k = keys[i];
      const int left = toPixels(k.rect.left), top = toPixels(k.rect.top);
      int right = left + toPixels(k.rect.width);
      if (i + 1 < keys.size()) right = std::min(right, toPixels(keys[i + 1].rect.left));
      const int bottom = top + toPixels(k.rect.height);
      const int midX = r.dev((left + right) / 2.0), midY = r.dev((top + bottom) / 2.0);
      const auto light = [&](QRgb p) { return qGray(p) > qGray(face.rgb()) + 8; };
      const auto shadow = [&](QRgb p) { return qGray(p) < qGray(face.rgb()) - 64; };
      // The edge in the key's outermost logical pixel, from (x, y) inwards by (dx, dy).
      const auto edge = [&](auto shade, int x, int y, int dx, int dy) {
        for (int n = 0; n < std::ceil(ratio); ++n) {
          if (shade(r.at(x + n * dx, y + n * dy))) return true;
        }
        return false;
      };
      const std::string at = std::string(k.name) + ", ratio " + std::to_string(ratio);
      EXPECT_TRUE(edge(light, r.dev(left), midY, 1, 0)) << "left edge of " << at;
      EXPECT_TRUE(edge(light, midX, r.dev(top), 0, 1)) << "top edge of " << at;
      EXPECT_TRUE(edge(shadow, r.dev(right) - 1, midY, -1, 0)) << "right edge of " << at;
      EXPECT_TRUE(edge(shadow, midX, r.dev(bottom) - 1, 0, -1)) << "bottom edge of " << at;
    }

    for (const layout::ShapeSpec& s : layout::shapes()) {
      const layout::Rect& b = s.rect;
      const std::string name(s.name);
      r.expectStroke(name + " top", false, b.top, b.left, b.left + b.width);
      r.expectStroke(name + " bottom", false, b.top + b.height, b.left, b.left + b.width);
      r.expectStroke(name + " left", true, b.left, b.top, b.top + b.height);
      r.expectStroke(name + " right", true, b.left + b.width, b.top, b.top + b.height);
    }
    for (const layout::LineSpec& l : layout::lines()) {
      const bool vertical = l.x1 == l.x2;
      const int c = vertical ? l.x1 : l.y1;
      const int a = vertical ? l.y1 : l.x1, b = vertical ? l.y2 : l.x2;
      const int labelLeft = camera.rect.left, labelRight = labelLeft + camera.rect.width;
      const bool acrossLabel = c > camera.rect.top && c < camera.rect.top + camera.rect.height;
      if (!vertical && acrossLabel && a < labelLeft && b > labelRight) {
        // Line1 shows up to the "camera" label and after it; the opaque label hides it.
        r.expectStroke(std::string(l.name), false, c, a, labelLeft);
        r.expectStroke(std::string(l.name), false, c, labelRight, b);
        for (const int x : {labelLeft + 15, labelLeft + 30, labelRight - 45, labelRight - 30}) {
          EXPECT_FALSE(r.strokeAt(false, r.px(c), r.px(x))) << "line inside the label at " << x;
        }
      } else {
        r.expectStroke(std::string(l.name), vertical, c, a, b);
      }
    }
  }
}

QString description(FrontPanel& panel, const char* key) {
  return QAccessible::queryAccessibleInterface(panel.key(key))->text(QAccessible::Description);
}

TEST(PanelAccessibility, CameraKeyUnderTheLampSaysItIsOnTheMainMonitor) {
  FrontPanel panel({});
  const auto onMonitor = [&](const char* key) {
    return description(panel, key).startsWith("On the main monitor");
  };
  const QString before = description(panel, "Cinque");
  EXPECT_TRUE(onMonitor("Uno")) << "the lamp starts above camera 1";
  panel.applyIndicators(decodeStatusFrame({0xEF, 0x7F, 0x7F, 0x3F}));  // camera 5
  EXPECT_TRUE(onMonitor("Cinque")) << description(panel, "Cinque").toStdString();
  EXPECT_FALSE(onMonitor("Uno"));
  panel.applyIndicators(decodeStatusFrame({0xFF, 0x77, 0x7F, 0x3F}));  // camera 12
  EXPECT_EQ(description(panel, "Cinque"), before);
  EXPECT_TRUE(onMonitor("Dodici"));
}

}  // namespace
}  // namespace vqx
