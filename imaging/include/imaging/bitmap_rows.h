#pragma once
// How the imaging library works on the class library's bitmaps: rows as bytes, the bits of a
// pixel format, and the reshaping that readers and conversions do before they fill a bitmap.
#include <cstdint>

#include "imaging/pixel_rows.h"
#include "vcl/graphics_images.h"

// True when a Width x Height bitmap of Bits per pixel fits a DIB section (win32/dib_limits.h),
// the one size limit of pictures. Readers ask before they size anything for a picture, so that
// they refuse it with their own message.
bool FitsBitmap(std::int64_t Width, std::int64_t Height, int Bits);

// Bits per pixel of a format; 0 for pfDevice and pfCustom.
int FormatBits(TPixelFormat Format);
inline int BitsOf(const TBitmap& Bitmap) { return FormatBits(Bitmap.PixelFormat()); }
// Row Y counted from the top.
inline std::uint8_t* RowOf(TBitmap& Bitmap, int Y) { return static_cast<std::uint8_t*>(Bitmap.ScanLine(Y)); }
// All rows of a bitmap of an explicit format; none for an empty one.
PixelRows RowsOf(TBitmap& Bitmap);
// Width x Height zeroed pixels of the format (black, or index 0), so that what a reader does not
// reach reads as zeros. The old picture is dropped first, so no copy of it is made on the way.
void Reshape(TBitmap& Bitmap, TPixelFormat Format, int Width, int Height);
// Fills the whole bitmap with a colour value $00BBGGRR through a solid brush.
void FillBitmap(TBitmap& Bitmap, COLORREF Color);
