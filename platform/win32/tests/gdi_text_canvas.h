#pragma once
// A small top-down DIB section in a memory DC, read back byte by byte, for the text tests.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "win32/gdi.h"
#include "win32/text.h"

class TextCanvas {
 public:
  // 24 bits, white; or 8 bits with `palette` as its colour table, every pixel index 0.
  TextCanvas(int width, int height, std::vector<RGBQUAD> palette = {}) : width_(width), height_(height) {
    bits_ = palette.empty() ? 24 : 8;
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = -height;
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(bits_);
    header->biCompression = BI_RGB;
    header->biClrUsed = static_cast<DWORD>(palette.size());
    if (!palette.empty())
      std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), palette.data(), palette.size() * sizeof(RGBQUAD));
    dc_ = CreateCompatibleDC(nullptr);
    void* pixels = nullptr;
    bitmap_ = CreateDIBSection(dc_, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &pixels, nullptr, 0);
    pixels_ = static_cast<BYTE*>(pixels);
    stride_ = ((width * bits_ + 31) / 32) * 4;
    old_ = SelectObject(dc_, bitmap_);
    if (bits_ == 24) std::memset(pixels_, 0xFF, static_cast<std::size_t>(stride_) * height);
  }
  ~TextCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  TextCanvas(const TextCanvas&) = delete;
  TextCanvas& operator=(const TextCanvas&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // A COLORREF at 24 bits, the colour-table index at 8.
  DWORD At(int x, int y) const {
    const BYTE* p = pixels_ + static_cast<std::ptrdiff_t>(y) * stride_ + x * (bits_ / 8);
    return bits_ == 8 ? p[0] : RGB(p[2], p[1], p[0]);
  }
  DWORD Background() const { return bits_ == 8 ? 0 : RGB(255, 255, 255); }

  // The box of the pixels that differ from the background; empty (left >= right) when none do.
  RECT InkBox() const {
    RECT box{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (At(x, y) != Background()) {
          box.left = std::min<LONG>(box.left, x), box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1), box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
  }
  int InkCount() const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += At(x, y) != Background();
    return n;
  }
  std::vector<DWORD> Snapshot() const {
    std::vector<DWORD> all;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) all.push_back(At(x, y));
    return all;
  }

 private:
  int width_, height_, bits_ = 24, stride_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  BYTE* pixels_ = nullptr;
};

// Selects a font for the life of the object.
class SelectedFont {
 public:
  SelectedFont(HDC dc, const char* face, LONG height, LONG escapement = 0, LONG weight = FW_NORMAL, BYTE italic = 0)
      : dc_(dc) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    font_ = CreateFontIndirectA(&lf);
    old_ = SelectObject(dc, font_);
  }
  ~SelectedFont() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
  }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;
  HFONT handle() const { return font_; }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};
