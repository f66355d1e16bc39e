#pragma once
// Conversions that the bitmap writer and the processing component need.
#include <memory>

#include "vcl/graphics_images.h"

// A 1-bit copy of a 24-bit picture of exactly two colours, colour 0 the darker (by luminance), and
// the two colours as $00BBGGRR values; nothing for any other picture.
std::unique_ptr<TBitmap> ConvertToBilevel(TBitmap& source, COLORREF& color0, COLORREF& color1);
// A 1-bit picture as 24 bits: clear bits black, set bits white, whatever its colour table says.
void ConvertTo24Bit(TBitmap& source, TBitmap& dest);
// Makes `dest` a copy of `source`: format, size and pixels.
void CopyBitmap(TBitmap& source, TBitmap& dest);
