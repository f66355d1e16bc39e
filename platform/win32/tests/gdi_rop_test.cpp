#include <gtest/gtest.h>

#include "gdi_test_helpers.h"

using gdi_test::Canvas;
using gdi_test::MonoCanvas;

namespace {

// One pixel blitted with pattern 0xF0, source 0xCC and destination 0xAA in every channel: bit i of
// each is bit i of the truth-table index, so the result is the ROP3 code itself.
COLORREF Evaluate(DWORD rop) {
  Canvas dst(1, 1, 32), src(1, 1, 32);
  dst.Fill(RGB(0xAA, 0xAA, 0xAA));
  src.Fill(RGB(0xCC, 0xCC, 0xCC));
  HBRUSH brush = CreateSolidBrush(RGB(0xF0, 0xF0, 0xF0));
  HGDIOBJ old = SelectObject(dst.dc, brush);
  EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, rop));
  COLORREF c = GetPixel(dst.dc, 0, 0);
  SelectObject(dst.dc, old);
  DeleteObject(brush);
  return c;
}

TEST(GdiRop3, EveryTernaryCodeEvaluatesItsTruthTable) {
  for (int code = 0; code < 256; ++code) {
    BYTE b = static_cast<BYTE>(code);
    ASSERT_EQ(Evaluate(static_cast<DWORD>(code) << 16), RGB(b, b, b)) << "code " << code;
  }
}

TEST(GdiRop3, NamedOperationsFollowTheirFormulas) {
  constexpr DWORD P = 0xF0, S = 0xCC, D = 0xAA;
  struct Case {
    const char* name;
    DWORD rop;
    DWORD expected;
  } cases[] = {
      {"SRCCOPY", SRCCOPY, S},
      {"SRCPAINT", SRCPAINT, S | D},
      {"SRCAND", SRCAND, S & D},
      {"SRCINVERT", SRCINVERT, S ^ D},
      {"SRCERASE", SRCERASE, S & ~D},
      {"NOTSRCCOPY", NOTSRCCOPY, ~S},
      {"NOTSRCERASE", NOTSRCERASE, ~(S | D)},
      {"MERGECOPY", MERGECOPY, P & S},
      {"MERGEPAINT", MERGEPAINT, ~S | D},
      {"PATCOPY", PATCOPY, P},
      {"PATPAINT", PATPAINT, P | ~S | D},
      {"PATINVERT", PATINVERT, P ^ D},
      {"DSTINVERT", DSTINVERT, ~D},
      {"BLACKNESS", BLACKNESS, 0},
      {"WHITENESS", WHITENESS, 0xFF},
  };
  for (const Case& c : cases) {
    BYTE v = static_cast<BYTE>(c.expected);
    EXPECT_EQ(Evaluate(c.rop), RGB(v, v, v)) << c.name;
  }
}

TEST(GdiRop3, PalettedSurfacesCombineColourIndexes) {
  std::vector<COLORREF> grey;
  for (int i = 0; i < 256; ++i) grey.push_back(RGB(i, i, i));
  Canvas c(2, 1, 8, grey);
  SetPixelV(c.dc, 0, 0, RGB(0x0F, 0x0F, 0x0F));
  SetPixelV(c.dc, 1, 0, RGB(0xA0, 0xA0, 0xA0));
  HBRUSH brush = CreateSolidBrush(RGB(0x33, 0x33, 0x33));
  HGDIOBJ old = SelectObject(c.dc, brush);
  EXPECT_TRUE(PatBlt(c.dc, 0, 0, 1, 1, DSTINVERT));
  EXPECT_TRUE(PatBlt(c.dc, 1, 0, 1, 1, PATINVERT));
  EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(GetPixel(c.dc, 1, 0), RGB(0x93, 0x93, 0x93));
  EXPECT_FALSE(PatBlt(c.dc, 0, 0, 1, 1, SRCCOPY));  // needs a source
  SelectObject(c.dc, old);
  DeleteObject(brush);
}

TEST(GdiMonochrome, ZeroBitsTakeTheTextColourAndOneBitsTheBackgroundColour) {
  MonoCanvas mask({"0110"});
  Canvas dst(4, 1, 24);
  SetTextColor(dst.dc, RGB(200, 0, 0));
  SetBkColor(dst.dc, RGB(0, 0, 200));
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 4, 1, mask.dc, 0, 0, SRCCOPY));
  const COLORREF expected[] = {RGB(200, 0, 0), RGB(0, 0, 200), RGB(0, 0, 200), RGB(200, 0, 0)};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(GetPixel(dst.dc, x, 0), expected[x]) << x;
}

TEST(GdiMonochrome, TheSourceBackgroundColourBecomesOneAndEverythingElseZero) {
  Canvas src(3, 1, 24);
  SetPixelV(src.dc, 0, 0, RGB(10, 20, 30));
  SetPixelV(src.dc, 1, 0, RGB(255, 255, 255));
  SetPixelV(src.dc, 2, 0, RGB(10, 20, 31));
  SetBkColor(src.dc, RGB(10, 20, 30));
  MonoCanvas dst({"000"});
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 3, 1, src.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dst.dc, 1, 0), RGB(0, 0, 0));  // white, but not the background colour
  EXPECT_EQ(GetPixel(dst.dc, 2, 0), RGB(0, 0, 0));
}

