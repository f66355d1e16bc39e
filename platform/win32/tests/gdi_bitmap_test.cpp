#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "host/testing/resource_use.h"

#include "gdi_test_helpers.h"

using gdi_test::Canvas;
using gdi_test::MakeInfo;

namespace {

TEST(GdiDibSection, RowsAreDwordAlignedAndBottomUpForPositiveHeights) {
  struct Case {
    int width, bpp, stride;
  } cases[] = {{1, 1, 4},  {33, 1, 8},  {7, 4, 4},   {9, 4, 8},  {5, 8, 8},
               {3, 16, 8}, {3, 24, 12}, {5, 24, 16}, {3, 32, 12}};
  for (const Case& c : cases) {
    auto info = MakeInfo(c.width, 3, c.bpp);
    void* bits = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(b, nullptr);
    DIBSECTION ds{};
    ASSERT_EQ(GetObject(b, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmWidthBytes, c.stride) << c.width << "x" << c.bpp;
    EXPECT_EQ(ds.dsBmih.biSizeImage, static_cast<DWORD>(c.stride * 3));
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    DeleteObject(b);
  }
}

TEST(GdiDibSection, PixelRowZeroIsTheLastLineOfBottomUpAndTheFirstOfTopDown) {
  for (bool topDown : {false, true}) {
    Canvas c(4, 3, 24, {}, topDown);
    SetPixelV(c.dc, 1, 0, RGB(10, 20, 30));
    const BYTE* row = static_cast<const BYTE*>(c.bits) + (topDown ? 0 : 2 * 12);
    EXPECT_EQ(row[3], 30) << topDown;  // blue, green, red
    EXPECT_EQ(row[4], 20);
    EXPECT_EQ(row[5], 10);
  }
}

// A DIB section's bits are zero, small or large, a large one's reused memory too; memory nobody
// writes costs nothing, so a 36 MB picture takes its memory once, as its rows are filled.
TEST(GdiDibSection, BitsAreZeroAndUnwrittenPagesTakeNoMemory) {
  for (int round = 0; round < 2; ++round)
    for (int width : {5, 4000}) {
      auto info = MakeInfo(width, 3000, 24);
      void* bits = nullptr;
      HBITMAP b = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
      ASSERT_NE(b, nullptr);
      const std::size_t size = static_cast<std::size_t>((width * 3 + 3) / 4 * 4) * 3000;
      const BYTE* p = static_cast<const BYTE*>(bits);
      EXPECT_TRUE(std::all_of(p, p + size, [](BYTE v) { return v == 0; })) << width << ", round " << round;
      std::memset(bits, 0x5A, size);  // the next round's section may get this memory back
      DeleteObject(b);
    }
  const ResourceUse unwritten = MeasureInChild([] {
    auto info = MakeInfo(4000, 3000, 24);
    void* bits = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    return std::string(b && bits ? "made" : "failed");
  });
  EXPECT_EQ(unwritten.Outcome, "made");
  EXPECT_LT(unwritten.PeakMiB, 4.0);
}

TEST(GdiDibSection, BitsWrittenDirectlyAreWhatGetPixelReads) {
  Canvas c(9, 2, 1, {RGB(0, 0, 0), RGB(255, 0, 0)});
  static_cast<BYTE*>(c.bits)[4] = 0x40;  // storage line 1 = image row 0; pixel 1
  EXPECT_EQ(GetPixel(c.dc, 1, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(0, 0, 0));
  Canvas f(3, 1, 4, {RGB(0, 0, 0), RGB(1, 2, 3)});
  static_cast<BYTE*>(f.bits)[1] = 0x10;  // pixel 2 is the high nibble of byte 1
  EXPECT_EQ(GetPixel(f.dc, 2, 0), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(f.dc, 1, 0), RGB(0, 0, 0));
}

TEST(GdiDibSection, BitfieldsSixteenBitsUseTheGivenMasks) {
  struct {
    BITMAPINFOHEADER h;
    DWORD masks[3];
  } info{};
  info.h = MakeInfo(2, 1, 16).header;
  info.h.biCompression = BI_BITFIELDS;
  info.masks[0] = 0xF800, info.masks[1] = 0x07E0, info.masks[2] = 0x001F;
  void* bits = nullptr;
  HBITMAP b = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(b, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, b);
  SetPixelV(dc, 0, 0, RGB(255, 0, 0));
  SetPixelV(dc, 1, 0, RGB(0, 255, 0));
  const WORD* px = static_cast<const WORD*>(bits);
  EXPECT_EQ(px[0], 0xF800);
  EXPECT_EQ(px[1], 0x07E0);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(b);
}

TEST(GdiDibSection, RefusesFormatsItCannotDraw) {
  auto info = MakeInfo(4, 4, 8);
  info.header.biCompression = BI_RLE8;
  void* bits = reinterpret_cast<void*>(1);
  EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0),
            nullptr);
  EXPECT_EQ(bits, nullptr);
  info = MakeInfo(4, 4, 7);
  EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0),
            nullptr);
  info = MakeInfo(1 << 20, 1 << 20, 32);
  EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0),
            nullptr);
}

