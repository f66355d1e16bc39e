#pragma once
// Pixel rows of the bitmap's formats: sizes, standard colour tables, reading and writing pixels,
// and the BMP file codec.
#include <cstdint>
#include <vector>

#include "vcl/graphics_images.h"

namespace dib {

// An image in memory: bottom-up rows of Stride(Width, Format) bytes.
struct TDibImage {
  int Width = 0;
  int Height = 0;
  TPixelFormat Format = pf24bit;
  std::vector<RGBQUAD> Colors;
  std::vector<BYTE> Bits;
};

int BitsPerPixel(TPixelFormat Format);
int Stride(int Width, TPixelFormat Format);
bool Paletted(TPixelFormat Format);
// The format the screen's depth stands for.
TPixelFormat DeviceFormat();
std::vector<RGBQUAD> StandardColors(TPixelFormat Format);
// The first of the nearest entries by distance in RGB.
BYTE NearestIndex(const std::vector<RGBQUAD>& Colors, RGBQUAD Color);
RGBQUAD PixelColor(const BYTE* Row, int X, TPixelFormat Format, const std::vector<RGBQUAD>& Colors);
void SetPixelColor(BYTE* Row, int X, TPixelFormat Format, const std::vector<RGBQUAD>& Colors, RGBQUAD Color);
// The raw value of a pixel (index or packed colour), for copying within one format.
std::uint32_t PixelValue(const BYTE* Row, int X, TPixelFormat Format);
void SetPixelValue(BYTE* Row, int X, TPixelFormat Format, std::uint32_t Value);

// A BITMAPINFO for the format (colour table or bit masks after the header), as bytes.
std::vector<BYTE> MakeBitmapInfo(int Width, int Height, TPixelFormat Format, const std::vector<RGBQUAD>& Colors);

// A BMP file from the stream's position; EInvalidGraphic "Bitmap image is not valid" for
// anything that is not one. Leaves the stream after the pixels.
TDibImage ReadBmp(TStream* Stream);
// A packed DIB (information header, colour table, pixels) of Size bytes.
TDibImage ReadPackedDib(const BYTE* Data, std::size_t Size);
// Bits: bottom-up rows of the format.
void WriteBmp(TStream* Stream, int Width, int Height, TPixelFormat Format, const std::vector<RGBQUAD>& Colors,
              const BYTE* Bits);
// The packed DIB form, without the file header.
void WritePackedDib(TStream* Stream, int Width, int Height, TPixelFormat Format, const std::vector<RGBQUAD>& Colors,
                    const BYTE* Bits);

}  // namespace dib
