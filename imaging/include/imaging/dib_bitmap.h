#pragma once
// The imaging library's pixel image: a DIB section of 1 bit (black and white) or 24 bits per pixel
// with bottom-up rows, so it can be selected into a memory DC for the GDI's stretching and icon
// drawing. An empty bitmap is 0 by 0.
#include <cstdint>

#include "imaging/pixel_rows.h"
#include "win32/gdi.h"

class DibBitmap {
 public:
  // The largest picture the library makes: 2^28 pixels, as the GDI.
  static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

  DibBitmap() = default;
  DibBitmap(int width, int height, int bits);
  DibBitmap(const DibBitmap&) = delete;
  DibBitmap& operator=(const DibBitmap&) = delete;
  ~DibBitmap();

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Bits() const { return bits_; }
  std::int64_t Stride() const { return stride_; }
  // New, zeroed pixels; the old content is not kept. Sizes below 1 make an empty bitmap; sizes
  // beyond kMaxPixels raise EOutOfResources.
  void SetSize(int width, int height);
  // 1 or 24; the pixels are zeroed.
  void SetBits(int bits);
  std::uint8_t* ScanLine(int y) const { return bits_memory_ + stride_ * (height_ - 1 - y); }
  PixelRows Rows() const;
  // The pixel memory from the bottom row up, Stride() x Height() bytes.
  std::uint8_t* Memory() const { return bits_memory_; }
  // The DIB section, 0 for an empty bitmap.
  HBITMAP Handle() const { return handle_; }
  // Fills the whole bitmap with a colour value $00BBGGRR through a solid brush (a 1-bit bitmap
  // takes the nearer of black and white).
  void Fill(COLORREF color);

 private:
  void Allocate();

  int width_ = 0, height_ = 0, bits_ = 24;
  std::int64_t stride_ = 0;
  HBITMAP handle_ = nullptr;
  std::uint8_t* bits_memory_ = nullptr;
};
