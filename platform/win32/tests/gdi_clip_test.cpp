#include <gtest/gtest.h>

#include "gdi_test_helpers.h"

using gdi_test::Canvas;

namespace {

TEST(GdiRegion, CombineReportsTheKindOfTheResult) {
  struct Case {
    RECT a, b;
    int mode, kind;
    RECT box;
  } cases[] = {
      {{0, 0, 4, 4}, {2, 2, 6, 6}, RGN_AND, SIMPLEREGION, {2, 2, 4, 4}},
      {{0, 0, 4, 4}, {2, 2, 6, 6}, RGN_OR, COMPLEXREGION, {0, 0, 6, 6}},
      {{0, 0, 4, 4}, {0, 2, 4, 6}, RGN_OR, SIMPLEREGION, {0, 0, 4, 6}},  // merged into one rectangle
      {{0, 0, 4, 4}, {4, 0, 8, 4}, RGN_OR, SIMPLEREGION, {0, 0, 8, 4}},
      {{0, 0, 4, 4}, {5, 5, 6, 6}, RGN_AND, NULLREGION, {0, 0, 0, 0}},
      {{0, 0, 4, 4}, {0, 0, 4, 4}, RGN_XOR, NULLREGION, {0, 0, 0, 0}},
      {{0, 0, 4, 4}, {1, 1, 3, 3}, RGN_DIFF, COMPLEXREGION, {0, 0, 4, 4}},
      {{0, 0, 4, 4}, {0, 0, 2, 4}, RGN_DIFF, SIMPLEREGION, {2, 0, 4, 4}},
  };
  for (const Case& c : cases) {
    HRGN a = CreateRectRgnIndirect(&c.a), b = CreateRectRgnIndirect(&c.b), out = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(out, a, b, c.mode), c.kind) << c.mode;
    RECT box{};
    EXPECT_EQ(GetRgnBox(out, &box), c.kind);
    EXPECT_EQ(box.left, c.box.left);
    EXPECT_EQ(box.top, c.box.top);
    EXPECT_EQ(box.right, c.box.right);
    EXPECT_EQ(box.bottom, c.box.bottom);
    for (HRGN h : {a, b, out}) DeleteObject(h);
  }
}

TEST(GdiRegion, ContainsItsPointsAndComparesByShape) {
  HRGN ring = CreateRectRgn(0, 0, 4, 4), hole = CreateRectRgn(1, 1, 3, 3);
  CombineRgn(ring, ring, hole, RGN_DIFF);  // the destination may be a source
  EXPECT_TRUE(PtInRegion(ring, 0, 0));
  EXPECT_FALSE(PtInRegion(ring, 1, 1));
  EXPECT_FALSE(PtInRegion(ring, 4, 0));  // right edge excluded
  // The same shape built another way is equal.
  HRGN a = CreateRectRgn(0, 0, 4, 1), b = CreateRectRgn(0, 1, 1, 3), c = CreateRectRgn(3, 1, 4, 3),
       d = CreateRectRgn(0, 3, 4, 4);
  CombineRgn(a, a, d, RGN_OR);
  CombineRgn(a, a, c, RGN_OR);
  CombineRgn(a, a, b, RGN_OR);
  EXPECT_TRUE(EqualRgn(a, ring));
  OffsetRgn(a, 1, 0);
  EXPECT_FALSE(EqualRgn(a, ring));
  for (HRGN h : {ring, hole, a, b, c, d}) DeleteObject(h);
}

// A polygon region covers exactly the pixels the polygon fills, in either fill mode.
TEST(GdiRegion, PolygonRegionIsWhatThePolygonFills) {
  // A five-pointed star (its middle is wound twice) and a separate triangle.
  POINT pts[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}, {22, 2}, {29, 18}, {21, 15}};
  INT counts[] = {5, 3};
  for (int mode : {ALTERNATE, WINDING}) {
    Canvas filled(30, 20, 24), fromRegion(30, 20, 24);
    for (Canvas* c : {&filled, &fromRegion}) c->Fill(RGB(255, 255, 255));
    SelectObject(filled.dc, GetStockObject(NULL_PEN));
    SelectObject(filled.dc, GetStockObject(BLACK_BRUSH));
    SetPolyFillMode(filled.dc, mode);
    PolyPolygon(filled.dc, pts, counts, 2);
    HRGN region = CreatePolyPolygonRgn(pts, counts, 2, mode);
    ASSERT_NE(region, nullptr);
    FillRgn(fromRegion.dc, region, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    int black = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 30; ++x) {
        COLORREF want = GetPixel(filled.dc, x, y);
        black += want == RGB(0, 0, 0);
        EXPECT_EQ(GetPixel(fromRegion.dc, x, y), want) << mode << " at " << x << "," << y;
      }
    EXPECT_GT(black, 100);
    EXPECT_EQ(PtInRegion(region, 10, 10), mode == WINDING) << "the star's middle";
    EXPECT_EQ(GetPixel(filled.dc, 10, 10) == RGB(0, 0, 0), mode == WINDING);
    DeleteObject(region);
  }
  INT tooFew[] = {1};
  EXPECT_EQ(CreatePolyPolygonRgn(pts, tooFew, 1, ALTERNATE), nullptr);
  EXPECT_EQ(CreatePolyPolygonRgn(pts, counts, 2, 0), nullptr);
}

