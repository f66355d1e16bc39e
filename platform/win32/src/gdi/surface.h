#pragma once
// A pixel surface: the memory of a bitmap, a DIB section or the screen, and the conversions between
// COLORREFs and its pixel values. A pixel value is what one pixel stores: a colour-table index for
// 1, 4 and 8 bits, the packed bits for 16, 24 (0xRRGGBB) and 32 bits. Raster operations work on
// pixel values, as on Windows.
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "win32/gdi.h"

namespace gdi {

// Pixel memory, zeroed. Large stores come straight from the kernel, aligned for huge pages and
// asking for them: a 12-megapixel picture then costs a few dozen page faults instead of thousands,
// which took as long as decoding it. Their zero pages are not written again, so a surface nobody
// draws on (the headless screen) takes no memory, and a picture's first pass over its store is
// the one that fills it.
void* AllocatePixelMemory(std::size_t bytes);
void FreePixelMemory(void* memory, std::size_t bytes);

template <class T>
struct PixelMemoryAllocator {
  using value_type = T;
  PixelMemoryAllocator() = default;
  template <class U>
  PixelMemoryAllocator(const PixelMemoryAllocator<U>&) {}
  T* allocate(std::size_t n) { return static_cast<T*>(AllocatePixelMemory(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) { FreePixelMemory(p, n * sizeof(T)); }
  // A default-inserted pixel byte is the zero the memory already holds.
  template <class U>
  void construct(U*) noexcept {}
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  template <class U>
  bool operator==(const PixelMemoryAllocator<U>&) const {
    return true;
  }
};

struct Surface {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 32;
  int stride = 0;  // bytes per row, a multiple of 4
  bool topDown = true;  // false: row 0 is the last row in memory (a bottom-up DIB)
  BYTE* bits = nullptr;
  // Paletted surfaces (1, 4, 8 bits): 2, 16 or 256 entries.
  std::vector<RGBQUAD> colorTable;
  // 16 and 32 bits: the channel masks (555 and 888 unless BI_BITFIELDS said otherwise).
  DWORD redMask = 0, greenMask = 0, blueMask = 0;
  // A monochrome device-dependent bitmap: the mono/colour rules of the blits apply to it.
  bool monochrome = false;

  // Owns the bits unless `bits` is set from outside (StretchDIBits' caller memory). `Storage(n)`
  // is n zero bytes.
  using Storage = std::vector<BYTE, PixelMemoryAllocator<BYTE>>;
  Storage storage;

  static int StrideFor(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }
  // Makes owned, zeroed storage; paletted formats get a colour table of their capacity (black) and
  // 16/32 bits the default masks.
  void Allocate(int w, int h, int bpp, bool topDownRows);
  bool Paletted() const { return bitsPerPixel <= 8; }
  DWORD ValueMask() const;  // the bits a pixel value may have

  BYTE* Row(int y) { return bits + static_cast<std::ptrdiff_t>(stride) * (topDown ? y : height - 1 - y); }
  const BYTE* Row(int y) const { return bits + static_cast<std::ptrdiff_t>(stride) * (topDown ? y : height - 1 - y); }
  DWORD Get(int x, int y) const;
  void Put(int x, int y, DWORD value);
  // Row access for whole spans [x0, x1), used by the blits.
  void ReadRow(int y, int x0, int x1, DWORD* out) const;
  void WriteRow(int y, int x0, int x1, const DWORD* in);

  // The pixel value that shows `color` (an RGB; PALETTEINDEX is resolved by the DC first): the
  // nearest colour-table entry on paletted surfaces.
  DWORD ValueOf(COLORREF color) const;
  COLORREF ColorOf(DWORD value) const;
};

// Index of the nearest entry: Euclidean distance in RGB, the first of equals.
int NearestEntry(const RGBQUAD* table, int count, COLORREF color);

// Remembers the last lookups of one long conversion, since searching 256 entries per pixel is slow.
class NearestCache {
 public:
  explicit NearestCache(const Surface& s) : surface_(s) {}
  DWORD ValueOf(COLORREF color);

 private:
  const Surface& surface_;
  static constexpr int kSize = 1024;
  COLORREF keys_[kSize];
  DWORD values_[kSize];
  bool used_[kSize] = {};
};

}  // namespace gdi
