#include <gtest/gtest.h>

#include "slots/about_texts.h"
#include "slots/swap_picture.h"

namespace {

TEST(AboutTexts, SixteenBitsAtEightHundredBySixHundredAndEightBits) {
  EXPECT_EQ(AboutResolutionText(16, 800, 600), "16 bits, 800 x 600");
  EXPECT_EQ(AboutWarningText(16), "Perfect! You're running this program in an optimal grafical environment.");
  EXPECT_EQ(AboutWarningText(15), "Remember: this program looks and works best in at least 16 bit colors !");
  EXPECT_EQ(AboutWarningText(8), "Remember: this program looks and works best in at least 16 bit colors !");
}

TEST(SwapHover, TheTabsSwitchPagesOnlyOverTheOtherTab) {
  struct Case {
    int x, y;
    TSwapPage active, expected;
  };
  const Case cases[] = {
      {62, 10, spFiles, spDirectory},      {63, 10, spFiles, spFiles},         {1, 20, spFiles, spDirectory},
      {0, 10, spFiles, spFiles},           {62, 21, spFiles, spFiles},         {62, 0, spFiles, spFiles},
      {63, 10, spDirectory, spDirectory},  {64, 10, spDirectory, spFiles},     {119, 1, spDirectory, spFiles},
      {120, 10, spDirectory, spDirectory}, {30, 10, spDirectory, spDirectory}, {80, 10, spFiles, spFiles},
  };
  for (const Case& c : cases)
    EXPECT_EQ(HoverPage(c.x, c.y, c.active), c.expected) << c.x << "," << c.y << " from " << c.active;
}

}  // namespace
