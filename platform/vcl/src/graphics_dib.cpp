// Pixel rows of the bitmap's formats.
#include <cstring>

#include "graphics_dib.h"

namespace dib {

int BitsPerPixel(TPixelFormat Format) {
  switch (Format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    default: return BitsPerPixel(DeviceFormat());
  }
}

int Stride(int Width, TPixelFormat Format) { return ((Width * BitsPerPixel(Format) + 31) / 32) * 4; }

bool Paletted(TPixelFormat Format) { return Format == pf1bit || Format == pf4bit || Format == pf8bit; }

TPixelFormat DeviceFormat() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 15: return pf15bit;
    case 16: return pf16bit;
    case 24: return pf24bit;
    default: return pf32bit;
  }
}

std::vector<RGBQUAD> StandardColors(TPixelFormat Format) {
  switch (Format) {
    case pf1bit: return {{0, 0, 0, 0}, {255, 255, 255, 0}};
    case pf4bit:
      // The 16 VGA colours in their usual order.
      return {{0, 0, 0, 0},       {0, 0, 128, 0},   {0, 128, 0, 0},   {0, 128, 128, 0},
              {128, 0, 0, 0},     {128, 0, 128, 0}, {128, 128, 0, 0}, {192, 192, 192, 0},
              {128, 128, 128, 0}, {0, 0, 255, 0},   {0, 255, 0, 0},   {0, 255, 255, 0},
              {255, 0, 0, 0},     {255, 0, 255, 0}, {255, 255, 0, 0}, {255, 255, 255, 0}};
    case pf8bit: {
      // The 20 static colours of the system palette at both ends, a 6x6x6 colour cube and a
      // grey ramp between them.
      PALETTEENTRY statics[256] = {};
      HDC screen = GetDC(nullptr);
      GetSystemPaletteEntries(screen, 0, 256, statics);
      ReleaseDC(nullptr, screen);
      std::vector<RGBQUAD> colors(256);
      for (int i = 0; i < 256; ++i) colors[i] = {statics[i].peBlue, statics[i].peGreen, statics[i].peRed, 0};
      int i = 10;
      for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
          for (int b = 0; b < 6; ++b)
            colors[i++] = {static_cast<BYTE>(b * 51), static_cast<BYTE>(g * 51), static_cast<BYTE>(r * 51), 0};
      for (int k = 1; i < 246; ++i, ++k) {
        const BYTE v = static_cast<BYTE>(k * 255 / 21);
        colors[i] = {v, v, v, 0};
      }
      return colors;
    }
    default: return {};
  }
}

BYTE NearestIndex(const std::vector<RGBQUAD>& Colors, RGBQUAD Color) {
  int best = 0;
  int bestDistance = -1;
  for (std::size_t i = 0; i < Colors.size(); ++i) {
    const int dr = Colors[i].rgbRed - Color.rgbRed, dg = Colors[i].rgbGreen - Color.rgbGreen,
              db = Colors[i].rgbBlue - Color.rgbBlue;
    const int distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) best = static_cast<int>(i), bestDistance = distance;
  }
  return static_cast<BYTE>(best);
}

std::uint32_t PixelValue(const BYTE* Row, int X, TPixelFormat Format) {
  switch (Format) {
    case pf1bit: return (Row[X / 8] >> (7 - X % 8)) & 1;
    case pf4bit: return (Row[X / 2] >> (X % 2 ? 0 : 4)) & 0xF;
    case pf8bit: return Row[X];
    case pf15bit:
    case pf16bit: return Row[2 * X] | (Row[2 * X + 1] << 8);
    case pf24bit: return Row[3 * X] | (Row[3 * X + 1] << 8) | (std::uint32_t{Row[3 * X + 2]} << 16);
    default: {
      std::uint32_t v;
      std::memcpy(&v, Row + 4 * X, 4);
      return v;
    }
  }
}