TEST(GdiClip, RectanglesNarrowAndExcludeWhatIsDrawn) {
  Canvas c(6, 1, 24);
  EXPECT_EQ(IntersectClipRect(c.dc, 1, 0, 5, 1), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(c.dc, 2, 0, 3, 1), COMPLEXREGION);
  RECT box{};
  EXPECT_EQ(GetClipBox(c.dc, &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 1);
  EXPECT_EQ(box.right, 5);
  c.Fill(RGB(255, 255, 255));
  const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0), outside = CLR_INVALID;
  const COLORREF expected[] = {outside, white, outside, white, white, outside};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(GetPixel(c.dc, x, 0), expected[x]) << x;
  SelectClipRgn(c.dc, nullptr);
  EXPECT_EQ(GetPixel(c.dc, 0, 0), black);
  EXPECT_EQ(GetPixel(c.dc, 2, 0), black);
  EXPECT_EQ(ExcludeClipRect(c.dc, 0, 0, 6, 1), NULLREGION);
}

TEST(GdiClip, ClipRectanglesAreLogicalAndClipRegionsAreDeviceCoordinates) {
  Canvas c(4, 4, 24);
  SetViewportOrgEx(c.dc, 1, 1, nullptr);
  IntersectClipRect(c.dc, 0, 0, 1, 1);  // device pixel (1, 1)
  c.Fill(RGB(255, 255, 255));
  SetViewportOrgEx(c.dc, 0, 0, nullptr);
  // The clip stayed at device (1, 1) when the origin moved back.
  EXPECT_EQ(GetPixel(c.dc, 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(c.dc, 0, 0), CLR_INVALID);  // readable only inside the clip
  SelectClipRgn(c.dc, nullptr);
  EXPECT_EQ(GetPixel(c.dc, 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(0, 0, 0));
  HRGN r = CreateRectRgn(3, 3, 4, 4), copy = CreateRectRgn(0, 0, 0, 0);
  SetWindowOrgEx(c.dc, 2, 2, nullptr);
  SelectClipRgn(c.dc, r);
  EXPECT_EQ(GetClipRgn(c.dc, copy), 1);
  EXPECT_TRUE(EqualRgn(r, copy));
  RECT box{};
  GetClipBox(c.dc, &box);  // logical: device (3, 3) less the window origin
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.top, 5);
  SelectClipRgn(c.dc, nullptr);
  EXPECT_EQ(GetClipRgn(c.dc, copy), 0);
  DeleteObject(r);
  DeleteObject(copy);
}

TEST(GdiSaveDC, RestoringGivesBackEveryPartOfTheState) {
  Canvas c(4, 1, 24);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
  int first = SaveDC(c.dc);
  EXPECT_EQ(first, 1);
  SelectObject(c.dc, pen);
  SetTextColor(c.dc, RGB(1, 2, 3));
  SetViewportOrgEx(c.dc, 2, 0, nullptr);
  IntersectClipRect(c.dc, 0, 0, 1, 1);
  EXPECT_EQ(SaveDC(c.dc), 2);
  SetROP2(c.dc, R2_XORPEN);
  SetBkMode(c.dc, TRANSPARENT);
  EXPECT_FALSE(DeleteObject(pen));  // held by the saved state too

  EXPECT_TRUE(RestoreDC(c.dc, -1));
  EXPECT_EQ(GetROP2(c.dc), R2_COPYPEN);
  EXPECT_EQ(GetBkMode(c.dc), OPAQUE);
  EXPECT_EQ(GetTextColor(c.dc), RGB(1, 2, 3));
  EXPECT_TRUE(RestoreDC(c.dc, first));
  EXPECT_EQ(GetTextColor(c.dc), RGB(0, 0, 0));
  EXPECT_EQ(GetCurrentObject(c.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  POINT org{};
  GetViewportOrgEx(c.dc, &org);
  EXPECT_EQ(org.x, 0);
  RECT box{};
  EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 4);
  EXPECT_FALSE(RestoreDC(c.dc, -1));  // nothing saved any more
  EXPECT_TRUE(DeleteObject(pen));
}

TEST(GdiOrigins, ViewportAndWindowOriginsMoveWhatIsDrawn) {
  Canvas c(4, 4, 24);
  SetViewportOrgEx(c.dc, 2, 1, nullptr);
  SetWindowOrgEx(c.dc, 1, 0, nullptr);
  SetPixelV(c.dc, 1, 1, RGB(255, 255, 255));  // device (2, 2)
  OffsetViewportOrgEx(c.dc, -2, -1, nullptr);
  EXPECT_EQ(GetPixel(c.dc, 3, 2), RGB(255, 255, 255));
  POINT p{3, 2};
  LPtoDP(c.dc, &p, 1);
  EXPECT_EQ(p.x, 2);
  EXPECT_EQ(p.y, 2);
}

}  // namespace
