#include <gtest/gtest.h>

#include "vcl/graphics.h"

TEST(GraphicsColors, ColorToRGBResolvesSystemColoursAndKeepsTheRest) {
  const struct {
    TColor color;
    COLORREF rgb;
  } cases[] = {
      {clBtnFace, RGB(192, 192, 192)},   {clWindow, RGB(255, 255, 255)}, {clWindowText, RGB(0, 0, 0)},
      {clBtnShadow, RGB(128, 128, 128)}, {clRed, RGB(255, 0, 0)},        {0x00123456, 0x00123456},
  };
  for (const auto& c : cases) EXPECT_EQ(ColorToRGB(c.color), c.rgb) << ColorToString(c.color);
}

TEST(GraphicsColors, NamesAndNumbersConvertBothWays) {
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(0x00123456), "$00123456");
  EXPECT_EQ(StringToColor("CLRED"), clRed);
  EXPECT_EQ(StringToColor("$00123456"), 0x00123456);
  EXPECT_EQ(StringToColor("clInfoBk"), clInfoBk);
  EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
}

TEST(GraphicsColors, FormReaderFindsColourNames) {
  const TIdentToInt* identToInt = FindIdentToInt(TypeInfo_TColor);
  ASSERT_NE(identToInt, nullptr);
  std::int64_t value = 0;
  EXPECT_TRUE((*identToInt)("clWindow", value));
  EXPECT_EQ(value, clWindow);
}