TEST(GdiMonochrome, MaskAndPaintGiveASilhouette) {
  // The two-blit silhouette: opaque (0) mask pixels take the colour, the rest stays.
  MonoCanvas mask({"010"});
  Canvas dst(3, 1, 32);
  dst.Fill(RGB(1, 2, 3));
  SetBkColor(dst.dc, RGB(255, 255, 255));
  SetTextColor(dst.dc, RGB(0, 0, 0));
  BitBlt(dst.dc, 0, 0, 3, 1, mask.dc, 0, 0, SRCAND);
  SetBkColor(dst.dc, RGB(0, 0, 0));
  SetTextColor(dst.dc, RGB(90, 80, 70));
  BitBlt(dst.dc, 0, 0, 3, 1, mask.dc, 0, 0, SRCPAINT);
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(90, 80, 70));
  EXPECT_EQ(GetPixel(dst.dc, 1, 0), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(dst.dc, 2, 0), RGB(90, 80, 70));
}

TEST(GdiMonochrome, APatternBrushFromAMonochromeBitmapUsesTheDcColours) {
  MonoCanvas pattern({"01", "10"});
  HBRUSH brush = CreatePatternBrush(pattern.bitmap);
  Canvas dst(3, 2, 24);
  SetTextColor(dst.dc, RGB(255, 0, 0));
  SetBkColor(dst.dc, RGB(0, 255, 0));
  SetBrushOrgEx(dst.dc, 1, 0, nullptr);
  RECT r{0, 0, 3, 2};
  FillRect(dst.dc, &r, brush);
  // With the origin at x 1, pattern column 0 starts at x 1.
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dst.dc, 1, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dst.dc, 1, 1), RGB(0, 255, 0));
  DeleteObject(brush);
}

TEST(GdiBlit, AColourPatternInvertedOverAFaceGivesTheDitheredLook) {
  // PATINVERT with a colour pattern brush, then DSTINVERT: each pixel becomes NOT (pixel XOR pattern).
  Canvas pattern(2, 2, 24);
  pattern.Fill(RGB(192, 192, 192));
  SetPixelV(pattern.dc, 0, 0, RGB(255, 255, 255));
  SetPixelV(pattern.dc, 1, 1, RGB(255, 255, 255));
  HBRUSH brush = CreatePatternBrush(pattern.bitmap);
  Canvas face(2, 2, 24);
  face.Fill(RGB(0, 0, 255));
  HGDIOBJ old = SelectObject(face.dc, brush);
  SetBkMode(face.dc, TRANSPARENT);
  BitBlt(face.dc, 0, 0, 2, 2, face.dc, 0, 0, PATINVERT);
  BitBlt(face.dc, 0, 0, 2, 2, face.dc, 0, 0, DSTINVERT);
  EXPECT_EQ(GetPixel(face.dc, 0, 0), RGB(0, 0, 255));  // NOT (blue XOR white)
  EXPECT_EQ(GetPixel(face.dc, 1, 0), RGB(63, 63, 192));  // NOT (blue XOR grey)
  EXPECT_EQ(GetPixel(face.dc, 1, 1), RGB(0, 0, 255));
  SelectObject(face.dc, old);
  DeleteObject(brush);
}

TEST(GdiBlit, SixteenBitSurfacesKeepFiveBitsPerChannel) {
  Canvas src(1, 1, 24), dst(1, 1, 16);
  SetPixelV(src.dc, 0, 0, RGB(255, 132, 8));
  BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(*static_cast<const WORD*>(dst.bits), (31 << 10) | (16 << 5) | 1);
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(255, 132, 8));
}

TEST(GdiStock, StockObjectsOutliveDeleteObject) {
  for (int i : {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN, BLACK_PEN,
                NULL_PEN, DEFAULT_PALETTE, SYSTEM_FONT}) {
    HGDIOBJ h = GetStockObject(i);
    ASSERT_NE(h, nullptr) << i;
    EXPECT_TRUE(DeleteObject(h));
    EXPECT_EQ(GetStockObject(i), h);
    EXPECT_NE(GetObjectType(h), 0u) << i;
  }
  LOGBRUSH lb{};
  GetObject(GetStockObject(LTGRAY_BRUSH), sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, RGB(192, 192, 192));
  EXPECT_EQ(GetObjectType(GetStockObject(SYSTEM_FONT)), OBJ_FONT);
}

TEST(GdiBlit, APlainCopyWithinOneSurfaceHandlesOverlap) {
  Canvas c(5, 1, 8, {RGB(0, 0, 0), RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4)});
  for (int x = 0; x < 5; ++x) SetPixelV(c.dc, x, 0, RGB(x, x, x));
  ASSERT_TRUE(BitBlt(c.dc, 1, 0, 4, 1, c.dc, 0, 0, SRCCOPY));
  const int expected[] = {0, 0, 1, 2, 3};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(GetPixel(c.dc, x, 0), RGB(expected[x], expected[x], expected[x])) << x;
}

TEST(GdiBlit, ConvertsTrueColourIntoTheNearestPaletteEntries) {
  Canvas src(2, 1, 24);
  SetPixelV(src.dc, 0, 0, RGB(250, 10, 10));
  SetPixelV(src.dc, 1, 0, RGB(20, 20, 240));
  Canvas dst(2, 1, 4, {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255)});
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(static_cast<const BYTE*>(dst.bits)[0], 0x12);
}

}  // namespace
