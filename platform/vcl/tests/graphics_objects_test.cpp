#include <gtest/gtest.h>

#include "vcl/graphics.h"

TEST(GraphicsObjects, FontSizeAndHeightAreOneValueAt96Dpi) {
  TFont font;
  EXPECT_EQ(font.Name(), "MS Sans Serif");
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Height(), -11);
  const struct { int size, height; } cases[] = {{8, -11}, {9, -12}, {10, -13}, {12, -16}, {14, -19}, {24, -32}};
  for (const auto& c : cases) {
    font.SetSize(c.size);
    EXPECT_EQ(font.Height(), c.height) << c.size;
    font.SetHeight(c.height);
    EXPECT_EQ(font.Size(), c.size) << c.height;
  }
}

TEST(GraphicsObjects, ChangesAreToldAndMakeANewHandle) {
  TPen pen;
  int changes = 0;
  pen.OnChange = [&](TObject*) { ++changes; };
  HPEN first = pen.Handle();
  pen.SetColor(clRed);
  pen.SetColor(clRed);  // same value: no change
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(GetObjectType(first), 0u);  // the old pen is gone
  LOGPEN lp{};
  ASSERT_EQ(GetObject(pen.Handle(), sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnColor, RGB(255, 0, 0));
}

TEST(GraphicsObjects, PublishedPropertiesReachableByName) {
  TFont font;
  SetSetProp(font, *GetPropInfo(font, "Style"), "fsBold,fsItalic");
  EXPECT_TRUE(font.Style().Contains(fsBold) && font.Style().Contains(fsItalic));
  SetOrdProp(font, *GetPropInfo(font, "Size"), 12);
  EXPECT_EQ(font.Height(), -16);
  TBrush brush;
  SetEnumProp(brush, *GetPropInfo(brush, "Style"), "bsClear");
  EXPECT_EQ(brush.Style(), bsClear);
  TPen pen;
  SetEnumProp(pen, *GetPropInfo(pen, "Mode"), "pmNotXor");
  EXPECT_EQ(PenModeToROP2(pen.Mode()), R2_NOTXORPEN);
}
