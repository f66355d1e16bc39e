#pragma once
// Conversions that the bitmap writer and the processing component need.
#include <memory>

#include "imaging/dib_bitmap.h"

// A 1-bit copy of a 24-bit picture of exactly two colours, colour 0 the darker (by luminance), and
// the two colours as $00BBGGRR values; nothing for any other picture.
std::unique_ptr<DibBitmap> ConvertToBilevel(const DibBitmap& source, COLORREF& color0, COLORREF& color1);
// A 1-bit picture as 24 bits: clear bits black, set bits white.
void ConvertTo24Bit(const DibBitmap& source, DibBitmap& dest);
// Makes `dest` a copy of `source`: format, size and pixels.
void CopyBitmap(const DibBitmap& source, DibBitmap& dest);
