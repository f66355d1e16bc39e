#include <gtest/gtest.h>

#include "gdi_test_helpers.h"

using gdi_test::Canvas;
using gdi_test::MonoCanvas;

namespace {

// A 3x1 icon: pixel 0 opaque red, pixel 1 transparent, pixel 2 inverts (mask 1, image white).
struct TestIcon {
  TestIcon() : mask({"011"}), image(3, 1, 24) {
    SetPixelV(image.dc, 0, 0, RGB(255, 0, 0));
    SetPixelV(image.dc, 2, 0, RGB(255, 255, 255));
    SelectObject(mask.dc, mask.old);  // an icon is made from bitmaps in no DC
    SelectObject(image.dc, image.old);
    ICONINFO info{TRUE, 0, 0, mask.bitmap, image.bitmap};
    icon = CreateIconIndirect(&info);
    SelectObject(mask.dc, mask.bitmap);
    SelectObject(image.dc, image.bitmap);
  }
  ~TestIcon() { DestroyIcon(icon); }
  MonoCanvas mask;
  Canvas image;
  HICON icon = nullptr;
};

TEST(GdiIcon, DrawingAppliesTheMaskThenTheImage) {
  TestIcon t;
  ASSERT_NE(t.icon, nullptr);
  struct Case {
    UINT flags;
    COLORREF expected[3];
  } cases[] = {
      {DI_NORMAL, {RGB(255, 0, 0), RGB(10, 20, 30), RGB(245, 235, 225)}},
      {DI_MASK, {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 255)}},
      {DI_IMAGE, {RGB(255, 0, 0), RGB(0, 0, 0), RGB(255, 255, 255)}},
  };
  for (const Case& c : cases) {
    Canvas dst(3, 1, 24);
    dst.Fill(RGB(10, 20, 30));
    SetTextColor(dst.dc, RGB(7, 7, 7));  // the DC's colours do not colour the mask
    ASSERT_TRUE(DrawIconEx(dst.dc, 0, 0, t.icon, 0, 0, 0, nullptr, c.flags));
    for (int x = 0; x < 3; ++x) EXPECT_EQ(GetPixel(dst.dc, x, 0), c.expected[x]) << c.flags << " x " << x;
    EXPECT_EQ(GetTextColor(dst.dc), RGB(7, 7, 7));
  }
}

TEST(GdiIcon, StretchesToTheGivenSizeAndHandsOutCopiesOfItsBitmaps) {
  TestIcon t;
  Canvas dst(6, 2, 24);
  dst.Fill(RGB(0, 0, 255));
  ASSERT_TRUE(DrawIconEx(dst.dc, 0, 0, t.icon, 6, 2, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(GetPixel(dst.dc, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dst.dc, 3, 0), RGB(0, 0, 255));
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(t.icon, &info));
  EXPECT_NE(info.hbmMask, t.mask.bitmap);
  BITMAP bm{};
  GetObject(info.hbmColor, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 3);
  EXPECT_TRUE(DeleteObject(info.hbmMask));
  EXPECT_TRUE(DeleteObject(info.hbmColor));
  HICON copy = CopyIcon(t.icon);
  EXPECT_TRUE(DestroyIcon(copy));
  EXPECT_FALSE(DestroyIcon(copy));
}

}  // namespace
