// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/panel_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(PanelLayout, TwipsRoundToTheNearestPixel) {
  EXPECT_EQ(std::vector({toPixels(7), toPixels(8), toPixels(-8)}), std::vector({0, 1, -1}));
}

}  // namespace
}  // namespace vqx::layout
