#include "imaging/bitmap_rows.h"

#include <cstring>

#include "imaging/bit_routines.h"
#include "win32/dib_limits.h"

int FormatBits(TPixelFormat Format) {
  switch (Format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit: return 15;
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    default: return 0;
  }
}

PixelRows RowsOf(TBitmap& Bitmap) {
  const int bits = BitsOf(Bitmap), width = Bitmap.Width(), height = Bitmap.Height();
  if (Bitmap.Empty() || bits == 0) return {nullptr, 0, 0, 0, bits};
  // Storage is bottom-up: each row lies one stride below the row above it in memory.
  const auto stride = static_cast<std::ptrdiff_t>(RowStride(width, bits == 15 ? 16 : bits));
  return {RowOf(Bitmap, 0), -stride, width, height, bits};
}

bool FitsBitmap(std::int64_t Width, std::int64_t Height, int Bits) { return FitsDib(Width, Height, Bits); }

void Reshape(TBitmap& Bitmap, TPixelFormat Format, int Width, int Height) {
  Bitmap.Clear();
  Bitmap.SetPixelFormat(Format);
  Bitmap.SetWidth(Width);
  Bitmap.SetHeight(Height);
  if (Bitmap.Empty()) return;
  // The storage is one block from the bottom row up.
  const PixelRows rows = RowsOf(Bitmap);
  std::memset(rows.Row(rows.height - 1), 0,
              static_cast<std::size_t>(-rows.step) * static_cast<std::size_t>(rows.height));
}

void FillBitmap(TBitmap& Bitmap, COLORREF Color) {
  if (Bitmap.Empty()) return;
  TCanvas* canvas = Bitmap.Canvas();
  canvas->Brush()->SetColor(static_cast<TColor>(Color));
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect({0, 0, Bitmap.Width(), Bitmap.Height()});
}
