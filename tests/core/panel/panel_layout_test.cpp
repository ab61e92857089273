// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/panel_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace vqx::layout {
namespace {

// The drawn panel holds together: every key, lamp and text lies on the panel; no key or lamp
// covers another by a pixel or more (the camera keys overlap by less, as the device's own do),
// nor does a text's box another's; each camera number names one camera key, at its place; and
// the keys take the focus in an order of 1 to 26, each place once.
TEST(PanelLayout, NothingCoversAnythingElseAndEachCameraNumberNamesOneCameraKey) {
  struct Placed {
    std::string_view name;
    Rect rect;
    bool text = false;
  };
  std::vector<Placed> placed;
  for (const KeyEntry& key : keys()) placed.push_back({key.name, key.rect});
  for (const LampEntry& lamp : lamps()) placed.push_back({lamp.name, lamp.rect});
  for (const LabelEntry& label : labels()) placed.push_back({label.name, label.rect, true});
  for (std::size_t i = 0; i < placed.size(); ++i) {
    const auto& [name, r, text] = placed[i];
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= kPanelWidth &&
                r.top + r.height <= kPanelHeight)
        << name;
    for (std::size_t j = 0; j < i; ++j) {
      const auto& [otherName, o, otherText] = placed[j];
      const int across = std::min(r.left + r.width, o.left + o.width) - std::max(r.left, o.left);
      const int down = std::min(r.top + r.height, o.top + o.height) - std::max(r.top, o.top);
      const bool apart = across < kTwipsPerPixel || down < kTwipsPerPixel || text != otherText;
      EXPECT_TRUE(apart) << name << " covers " << otherName;
    }
  }
  std::set<int> focusOrders;
  for (const KeyEntry& key : keys()) {
    EXPECT_TRUE(key.focusOrder >= 1 && key.focusOrder <= 26) << key.name;
    focusOrders.insert(key.focusOrder);
    const int n = key.number;
    EXPECT_EQ(key.role == KeyRole::Camera, n != 0) << key.name;
    if (n != 0) {
      EXPECT_EQ(std::pair(key.name, key.rect.left), std::pair(cameraKeyName(n), cameraLeft(n)));
    }
  }
  EXPECT_EQ(focusOrders.size(), 26u);
}

// The panel is drawn as the device's is: each lamp and each camera's number stands centred over
// its key; the texts of a row share their top and height; the brand alone is bold; each pictogram
// of a screen key has the key's width above it, and the grid lines inside run from its edge.
TEST(PanelLayout, LampsNumbersTextsAndPictogramsLineUpWithTheirKeys) {
  const auto centre = [](const Rect& r) { return 2 * r.left + r.width; };  // twice, in twips
  for (const auto& [lamp, key] : {std::pair("Lux", "Uno"), {"Lux2", "Live"}, {"Lux5", "Tape"},
                                  {"Lux4", "Sequence"}, {"Lux3", "Call"}, {"Lux6", "FunctionA"}})
    EXPECT_EQ(centre(findLamp(lamp)->rect), centre(findKey(key)->rect)) << lamp;
  std::map<int, Rect> rows;  // the first text of each row, by its top: 24, 264, 840
  for (const LabelEntry& label : labels()) {
    const Rect& r = label.rect;
    EXPECT_EQ(label.font.bold, label.name == "Label7") << label.name;
    if (label.name == "Label7") continue;
    const Rect& row = rows.try_emplace(r.top / 240 * 240, r).first->second;
    EXPECT_EQ(std::pair(r.top, r.height), std::pair(row.top, row.height)) << label.name;
    for (int n = 1; n <= 16; ++n) {
      if (label.caption != std::to_string(n)) continue;
      EXPECT_EQ(centre(r), centre(findKey(cameraKeyName(n))->rect)) << label.name;
    }
  }
  std::map<int, Rect> outlines;  // the pictograms' outlines, by their left
  for (const ShapeEntry& shape : shapes()) {
    if (shape.rect.width == kKeySize) outlines[shape.rect.left] = shape.rect;
  }
  for (const KeyEntry& key : keys()) {
    if (key.role != KeyRole::Screen && key.role != KeyRole::Zoom) continue;
    const Rect& outline = outlines.at(key.rect.left);
    EXPECT_EQ(std::pair(outline.top, outline.height), std::pair(0, kKeySize)) << key.name;
  }
  for (const LineEntry& line : lines()) {
    const auto outline = outlines.upper_bound(std::min(line.x1, line.x2));
    if (outline == outlines.begin() || line.y1 >= kKeySize) continue;  // not in a pictogram
    const Rect& o = std::prev(outline)->second;
    const bool across = line.y1 == line.y2;
    EXPECT_EQ(across ? std::pair(line.x1, line.x2) : std::pair(std::min(line.y1, line.y2),
                                                                std::max(line.y1, line.y2)),
              across ? std::pair(o.left, o.left + 240) : std::pair(0, 240)) << line.name;
  }
}

TEST(PanelLayout, TwipsRoundToTheNearestPixel) {
  EXPECT_EQ(std::vector({toPixels(7), toPixels(8), toPixels(-8)}), std::vector({0, 1, -1}));
}

}  // namespace
}  // namespace vqx::layout
