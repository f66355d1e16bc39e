#include <gtest/gtest.h>

#include "graphics/palettes.h"

TEST(DrawToDCTest, StretchesThePaletteImageOntoTheDevice) {
  TPixelGraphic image;
  image.SetSize(2, 1, pgbc8);
  image.SetPaletteCount(2);
  image.SetPaletteEntry(0, RGBToColor(255, 0, 0));
  image.SetPaletteEntry(1, RGBToColor(0, 0, 255));
  image.SetPixel(1, 0, 1);

  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, -2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP surface = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, surface);
  image.DrawToDC(dc, RECT{0, 0, 4, 2}, true, SRCCOPY);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 3, 1), RGB(0, 0, 255));
  SelectObject(dc, old);
  DeleteObject(surface);
  DeleteDC(dc);
}
