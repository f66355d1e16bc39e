#include "surface.h"

#include <sys/mman.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace gdi {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this the allocator's own memory, reused from picture to picture, is cheaper.
constexpr std::size_t kKernelPixelMemory = std::size_t{4} << 20;

std::size_t KernelBytes(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

}  // namespace

void* AllocatePixelMemory(std::size_t bytes) {
  if (bytes < kKernelPixelMemory) {
    if (void* p = std::calloc(bytes ? bytes : 1, 1)) return p;
    throw std::bad_alloc();
  }
  // Mapped with a huge page of slack and trimmed to a huge-page boundary at both ends.
  const std::size_t size = KernelBytes(bytes);
  void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) munmap(mapped, aligned - start);
  const std::uintptr_t end = start + size + kHugePage;
  if (end > aligned + size) munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
  madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void FreePixelMemory(void* memory, std::size_t bytes) {
  if (!memory) return;
  if (bytes < kKernelPixelMemory) std::free(memory);
  else
    munmap(memory, KernelBytes(bytes));
}

void Surface::Allocate(int w, int h, int bpp, bool topDownRows) {
  width = w;
  height = h;
  bitsPerPixel = bpp;
  topDown = topDownRows;
  stride = StrideFor(w, bpp);
  storage = Storage(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h));
  bits = storage.data();
  colorTable.assign(Paletted() ? (1u << bpp) : 0u, RGBQUAD{0, 0, 0, 0});
  if (bpp == 16) {
    redMask = 0x7C00, greenMask = 0x03E0, blueMask = 0x001F;
  } else if (bpp == 32) {
    redMask = 0xFF0000, greenMask = 0x00FF00, blueMask = 0x0000FF;
  } else {
    redMask = greenMask = blueMask = 0;
  }
}

DWORD Surface::ValueMask() const {
  switch (bitsPerPixel) {
    case 1: return 0x1;
    case 4: return 0xF;
    case 8: return 0xFF;
    case 16: return 0xFFFF;
    case 24: return 0xFFFFFF;
    default: return redMask | greenMask | blueMask;
  }
}

DWORD Surface::Get(int x, int y) const {
  const BYTE* row = Row(y);
  switch (bitsPerPixel) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? row[x >> 1] & 0xF : row[x >> 1] >> 4;
    case 8: return row[x];
    case 16: return static_cast<DWORD>(row[2 * x] | (row[2 * x + 1] << 8));
    case 24: return static_cast<DWORD>(row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16));
    default: {
      const BYTE* p = row + 4 * x;
      return static_cast<DWORD>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24));
    }
  }
}

void Surface::Put(int x, int y, DWORD v) {
  BYTE* row = Row(y);
  switch (bitsPerPixel) {
    case 1: {
      BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<BYTE>((v & 1) ? row[x >> 3] | bit : row[x >> 3] & ~bit);
      break;
    }
    case 4:
      row[x >> 1] =
          static_cast<BYTE>((x & 1) ? (row[x >> 1] & 0xF0) | (v & 0xF) : (row[x >> 1] & 0x0F) | ((v & 0xF) << 4));
      break;
    case 8: row[x] = static_cast<BYTE>(v); break;
    case 16:
      row[2 * x] = static_cast<BYTE>(v);
      row[2 * x + 1] = static_cast<BYTE>(v >> 8);
      break;
    case 24:
      row[3 * x] = static_cast<BYTE>(v);
      row[3 * x + 1] = static_cast<BYTE>(v >> 8);
      row[3 * x + 2] = static_cast<BYTE>(v >> 16);
      break;
    default: {
      BYTE* p = row + 4 * x;
      p[0] = static_cast<BYTE>(v);
      p[1] = static_cast<BYTE>(v >> 8);
      p[2] = static_cast<BYTE>(v >> 16);
      p[3] = static_cast<BYTE>(v >> 24);
    }
  }
}

void Surface::ReadRow(int y, int x0, int x1, DWORD* out) const {
  if (bitsPerPixel == 32) {
    const BYTE* p = Row(y) + 4 * x0;
    for (int x = x0; x < x1; ++x, p += 4)
      *out++ = static_cast<DWORD>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24));
  } else if (bitsPerPixel == 24) {
    const BYTE* p = Row(y) + 3 * x0;
    for (int x = x0; x < x1; ++x, p += 3) *out++ = static_cast<DWORD>(p[0] | (p[1] << 8) | (p[2] << 16));
  } else {
    for (int x = x0; x < x1; ++x) *out++ = Get(x, y);
  }
}

void Surface::WriteRow(int y, int x0, int x1, const DWORD* in) {
  if (bitsPerPixel == 24) {
    BYTE* p = Row(y) + 3 * x0;
    for (int x = x0; x < x1; ++x, p += 3, ++in) {
      p[0] = static_cast<BYTE>(*in);
      p[1] = static_cast<BYTE>(*in >> 8);
      p[2] = static_cast<BYTE>(*in >> 16);
    }
  } else {
    for (int x = x0; x < x1; ++x) Put(x, y, *in++);
  }
}

namespace {

// Scales a colour channel of 8 bits into a mask's field and back.
DWORD ToField(BYTE c, DWORD mask) {
  if (!mask) return 0;
  int shift = std::countr_zero(mask);
  DWORD max = mask >> shift;
  return ((static_cast<DWORD>(c) * max + 127) / 255) << shift;
}
BYTE FromField(DWORD v, DWORD mask) {
  if (!mask) return 0;
  int shift = std::countr_zero(mask);
  DWORD max = mask >> shift;
  return static_cast<BYTE>((((v & mask) >> shift) * 255 + max / 2) / max);
}

}  // namespace

int NearestEntry(const RGBQUAD* table, int count, COLORREF color) {
  int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i < count; ++i) {
    long dr = table[i].rgbRed - r, dg = table[i].rgbGreen - g, db = table[i].rgbBlue - b;
    long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
      if (d == 0) break;
    }
  }
  return best;
}

DWORD Surface::ValueOf(COLORREF color) const {
  BYTE r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8: return static_cast<DWORD>(NearestEntry(colorTable.data(), static_cast<int>(colorTable.size()), color));
    case 24: return static_cast<DWORD>(b | (g << 8) | (r << 16));
    default: return ToField(r, redMask) | ToField(g, greenMask) | ToField(b, blueMask);
  }
}

COLORREF Surface::ColorOf(DWORD v) const {
  switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8: {
      if (v >= colorTable.size()) return RGB(0, 0, 0);
      const RGBQUAD& q = colorTable[v];
      return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    case 24: return RGB(static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v));
    default: return RGB(FromField(v, redMask), FromField(v, greenMask), FromField(v, blueMask));
  }
}

DWORD NearestCache::ValueOf(COLORREF color) {
  if (!surface_.Paletted()) return surface_.ValueOf(color);
  std::size_t slot = ((color * 2654435761u) >> 22) % kSize;
  if (used_[slot] && keys_[slot] == color) return values_[slot];
  used_[slot] = true;
  keys_[slot] = color;
  values_[slot] = surface_.ValueOf(color);
  return values_[slot];
}

}  // namespace gdi