void SetPixelValue(BYTE* Row, int X, TPixelFormat Format, std::uint32_t Value) {
  switch (Format) {
    case pf1bit: {
      const BYTE bit = static_cast<BYTE>(0x80 >> (X % 8));
      Row[X / 8] = static_cast<BYTE>(Value & 1 ? Row[X / 8] | bit : Row[X / 8] & ~bit);
      break;
    }
    case pf4bit: {
      const int shift = X % 2 ? 0 : 4;
      Row[X / 2] = static_cast<BYTE>((Row[X / 2] & ~(0xF << shift)) | ((Value & 0xF) << shift));
      break;
    }
    case pf8bit: Row[X] = static_cast<BYTE>(Value); break;
    case pf15bit:
    case pf16bit:
      Row[2 * X] = static_cast<BYTE>(Value);
      Row[2 * X + 1] = static_cast<BYTE>(Value >> 8);
      break;
    case pf24bit:
      Row[3 * X] = static_cast<BYTE>(Value);
      Row[3 * X + 1] = static_cast<BYTE>(Value >> 8);
      Row[3 * X + 2] = static_cast<BYTE>(Value >> 16);
      break;
    default: std::memcpy(Row + 4 * X, &Value, 4); break;
  }
}

namespace {
// A 5- or 6-bit channel widened to 8 bits with its high bits repeated, so white stays white.
BYTE Widen(std::uint32_t v, int bits) { return static_cast<BYTE>((v << (8 - bits)) | (v >> (2 * bits - 8))); }
}  // namespace

RGBQUAD PixelColor(const BYTE* Row, int X, TPixelFormat Format, const std::vector<RGBQUAD>& Colors) {
  const std::uint32_t v = PixelValue(Row, X, Format);
  switch (Format) {
    case pf1bit:
    case pf4bit:
    case pf8bit: return v < Colors.size() ? Colors[v] : RGBQUAD{0, 0, 0, 0};
    case pf15bit: return {Widen(v & 0x1F, 5), Widen((v >> 5) & 0x1F, 5), Widen((v >> 10) & 0x1F, 5), 0};
    case pf16bit: return {Widen(v & 0x1F, 5), Widen((v >> 5) & 0x3F, 6), Widen((v >> 11) & 0x1F, 5), 0};
    default: return {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16), 0};
  }
}

void SetPixelColor(BYTE* Row, int X, TPixelFormat Format, const std::vector<RGBQUAD>& Colors, RGBQUAD Color) {
  std::uint32_t v;
  switch (Format) {
    case pf1bit:
    case pf4bit:
    case pf8bit: v = NearestIndex(Colors, Color); break;
    case pf15bit: v = (Color.rgbRed >> 3) << 10 | (Color.rgbGreen >> 3) << 5 | Color.rgbBlue >> 3; break;
    case pf16bit: v = (Color.rgbRed >> 3) << 11 | (Color.rgbGreen >> 2) << 5 | Color.rgbBlue >> 3; break;
    default: v = Color.rgbBlue | Color.rgbGreen << 8 | std::uint32_t{Color.rgbRed} << 16; break;
  }
  SetPixelValue(Row, X, Format, v);
}

std::vector<BYTE> MakeBitmapInfo(int Width, int Height, TPixelFormat Format, const std::vector<RGBQUAD>& Colors) {
  const bool masks = Format == pf16bit;
  std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + (masks ? 12 : Colors.size() * sizeof(RGBQUAD)));
  BITMAPINFOHEADER h{};
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = Width;
  h.biHeight = Height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(BitsPerPixel(Format));
  h.biCompression = masks ? BI_BITFIELDS : BI_RGB;
  h.biSizeImage = static_cast<DWORD>(Stride(Width, Format)) * static_cast<DWORD>(Height);
  h.biXPelsPerMeter = h.biYPelsPerMeter = 3780;  // 96 dpi
  h.biClrUsed = static_cast<DWORD>(Colors.size());
  std::memcpy(info.data(), &h, sizeof h);
  if (masks) {
    const DWORD m[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(info.data() + sizeof h, m, sizeof m);
  } else if (!Colors.empty()) {
    std::memcpy(info.data() + sizeof h, Colors.data(), Colors.size() * sizeof(RGBQUAD));
  }
  return info;
}

}  // namespace dib