TEST(GdiSelectObject, ABitmapIsInOneDeviceContextAtATime) {
  HBITMAP b = CreateBitmap(2, 2, 1, 1, nullptr);
  HDC first = CreateCompatibleDC(nullptr), second = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(first, b);
  EXPECT_NE(previous, nullptr);  // the stock 1x1 bitmap
  EXPECT_EQ(GetObjectType(previous), OBJ_BITMAP);
  EXPECT_EQ(SelectObject(second, b), nullptr);
  EXPECT_FALSE(DeleteObject(b));  // still selected
  EXPECT_EQ(SelectObject(first, previous), b);
  EXPECT_NE(SelectObject(second, b), nullptr);
  DeleteDC(second);  // deleting the DC lets go of the bitmap
  EXPECT_TRUE(DeleteObject(b));
  EXPECT_EQ(GetObjectType(b), 0u);
  DeleteDC(first);
}

TEST(GdiSelectObject, ReturnsThePreviousObjectOfEachKind) {
  HDC dc = CreateCompatibleDC(nullptr);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
  EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
  LOGPEN lp{};
  EXPECT_EQ(GetObject(pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
  DeleteDC(dc);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(DeleteObject(brush));
}

TEST(GdiDibits, SetAndGetDibitsRoundTripThroughADeviceBitmapWithLinesFromTheBottom) {
  HBITMAP b = CreateBitmap(2, 2, 1, 32, nullptr);
  auto info = MakeInfo(2, 2, 24);
  // Bottom-up: the first line in memory is the bottom row.
  BYTE in[2][8] = {{1, 2, 3, 4, 5, 6, 0, 0}, {7, 8, 9, 10, 11, 12, 0, 0}};
  EXPECT_EQ(SetDIBits(nullptr, b, 0, 2, in, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 2);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, b);
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(3, 2, 1));
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(12, 11, 10));
  SelectObject(dc, old);
  BYTE out[2][8] = {};
  EXPECT_EQ(GetDIBits(dc, b, 0, 2, out, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 2);
  EXPECT_EQ(0, std::memcmp(in[0], out[0], 6));
  EXPECT_EQ(0, std::memcmp(in[1], out[1], 6));
  DeleteDC(dc);
  DeleteObject(b);
}

TEST(GdiDibits, CompatibleBitmapsOfAFreshMemoryDcAreMonochrome) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateCompatibleBitmap(dc, 4, 4);
  HDC screen = GetDC(nullptr);
  HBITMAP colour = CreateCompatibleBitmap(screen, 4, 4);
  BITMAP bm{};
  GetObject(mono, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  GetObject(colour, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, GetDeviceCaps(screen, BITSPIXEL));
  EXPECT_EQ(bm.bmBits, nullptr);
  ReleaseDC(nullptr, screen);
  DeleteDC(dc);
  DeleteObject(mono);
  DeleteObject(colour);
}

TEST(GdiDeviceCaps, TheScreenIsTrueColourAt96DotsPerInchByDefault) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  for (HDC dc : {screen, memory}) {
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES), 32);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 1024);
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 768);
    EXPECT_TRUE(GetDeviceCaps(dc, RASTERCAPS) & RC_STRETCHDIB);
    EXPECT_FALSE(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE);
    EXPECT_EQ(GetDeviceCaps(dc, NUMCOLORS), -1);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

}  // namespace
