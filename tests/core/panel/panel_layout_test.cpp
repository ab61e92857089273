#include "panel/panel_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "panel/commands.h"

namespace vqx::layout {
namespace {

TEST(PanelLayout, KeysAreTheTwentySixSquareKeysInTheirFocusOrder) {
  ASSERT_EQ(keys().size(), 26u);
  std::set<std::string_view> names;
  std::vector<int> focus;
  for (const KeySpec& k : keys()) {
    names.insert(k.name);
    focus.push_back(k.focusOrder);
    EXPECT_EQ(k.rect.top, 480) << k.name;
    EXPECT_EQ(k.rect.width, 252) << k.name;
    EXPECT_EQ(k.rect.height, 252) << k.name;
    EXPECT_FALSE(k.accessibleName.empty()) << k.name;
    EXPECT_FALSE(k.toolTip.empty()) << k.name;
  }
  EXPECT_EQ(names.size(), 26u);
  std::sort(focus.begin(), focus.end());
  for (int i = 0; i < 26; ++i) EXPECT_EQ(focus[i], i + 1);

  const std::pair<const char*, int> focusOf[] = {
      {"FunctionA", 1}, {"FullScreen", 2}, {"QuattroScreen", 3}, {"Pip", 4},
      {"Call", 10},     {"Uno", 11},       {"Quattro", 14},      {"Sei", 15},
      {"Otto", 16},     {"Sedici", 24},    {"Sette", 25},        {"Cinque", 26}};
  for (const auto& [name, order] : focusOf) EXPECT_EQ(findKey(name)->focusOrder, order) << name;
}

TEST(PanelLayout, CameraKeysAndLabelsStandInARow) {
  ASSERT_EQ(labels().size(), 28u);
  std::set<std::string_view> labelNames;
  for (const LabelSpec& label : labels()) {
    EXPECT_FALSE(label.caption.empty());
    labelNames.insert(label.name);
  }
  EXPECT_EQ(labelNames.size(), 28u);
  const std::pair<const char*, int> lefts[] = {{"Uno", 4920},          {"Otto", 6600},
                                               {"Nove", 6840},         {"Sedici", 8520},
                                               {"SediciScreen", 2160}, {"Sequence", 3600}};
  for (const auto& [name, left] : lefts) EXPECT_EQ(findKey(name)->rect.left, left) << name;
  for (int n = 1; n <= 16; ++n) {
    const KeySpec* key = findKey(cameraKeyName(n));
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->number, n);
    EXPECT_EQ(key->accessibleName, "Camera " + std::to_string(n));
  }
  for (int k = 2; k <= 16; ++k) {
    const LabelSpec* label = findLabel("Label" + std::to_string(14 + k));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->caption, std::to_string(k));
    EXPECT_EQ(label->rect.left, 5160 + 240 * (k - 2));
  }
  EXPECT_EQ(findLabel("Label1")->caption, "  function zoom     ");
  EXPECT_EQ(findLabel("Label2")->caption, "\u25B2");
  EXPECT_EQ(findLabel("Label5")->caption, "\u25B6");
  EXPECT_TRUE(findLabel("Label7")->font.bold);
}

TEST(PanelLayout, LampsAndPictograms) {
  ASSERT_EQ(lamps().size(), 6u);
  EXPECT_EQ(findLamp("Lux6")->fill, kGreen);
  EXPECT_FALSE(findLamp("Lux4")->visibleAtStart);
  EXPECT_FALSE(findLamp("Lux6")->visibleAtStart);
  EXPECT_TRUE(findLamp("Lux3")->visibleAtStart);
  EXPECT_EQ(shapes().size(), 8u);
  EXPECT_EQ(lines().size(), 12u);
  EXPECT_EQ(toPixels(4920), 328);
  EXPECT_EQ(toPixels(252), 17);
  EXPECT_EQ(toPixels(264), 18);
  EXPECT_EQ(toRgb(kArmedGrey), (Rgb{128, 128, 128}));
  EXPECT_EQ(toRgb(kStatusRed), kRed);
}

TEST(Commands, CameraCharactersAndFunctionVariants) {
  EXPECT_EQ(command::cameraCharacter(9), '9');
  EXPECT_EQ(command::cameraCharacter(10), 'A');
  EXPECT_EQ(command::cameraCharacter(16), 'G');
  EXPECT_THROW(command::cameraCharacter(17), std::out_of_range);
  const std::string af = command::functionVariant('F');
  EXPECT_EQ(af, std::string("/\x00\x01/AF", 6));
}

}  // namespace
}  // namespace vqx::layout
