#include <gtest/gtest.h>

#include "gdi_test_helpers.h"

using gdi_test::Canvas;
using gdi_test::MakeInfo;
using gdi_test::MonoCanvas;

namespace {

// A row of grey levels v[0], v[1] ... in a 32-bit canvas.
void PutRow(Canvas& c, int y, std::vector<int> v) {
  for (std::size_t x = 0; x < v.size(); ++x) SetPixelV(c.dc, static_cast<int>(x), y, RGB(v[x], v[x], v[x]));
}
std::vector<int> GetRow(Canvas& c, int y, int n) {
  std::vector<int> out;
  for (int x = 0; x < n; ++x) out.push_back(GetRValue(GetPixel(c.dc, x, y)));
  return out;
}

TEST(GdiStretch, ColorOnColorDropsAndRepeatsColumns) {
  Canvas src(4, 1, 32);
  PutRow(src, 0, {10, 20, 30, 40});
  struct Case {
    int width;
    std::vector<int> expected;
  } cases[] = {{2, {10, 30}}, {8, {10, 10, 20, 20, 30, 30, 40, 40}}, {3, {10, 20, 30}}, {1, {10}}};
  for (const Case& c : cases) {
    Canvas dst(c.width, 1, 32);
    SetStretchBltMode(dst.dc, COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, c.width, 1, src.dc, 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(GetRow(dst, 0, c.width), c.expected) << c.width;
  }
}

TEST(GdiStretch, BlackOnWhiteKeepsBlackAndWhiteOnBlackKeepsWhiteWhenShrinking) {
  MonoCanvas src({"1011", "1111"});
  struct Case {
    int mode;
    COLORREF left, right;
  } cases[] = {{BLACKONWHITE, RGB(0, 0, 0), RGB(255, 255, 255)},
               {WHITEONBLACK, RGB(255, 255, 255), RGB(255, 255, 255)},
               {COLORONCOLOR, RGB(255, 255, 255), RGB(255, 255, 255)}};
  for (const Case& c : cases) {
    MonoCanvas dst({"00"});
    SetStretchBltMode(dst.dc, c.mode);
    ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(GetPixel(dst.dc, 0, 0), c.left) << c.mode;
    EXPECT_EQ(GetPixel(dst.dc, 1, 0), c.right) << c.mode;
  }
}

TEST(GdiStretch, HalftoneAveragesTheSourceArea) {
  Canvas src(4, 2, 32);
  PutRow(src, 0, {0, 100, 200, 200});
  PutRow(src, 1, {40, 60, 0, 0});
  Canvas dst(2, 1, 32);
  SetStretchBltMode(dst.dc, HALFTONE);
  SetBrushOrgEx(dst.dc, 0, 0, nullptr);
  ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 4, 2, SRCCOPY));
  EXPECT_EQ(GetRow(dst, 0, 2), (std::vector<int>{50, 100}));
  // Three source pixels onto two: each destination pixel covers one and a half.
  Canvas three(3, 1, 32), two(2, 1, 32);
  PutRow(three, 0, {0, 90, 180});
  SetStretchBltMode(two.dc, HALFTONE);
  StretchBlt(two.dc, 0, 0, 2, 1, three.dc, 0, 0, 3, 1, SRCCOPY);
  EXPECT_EQ(GetRow(two, 0, 2), (std::vector<int>{30, 150}));
}

TEST(GdiStretch, HalftoneIntoAPaletteLandsOnTheNearestEntry) {
  Canvas src(2, 1, 24);
  PutRow(src, 0, {0, 250});
  Canvas dst(1, 1, 8, {RGB(0, 0, 0), RGB(120, 120, 120), RGB(255, 255, 255)});
  SetStretchBltMode(dst.dc, HALFTONE);
  StretchBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(static_cast<const BYTE*>(dst.bits)[0], 1);
}

TEST(GdiStretch, NegativeExtentsMirror) {
  Canvas src(3, 2, 32);
  PutRow(src, 0, {1, 2, 3});
  PutRow(src, 1, {4, 5, 6});
  struct Case {
    int x, y, w, h;
    std::vector<int> top, bottom;
  } cases[] = {
      {2, 0, -3, 2, {3, 2, 1}, {6, 5, 4}},  // mirrored left to right
      {0, 1, 3, -2, {4, 5, 6}, {1, 2, 3}},  // upside down
      {2, 1, -3, -2, {6, 5, 4}, {3, 2, 1}},
  };
  for (const Case& c : cases) {
    Canvas dst(3, 2, 32);
    ASSERT_TRUE(StretchBlt(dst.dc, c.x, c.y, c.w, c.h, src.dc, 0, 0, 3, 2, SRCCOPY));
    EXPECT_EQ(GetRow(dst, 0, 3), c.top) << c.w << "," << c.h;
    EXPECT_EQ(GetRow(dst, 1, 3), c.bottom) << c.w << "," << c.h;
  }
}

TEST(GdiStretchDIBits, DrawsABottomUpDibUprightAndMirrorsOnNegativeExtents) {
  // A 2x2 8-bit DIB, bottom-up: memory line 0 is the bottom row (indexes 2, 3), line 1 the top (0, 1).
  auto info = MakeInfo(2, 2, 8, {RGB(10, 10, 10), RGB(20, 20, 20), RGB(30, 30, 30), RGB(40, 40, 40)});
  const BYTE bits[8] = {2, 3, 0, 0, 0, 1, 0, 0};
  auto* bmi = reinterpret_cast<BITMAPINFO*>(&info);
  struct Case {
    int x, y, w, h;
    std::vector<int> top, bottom;
  } cases[] = {
      {0, 0, 2, 2, {10, 20}, {30, 40}},
      {1, 0, -2, 2, {20, 10}, {40, 30}},
      {0, 1, 2, -2, {30, 40}, {10, 20}},
      {0, 0, 4, 4, {10, 10}, {10, 10}},  // rows 0 and 1 of a 4x4 enlargement
  };
  for (const Case& c : cases) {
    Canvas dst(2, 2, 32);
    SetStretchBltMode(dst.dc, COLORONCOLOR);
    EXPECT_EQ(StretchDIBits(dst.dc, c.x, c.y, c.w, c.h, 0, 0, 2, 2, bits, bmi, DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(GetRow(dst, 0, 2), c.top) << c.w << "," << c.h;
    EXPECT_EQ(GetRow(dst, 1, 2), c.bottom) << c.w << "," << c.h;
  }
}

TEST(GdiStretchDIBits, SourceRowsOfABottomUpDibCountFromTheBottom) {
  auto info = MakeInfo(1, 3, 8, {RGB(10, 10, 10), RGB(20, 20, 20), RGB(30, 30, 30)});
  const BYTE bits[12] = {0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0};  // bottom 10, middle 20, top 30
  Canvas dst(1, 1, 32);
  StretchDIBits(dst.dc, 0, 0, 1, 1, 0, 0, 1, 1, bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(10, 10, 10));
  StretchDIBits(dst.dc, 0, 0, 1, 1, 0, 2, 1, 1, bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(30, 30, 30));
  EXPECT_EQ(
      SetDIBitsToDevice(dst.dc, 0, 0, 1, 1, 0, 1, 0, 3, bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 3);
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(20, 20, 20));
}

}  // namespace
