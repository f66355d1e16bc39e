// Drawing the image onto a device context.
#include "graphics/pixel_graphic.h"

void TPixelGraphic::DrawToDC(HDC DC, const RECT& Rect, bool ForceBackground, DWORD Rop) {
  if (width_ <= 0 || height_ <= 0 || !bits_) return;
  SetStretchBltMode(DC, COLORONCOLOR);
  HPALETTE palette = GetPalette();
  HPALETTE previous = nullptr;
  if (palette) {
    previous = SelectPalette(DC, palette, ForceBackground);
    if (!skipRealize_) RealizePalette(DC);
  }
  FlushGdi();
  // Every device of the platform stretches DIBs (RC_STRETCHDIB), so no StretchBlt fallback.
  StretchDIBits(DC, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, 0, 0, width_, height_, bits_,
                BitmapInfo(), DIB_RGB_COLORS, Rop);
  if (palette) SelectPalette(DC, previous, ForceBackground);
}

void TPixelGraphic::Draw(TCanvas* ACanvas, const TRect& Rect) {
  DrawToDC(ACanvas->Handle(), Rect, true, static_cast<DWORD>(ACanvas->CopyMode()));
}
