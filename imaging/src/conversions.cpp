#include "imaging/conversions.h"

#include <array>
#include <cstring>

#include "imaging/bitmap_rows.h"
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

std::unique_ptr<TBitmap> ConvertToBilevel(TBitmap& source, COLORREF& color0, COLORREF& color1) {
  if (source.PixelFormat() != pf24bit) return nullptr;
  const int w = source.Width(), h = source.Height();
  THash1 colors(13);
  auto result = std::make_unique<TBitmap>();
  Reshape(*result, pf1bit, w, h);
  const PixelRows in24 = RowsOf(source), out1 = RowsOf(*result);
  for (int y = 0; y < h; ++y) std::memset(out1.Row(y), 0, static_cast<std::size_t>(-out1.step));
  COLORREF c0 = 0, c1 = 0;
  for (int y = 0; y < h && colors.Count() <= 2; ++y) {
    const std::uint8_t* in = in24.Row(y);
    std::uint8_t* out = out1.Row(y);
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
      std::uint8_t* row = out1.Row(y);
      for (int i = 0; i < (w + 7) / 8; ++i) row[i] = static_cast<std::uint8_t>(~row[i]);
      if (w % 8) row[(w - 1) / 8] &= static_cast<std::uint8_t>(0xFF00 >> (w % 8));  // padding stays clear
    }
  }
  color0 = c0;
  color1 = c1;
  return result;
}

void ConvertTo24Bit(TBitmap& source, TBitmap& dest) {
  if (source.PixelFormat() != pf1bit || &source == &dest) return;
  const int w = source.Width(), h = source.Height();
  Reshape(dest, pf24bit, w, h);
  const auto& table = ExpansionTable();
  const PixelRows from = RowsOf(source), to = RowsOf(dest);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* in = from.Row(y);
    std::uint8_t* out = to.Row(y);
    int x = 0;
    for (; x + 8 <= w; x += 8) std::memcpy(out + 3 * x, table[in[x >> 3]].data(), 24);
    if (x < w) std::memcpy(out + 3 * x, table[in[x >> 3]].data(), static_cast<std::size_t>(3 * (w - x)));
  }
}

// The class library's copy makes the new image from the source's pixels in one block, without
// converting or copying the destination's old picture first.
void CopyBitmap(TBitmap& source, TBitmap& dest) {
  if (&source != &dest) dest.Assign(&source);
}
