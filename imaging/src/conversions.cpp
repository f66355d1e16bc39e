#include "imaging/conversions.h"

#include <array>
#include <cstring>

#include "imaging/hash_set.h"
#include "vcl/system.h"

namespace {

COLORREF PixelColor(const std::uint8_t* p) { return RGB(p[2], p[1], p[0]); }

std::int64_t Luminance(COLORREF c) {
  return Round((30 * GetRValue(c) + 59 * GetGValue(c) + 11 * GetBValue(c)) / 100.0L);
}

// 24 bytes of black or white pixels for each value of a byte of a 1-bit row.
const std::array<std::array<std::uint8_t, 24>, 256>& ExpansionTable() {
  static const auto table = [] {
    std::array<std::array<std::uint8_t, 24>, 256> t{};
    for (int v = 0; v < 256; ++v)
      for (int bit = 0; bit < 8; ++bit)
        if (v & (0x80 >> bit)) std::memset(t[v].data() + 3 * bit, 255, 3);
    return t;
  }();
  return table;
}

}  // namespace

std::unique_ptr<DibBitmap> ConvertToBilevel(const DibBitmap& source, COLORREF& color0, COLORREF& color1) {
  if (source.Bits() != 24) return nullptr;
  const int w = source.Width(), h = source.Height();
  THash1 colors(13);
  auto result = std::make_unique<DibBitmap>(w, h, 1);
  COLORREF c0 = 0, c1 = 0;
  for (int y = 0; y < h && colors.Count() <= 2; ++y) {
    const std::uint8_t* in = source.ScanLine(y);
    std::uint8_t* out = result->ScanLine(y);
    for (int x = 0; x < w; ++x) {
      COLORREF c = PixelColor(in + 3 * x);
      if (colors.Insert(c)) (colors.Count() == 1 ? c0 : c1) = c;
      if (c != c0) out[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
    }
  }
  if (colors.Count() != 2) return nullptr;
  if (Luminance(c1) < Luminance(c0)) {
    std::swap(c0, c1);
    for (int y = 0; y < h; ++y) {
      std::uint8_t* row = result->ScanLine(y);
      for (int i = 0; i < (w + 7) / 8; ++i) row[i] = static_cast<std::uint8_t>(~row[i]);
      if (w % 8) row[(w - 1) / 8] &= static_cast<std::uint8_t>(0xFF00 >> (w % 8));  // padding stays clear
    }
  }
  color0 = c0;
  color1 = c1;
  return result;
}

void ConvertTo24Bit(const DibBitmap& source, DibBitmap& dest) {
  if (source.Bits() != 1) return;
  const int w = source.Width(), h = source.Height();
  dest.SetBits(24);
  dest.SetSize(w, h);
  const auto& table = ExpansionTable();
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* in = source.ScanLine(y);
    std::uint8_t* out = dest.ScanLine(y);
    int x = 0;
    for (; x + 8 <= w; x += 8) std::memcpy(out + 3 * x, table[in[x >> 3]].data(), 24);
    if (x < w) std::memcpy(out + 3 * x, table[in[x >> 3]].data(), static_cast<std::size_t>(3 * (w - x)));
  }
}

void CopyBitmap(const DibBitmap& source, DibBitmap& dest) {
  if (&source == &dest) return;
  dest.SetBits(source.Bits());
  dest.SetSize(source.Width(), source.Height());
  if (source.Memory())
    std::memcpy(dest.Memory(), source.Memory(), static_cast<std::size_t>(source.Stride() * source.Height()));
}
