#include "dib.h"

#include <cstring>

#include "objects.h"
#include "win32/dib_limits.h"

namespace gdi {

bool ReadDibFormat(const BITMAPINFO* info, UINT usage, const DeviceContext* dc, Surface& out) {
  if (!info) return false;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return false;
  int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  bool bitfields = h.biCompression == BI_BITFIELDS;
  if (h.biCompression != BI_RGB && !(bitfields && (bpp == 16 || bpp == 32))) return false;
  std::int64_t width = h.biWidth, height = h.biHeight < 0 ? -std::int64_t{h.biHeight} : h.biHeight;
  if (!FitsDib(width, height, bpp)) return false;

  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.bitsPerPixel = bpp;
  out.topDown = h.biHeight < 0;
  out.stride = static_cast<int>(DibStride(width, bpp));
  out.monochrome = false;
  out.colorTable.clear();
  out.redMask = out.greenMask = out.blueMask = 0;

  const BYTE* after = reinterpret_cast<const BYTE*>(info) + h.biSize;
  if (bpp == 16) out.redMask = 0x7C00, out.greenMask = 0x03E0, out.blueMask = 0x001F;
  if (bpp == 32) out.redMask = 0xFF0000, out.greenMask = 0x00FF00, out.blueMask = 0x0000FF;
  if (bitfields) {
    // A 40-byte header is followed by the masks; larger headers carry them at offset 40.
    const BYTE* masks = h.biSize == sizeof(BITMAPINFOHEADER) ? after : reinterpret_cast<const BYTE*>(info) + 40;
    DWORD m[3];
    std::memcpy(m, masks, sizeof m);
    if (!m[0] || !m[1] || !m[2]) return false;
    out.redMask = m[0], out.greenMask = m[1], out.blueMask = m[2];
  }
  if (bpp <= 8) {
    std::size_t capacity = std::size_t{1} << bpp;
    std::size_t count = h.biClrUsed && h.biClrUsed < capacity ? h.biClrUsed : capacity;
    out.colorTable.assign(capacity, RGBQUAD{0, 0, 0, 0});
    if (usage == DIB_PAL_COLORS) {
      PaletteObject* p = dc ? FindPalette(dc->state.palette) : nullptr;
      if (!p) return false;
      for (std::size_t i = 0; i < count; ++i) {
        WORD index;
        std::memcpy(&index, after + 2 * i, 2);
        if (index < p->entries.size()) {
          const PALETTEENTRY& e = p->entries[index];
          out.colorTable[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
        }
      }
    } else {
      std::memcpy(out.colorTable.data(), after, count * sizeof(RGBQUAD));
      for (RGBQUAD& q : out.colorTable) q.rgbReserved = 0;
    }
  }
  return true;
}

std::size_t DibImageSize(const Surface& f) {
  return static_cast<std::size_t>(f.stride) * static_cast<std::size_t>(f.height);
}

std::vector<RGBQUAD> StandardTable(int bpp) {
  auto q = [](BYTE r, BYTE g, BYTE b) { return RGBQUAD{b, g, r, 0}; };
  if (bpp == 1) return {q(0, 0, 0), q(255, 255, 255)};
  const PALETTEENTRY* s = StaticColors();
  if (bpp == 4) {
    // The 16 VGA colours are the static colours without the four "reserved" ones (8-11).
    std::vector<RGBQUAD> t;
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 12, 13, 14, 15, 16, 17, 18, 19})
      t.push_back(q(s[i].peRed, s[i].peGreen, s[i].peBlue));
    return t;
  }
  std::vector<RGBQUAD> t(256);
  for (int i = 0; i < 10; ++i) t[i] = q(s[i].peRed, s[i].peGreen, s[i].peBlue);
  for (int i = 10; i < 20; ++i) t[236 + i] = q(s[i].peRed, s[i].peGreen, s[i].peBlue);
  int n = 10;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        t[n++] = q(static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51), static_cast<BYTE>(b * 51));
  for (int i = 0; i < 20; ++i) {
    BYTE v = static_cast<BYTE>(8 + i * 12);
    t[n++] = q(v, v, v);
  }
  return t;
}

}  // namespace gdi
