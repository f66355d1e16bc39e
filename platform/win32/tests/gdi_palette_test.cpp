#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "gdi_test_helpers.h"

using gdi_test::Canvas;

namespace {

// The table index a pixel holds, from the raw bits of row 0 of a bottom-up 1-row canvas.
int IndexAt(const Canvas& c, int x, int bpp) {
  const BYTE* row = static_cast<const BYTE*>(c.bits);
  if (bpp == 8) return row[x];
  if (bpp == 4) return x % 2 ? row[x / 2] & 0xF : row[x / 2] >> 4;
  return (row[x / 8] >> (7 - x % 8)) & 1;
}

TEST(GdiPalette, DrawingPicksTheNearestTableEntryAtEveryDepth) {
  struct Case {
    int bpp;
    std::vector<COLORREF> table;
    COLORREF color;
    int index;
  } cases[] = {
      {1, {RGB(0, 0, 0), RGB(255, 255, 255)}, RGB(100, 100, 100), 0},
      {1, {RGB(0, 0, 0), RGB(255, 255, 255)}, RGB(130, 130, 130), 1},
      {1, {RGB(255, 0, 0), RGB(0, 0, 255)}, RGB(0, 0, 0), 0},  // equally near: the first
      {4, {RGB(0, 0, 0), RGB(128, 0, 0), RGB(0, 128, 0), RGB(200, 200, 0)}, RGB(0, 100, 20), 2},
      {4, {RGB(0, 0, 0), RGB(9, 9, 9), RGB(9, 9, 9)}, RGB(10, 10, 10), 1},
      {8, {RGB(0, 0, 0), RGB(10, 0, 0), RGB(0, 10, 0), RGB(0, 0, 10)}, RGB(1, 1, 9), 3},
      {8, {RGB(50, 50, 50), RGB(60, 60, 60)}, RGB(255, 255, 255), 1},
  };
  for (const Case& c : cases) {
    // Fill with a brush, set a pixel and draw a line: each lands on the same entry.
    Canvas canvas(3, 1, c.bpp, c.table);
    HBRUSH brush = CreateSolidBrush(c.color);
    RECT r{0, 0, 1, 1};
    FillRect(canvas.dc, &r, brush);
    SetPixelV(canvas.dc, 1, 0, c.color);
    HPEN pen = CreatePen(PS_SOLID, 1, c.color);
    HGDIOBJ old = SelectObject(canvas.dc, pen);
    MoveToEx(canvas.dc, 2, 0, nullptr);
    LineTo(canvas.dc, 3, 0);
    SelectObject(canvas.dc, old);
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(IndexAt(canvas, x, c.bpp), c.index) << c.bpp << " bits, colour " << std::hex << c.color << " x " << x;
    DeleteObject(pen);
    DeleteObject(brush);
  }
}

TEST(GdiPalette, LogicalPalettesAnswerNearestIndexAndEntries) {
  struct {
    WORD version, count;
    PALETTEENTRY e[3];
  } lp{0x300, 3, {{0, 0, 0, 0}, {200, 0, 0, 0}, {0, 0, 200, 0}}};
  HPALETTE pal = CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp));
  ASSERT_NE(pal, nullptr);
  EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(150, 20, 30)), 1u);
  EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(10, 10, 250)), 2u);
  PALETTEENTRY out[3]{};
  EXPECT_EQ(GetPaletteEntries(pal, 1, 5, out), 2u);
  EXPECT_EQ(out[0].peRed, 200);
  PALETTEENTRY green{0, 255, 0, 0};
  EXPECT_EQ(SetPaletteEntries(pal, 2, 1, &green), 1u);
  EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(0, 250, 0)), 2u);

  // PALETTEINDEX(i) draws entry i of the DC's palette.
  Canvas c(1, 1, 32);
  HPALETTE old = SelectPalette(c.dc, pal, FALSE);
  EXPECT_EQ(old, GetStockObject(DEFAULT_PALETTE));
  SetPixelV(c.dc, 0, 0, PALETTEINDEX(1));
  EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(200, 0, 0));
  EXPECT_EQ(RealizePalette(c.dc), 0u);  // nothing to map on a DIB section
  SelectPalette(c.dc, old, TRUE);
  EXPECT_TRUE(DeleteObject(pal));
}

TEST(GdiPalette, TheColourTableOfASelectedDibSectionCanBeReplaced) {
  Canvas c(1, 1, 8, {RGB(1, 1, 1), RGB(2, 2, 2)});
  RGBQUAD table[2] = {{0, 0, 255, 0}, {255, 0, 0, 0}};
  EXPECT_EQ(SetDIBColorTable(c.dc, 0, 2, table), 2u);
  EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(255, 0, 0));  // index 0 shows the new entry
  RGBQUAD back[256]{};
  EXPECT_EQ(GetDIBColorTable(c.dc, 1, 300, back), 255u);
  EXPECT_EQ(back[0].rgbBlue, 255);
  EXPECT_EQ(GetNearestColor(c.dc, RGB(20, 0, 200)), RGB(0, 0, 255));
}

TEST(GdiPalette, TheSystemPaletteHoldsTheTwentyStaticColours) {
  PALETTEENTRY e[256]{};
  EXPECT_EQ(GetSystemPaletteEntries(nullptr, 0, 256, e), 256u);
  EXPECT_EQ(e[7].peRed, 192);
  EXPECT_EQ(e[8].peGreen, 220);
  EXPECT_EQ(e[247].peBlue, 164);
  EXPECT_EQ(e[248].peBlue, 128);
  EXPECT_EQ(e[255].peRed, 255);
  EXPECT_EQ(e[255].peBlue, 255);
}

// The screen depth is read once per process, so the 8-bit screen is checked in a child process.
TEST(GdiScreenDepth, EightBitsGiveAPaletteDevice) {
  const char* bits = std::getenv("STARTLOGO_SCREEN_BITS");
  if (!bits) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      setenv("STARTLOGO_SCREEN_BITS", "8", 1);
      setenv("STARTLOGO_SCREEN_SIZE", "640x480", 1);
      std::string filter = "--gtest_filter=GdiScreenDepth.EightBitsGiveAPaletteDevice";
      execl("/proc/self/exe", "gdi-child", filter.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    return;
  }
  ASSERT_STREQ(bits, "8");
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 8);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 640);
  EXPECT_EQ(GetDeviceCaps(screen, VERTRES), 480);
  EXPECT_TRUE(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE);
  EXPECT_EQ(GetDeviceCaps(screen, SIZEPALETTE), 256);
  EXPECT_EQ(GetDeviceCaps(screen, NUMCOLORS), 20);
  // Realizing a palette maps its colours into the free system entries; drawing then finds them.
  struct {
    WORD version, count;
    PALETTEENTRY e[2];
  } lp{0x300, 2, {{255, 255, 255, 0}, {17, 34, 51, 0}}};
  HPALETTE pal = CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp));
  HPALETTE old = SelectPalette(screen, pal, FALSE);
  EXPECT_EQ(RealizePalette(screen), 1u);  // white is static already
  SetPixelV(screen, 0, 0, RGB(17, 34, 51));
  EXPECT_EQ(GetPixel(screen, 0, 0), RGB(17, 34, 51));
  SelectPalette(screen, old, FALSE);
  DeleteObject(pal);
  ReleaseDC(nullptr, screen);
}

}  // namespace
