#pragma once
// Small pictures made in code for the imaging tests.
#include <cstdint>
#include <functional>
#include <memory>

#include "imaging/bitmap_rows.h"

// A 24-bit picture whose pixel (x, y) is colour(x, y) as $00BBGGRR.
inline void Paint(TBitmap& bitmap, int width, int height, const std::function<COLORREF(int x, int y)>& colour) {
  Reshape(bitmap, pf24bit, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      COLORREF c = colour(x, y);
      std::uint8_t* p = RowOf(bitmap, y) + 3 * x;
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
}

inline COLORREF PixelAt(TBitmap& bitmap, int x, int y) {
  const std::uint8_t* p = RowOf(bitmap, y) + 3 * x;
  return RGB(p[2], p[1], p[0]);
}

// An empty 24-bit bitmap of the size, for results that must come sized.
inline std::unique_ptr<TBitmap> Sized24(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  Reshape(*bitmap, pf24bit, width, height);
  return bitmap;
}

// A smooth photograph-like picture: gradients with a few hard edges.
inline COLORREF PhotoLike(int x, int y) {
  int r = (x * 7 + y * 3) % 256, g = (x * x / 13 + y * 5) % 256, b = ((x ^ y) * 3) % 256;
  if ((x / 17 + y / 11) % 5 == 0) r = 255 - r;
  return RGB(static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b));
}
