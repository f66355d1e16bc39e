#include <gtest/gtest.h>

#include <string>

#include "gdi_test_helpers.h"

using gdi_test::Canvas;

namespace {

// The canvas as rows of '#' (black) and '.' (white), other colours as '?'.
std::vector<std::string> Picture(Canvas& c, int w, int h) {
  std::vector<std::string> rows;
  for (int y = 0; y < h; ++y) {
    std::string row;
    for (int x = 0; x < w; ++x) {
      COLORREF p = GetPixel(c.dc, x, y);
      row += p == RGB(0, 0, 0) ? '#' : p == RGB(255, 255, 255) ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

using Rows = std::vector<std::string>;

TEST(GdiLines, LeaveOutTheEndPoint) {
  struct Case {
    POINT from, to;
    Rows expected;
  } cases[] = {
      {{0, 0}, {4, 0}, {"####.", ".....", "....."}}, {{4, 2}, {0, 2}, {".....", ".....", ".####"}},
      {{0, 0}, {2, 2}, {"#....", ".#...", "....."}}, {{0, 0}, {4, 2}, {"##...", "..##.", "....."}},
      {{1, 1}, {1, 1}, {".....", ".....", "....."}},
  };
  for (const Case& c : cases) {
    Canvas canvas(5, 3, 24);
    canvas.Fill(RGB(255, 255, 255));
    MoveToEx(canvas.dc, c.from.x, c.from.y, nullptr);
    LineTo(canvas.dc, c.to.x, c.to.y);
    EXPECT_EQ(Picture(canvas, 5, 3), c.expected) << c.to.x << "," << c.to.y;
    POINT p{};
    GetCurrentPositionEx(canvas.dc, &p);
    EXPECT_EQ(p.x, c.to.x);
    EXPECT_EQ(p.y, c.to.y);
  }
}

TEST(GdiLines, APolylineDrawsEachJointOnceSoXorLeavesNoHoles) {
  Canvas c(4, 3, 24);
  c.Fill(RGB(255, 255, 255));
  SetROP2(c.dc, R2_XORPEN);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(c.dc, pen);
  POINT pts[] = {{0, 0}, {3, 0}, {3, 2}, {0, 2}};
  Polyline(c.dc, pts, 4);
  EXPECT_EQ(Picture(c, 4, 3), (Rows{"####", "...#", ".###"}));
  SelectObject(c.dc, old);
  DeleteObject(pen);
}

TEST(GdiLines, EveryBinaryRasterOperationCombinesPenAndDestination) {
  // Pen 0xCC and destination 0xAA per channel: bits (P, D) = index, so the result is the R2 table.
  for (int mode = R2_BLACK; mode <= R2_WHITE; ++mode) {
    Canvas c(1, 1, 32);
    c.Fill(RGB(0xAA, 0xAA, 0xAA));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0xCC, 0xCC, 0xCC));
    HGDIOBJ old = SelectObject(c.dc, pen);
    SetROP2(c.dc, mode);
    MoveToEx(c.dc, 0, 0, nullptr);
    LineTo(c.dc, 1, 0);
    int t = mode - 1;
    BYTE expected =
        static_cast<BYTE>(((t & 1) ? 0x11 : 0) | ((t & 2) ? 0x22 : 0) | ((t & 4) ? 0x44 : 0) | ((t & 8) ? 0x88 : 0));
    EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(expected, expected, expected)) << "R2 " << mode;
    SelectObject(c.dc, old);
    DeleteObject(pen);
  }
}

TEST(GdiLines, DottedPensDrawTheirGapsInTheBackgroundColourWhenOpaque) {
  for (int mode : {OPAQUE, TRANSPARENT}) {
    Canvas c(8, 1, 24);
    c.Fill(RGB(255, 255, 255));
    HPEN pen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(c.dc, pen);
    SetBkMode(c.dc, mode);
    SetBkColor(c.dc, RGB(1, 1, 1));
    MoveToEx(c.dc, 0, 0, nullptr);
    LineTo(c.dc, 8, 0);
    EXPECT_EQ(Picture(c, 8, 1), (Rows{mode == OPAQUE ? "###???##" : "###...##"}));
    SelectObject(c.dc, old);
    DeleteObject(pen);
  }
}

TEST(GdiShapes, RectangleFramesWithThePenAndFillsWithTheBrush) {
  Canvas c(5, 4, 24);
  c.Fill(RGB(255, 255, 255));
  HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
  HGDIOBJ oldBrush = SelectObject(c.dc, brush);
  Rectangle(c.dc, 0, 0, 4, 4);
  EXPECT_EQ(Picture(c, 5, 4), (Rows{"####.", "#??#.", "#??#.", "####."}));
  // Without a pen the interior stops one pixel short at the right and bottom.
  c.Fill(RGB(255, 255, 255));
  HGDIOBJ oldPen = SelectObject(c.dc, GetStockObject(NULL_PEN));
  Rectangle(c.dc, 0, 0, 4, 4);
  EXPECT_EQ(Picture(c, 5, 4), (Rows{"???..", "???..", "???..", "....."}));
  SelectObject(c.dc, oldPen);
  SelectObject(c.dc, oldBrush);
  DeleteObject(brush);
}

TEST(GdiShapes, AnEllipseIsSymmetricAndInsideItsBox) {
  Canvas c(9, 7, 24);
  c.Fill(RGB(255, 255, 255));
  SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
  Ellipse(c.dc, 1, 1, 8, 6);
  Rows p = Picture(c, 9, 7);
  EXPECT_EQ(p[0], ".........");
  EXPECT_EQ(p[6], ".........");
  for (const std::string& row : p) {
    EXPECT_EQ(row[0], '.');
    EXPECT_EQ(row[8], '.');
    EXPECT_EQ(row, std::string(row.rbegin(), row.rend()));  // left-right symmetric about x 4
  }
  EXPECT_EQ(p[1], p[5]);
  EXPECT_EQ(p[3], ".#######.");
  EXPECT_LT(std::count(p[1].begin(), p[1].end(), '#'), 7);  // the top row is rounded
}

TEST(GdiShapes, PolygonsFillByPixelCentresInBothFillModes) {
  // A square ring drawn as one polygon that winds around twice: ALTERNATE leaves the hole.
  POINT outer[] = {{0, 0}, {6, 0}, {6, 6}, {0, 6}};
  POINT inner[] = {{2, 2}, {4, 2}, {4, 4}, {2, 4}};
  for (int mode : {ALTERNATE, WINDING}) {
    Canvas c(7, 7, 24);
    c.Fill(RGB(255, 255, 255));
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
    SetPolyFillMode(c.dc, mode);
    POINT pts[8];
    std::copy(std::begin(outer), std::end(outer), pts);
    std::copy(std::begin(inner), std::end(inner), pts + 4);
    INT counts[] = {4, 4};
    PolyPolygon(c.dc, pts, counts, 2);
    Rows p = Picture(c, 7, 7);
    EXPECT_EQ(p[0], "######.");
    EXPECT_EQ(p[6], ".......");
    EXPECT_EQ(p[2], mode == ALTERNATE ? "##..##." : "######.") << mode;
  }
}

TEST(GdiShapes, HatchBrushesFollowTheBrushOriginAndTheBackgroundMode) {
  HBRUSH hatch = CreateHatchBrush(HS_VERTICAL, RGB(0, 0, 0));
  for (int mode : {OPAQUE, TRANSPARENT}) {
    Canvas c(10, 1, 24);
    c.Fill(RGB(255, 255, 255));
    SetBkColor(c.dc, RGB(1, 1, 1));
    SetBkMode(c.dc, mode);
    SetBrushOrgEx(c.dc, 2, 0, nullptr);
    HGDIOBJ old = SelectObject(c.dc, hatch);
    PatBlt(c.dc, 0, 0, 10, 1, PATCOPY);
    Rows p = Picture(c, 10, 1);
    std::string gap(1, mode == OPAQUE ? '?' : '.');
    EXPECT_EQ(p[0][1], '#') << mode;  // column 7 of the hatch, moved by the origin
    EXPECT_EQ(p[0][9], '#');
    EXPECT_EQ(p[0].substr(2, 1), gap);
    SelectObject(c.dc, old);
  }
  DeleteObject(hatch);
}

TEST(GdiShapes, DrawEdgePaintsTheClassicRaisedAndSunkenRings) {
  Canvas c(4, 4, 24);
  c.Fill(RGB(1, 2, 3));
  RECT r{0, 0, 4, 4};
  ASSERT_TRUE(DrawEdge(c.dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST));
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.bottom, 2);
  EXPECT_EQ(GetPixel(c.dc, 0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(GetPixel(c.dc, 3, 0), GetSysColor(COLOR_3DDKSHADOW));  // the dark side takes the corner
  EXPECT_EQ(GetPixel(c.dc, 3, 3), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(GetPixel(c.dc, 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(c.dc, 2, 2), RGB(128, 128, 128));
  EXPECT_EQ(GetPixel(c.dc, 1, 2), RGB(128, 128, 128));  // and the inner ring's bottom-left corner
  r = RECT{0, 0, 4, 4};
  DrawEdge(c.dc, &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
  EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(128, 128, 128));
  EXPECT_EQ(GetPixel(c.dc, 1, 1), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(c.dc, 3, 3), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(c.dc, 2, 2), GetSysColor(COLOR_3DLIGHT));
}

TEST(GdiShapes, FocusRectanglesInvertEveryOtherPixelAndUndoThemselves) {
  Canvas c(4, 3, 24);
  c.Fill(RGB(255, 255, 255));
  RECT r{0, 0, 4, 3};
  DrawFocusRect(c.dc, &r);
  EXPECT_EQ(Picture(c, 4, 3), (Rows{"#.#.", "...#", "#.#."}));
  DrawFocusRect(c.dc, &r);
  EXPECT_EQ(Picture(c, 4, 3), (Rows{"....", "....", "...."}));
}

TEST(GdiShapes, FillRectTakesASystemColourPlusOneAsBrush) {
  Canvas c(2, 1, 24);
  RECT r{0, 0, 1, 1};
  FillRect(c.dc, &r, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1)));
  EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(192, 192, 192));
  EXPECT_EQ(GetPixel(c.dc, 1, 0), RGB(0, 0, 0));
  r = RECT{0, 0, 2, 1};
  InvertRect(c.dc, &r);
  EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(63, 63, 63));
  EXPECT_EQ(GetPixel(c.dc, 1, 0), RGB(255, 255, 255));
}

}  // namespace
