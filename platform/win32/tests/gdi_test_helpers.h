#pragma once
// Small surfaces for the GDI tests: DIB sections of any depth selected into their own memory DC.
#include <cstring>
#include <vector>

#include "win32/gdi.h"

namespace gdi_test {

struct DibInfo {
  BITMAPINFOHEADER header{};
  RGBQUAD colors[256]{};
};

inline DibInfo MakeInfo(int width, int height, int bpp, std::vector<COLORREF> table = {}) {
  DibInfo info;
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bpp);
  info.header.biCompression = BI_RGB;
  info.header.biClrUsed = static_cast<DWORD>(table.size());
  for (std::size_t i = 0; i < table.size(); ++i)
    info.colors[i] = RGBQUAD{GetBValue(table[i]), GetGValue(table[i]), GetRValue(table[i]), 0};
  return info;
}

// A DIB section in a memory DC; freed with the object.
struct Canvas {
  Canvas(int width, int height, int bpp, std::vector<COLORREF> table = {}, bool topDown = false) {
    DibInfo info = MakeInfo(width, topDown ? -height : height, bpp, std::move(table));
    bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  void Fill(COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    RECT r{-10000, -10000, 10000, 10000};
    FillRect(dc, &r, b);
    DeleteObject(b);
  }

  HBITMAP bitmap = nullptr;
  HDC dc = nullptr;
  HGDIOBJ old = nullptr;
  void* bits = nullptr;
};

// A monochrome device bitmap in a memory DC, drawn from rows of '0'/'1'.
struct MonoCanvas {
  explicit MonoCanvas(const std::vector<const char*>& rows) {
    int w = static_cast<int>(std::strlen(rows[0])), h = static_cast<int>(rows.size());
    bitmap = CreateBitmap(w, h, 1, 1, nullptr);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bitmap);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        SetPixelV(dc, x, y, rows[static_cast<std::size_t>(y)][x] == '1' ? RGB(255, 255, 255) : RGB(0, 0, 0));
  }
  ~MonoCanvas() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  MonoCanvas(const MonoCanvas&) = delete;
  MonoCanvas& operator=(const MonoCanvas&) = delete;
  HBITMAP bitmap = nullptr;
  HDC dc = nullptr;
  HGDIOBJ old = nullptr;
};

}  // namespace gdi_test
