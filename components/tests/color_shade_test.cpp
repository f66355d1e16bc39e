#include <gtest/gtest.h>

#include "components/color_shade.h"

namespace {

struct ShadeCase {
  TColor color;
  int percent;
  TColor expected;
};

TEST(ShadeColor, MovesEachChannelTowardsWhiteOrBlackTruncated) {
  const ShadeCase cases[] = {
      {RGB(255, 255, 0), 80, RGB(255, 255, 204)}, {RGB(255, 255, 0), -80, RGB(51, 51, 0)},
      {RGB(1, 1, 1), -80, RGB(1, 1, 1)},  // -0.8 truncates to 0
      {RGB(10, 20, 30), 0, RGB(10, 20, 30)},      {RGB(10, 20, 30), 100, RGB(255, 255, 255)},
      {RGB(10, 20, 30), -100, RGB(0, 0, 0)},      {RGB(0, 100, 200), 50, RGB(127, 177, 227)},
  };
  for (const ShadeCase& c : cases)
    EXPECT_EQ(ShadeColor(c.color, c.percent), c.expected) << std::hex << c.color << " " << std::dec << c.percent;
}

TEST(ShadeColor, ResolvesSystemColoursFirst) {
  const COLORREF face = ColorToRGB(clBtnFace);
  EXPECT_EQ(ShadeColor(clBtnFace, 0), static_cast<TColor>(face));
  EXPECT_EQ(ShadeColor(clBtnFace, 100), RGB(255, 255, 255));
}

}  // namespace
