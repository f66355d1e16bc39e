#pragma once
// The check the pixel graphics library's reader targets make once a picture is read: the library
// writes it and reads it again, and the second picture must match the first.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "graphics/exceptions.h"
#include "graphics/file_formats.h"
#include "graphics/pixel_graphic.h"

// Reads the bytes into `image` by the reader of the extension `ext`, warnings ignored; false when
// the reader refuses them (its errors and sizes refused by the image).
inline bool ReadByExtension(const uint8_t* data, size_t size, const std::string& ext, TPixelGraphic& image) {
  TMemoryStream input;
  input.Write(data, static_cast<std::int64_t>(size));
  input.SetPosition(0);
  image.SetReadWarningAction(pgwaIgnore);
  try {
    image.LoadFromStreamExt(&input, ext, 0);
  } catch (const EPixelGraphic&) {
    return false;
  }
  return true;
}

// Writes `image` through the library's bitmap writer and reads it back into `again`.
inline void WriteBitmapAndReadBack(TPixelGraphic& image, TPixelGraphic& again) {
  TMemoryStream written;
  image.SaveToStream(&written);
  written.SetPosition(0);
  again.LoadFromStream(&written);
}

// The same size and raw pixel values; a file may hold indexes past its colour table.
inline void CheckSamePixels(TPixelGraphic& image, TPixelGraphic& again) {
  const int width = image.GetWidth(), height = image.GetHeight();
  if (again.GetWidth() != width || again.GetHeight() != height) abort();
  if (width == 0) return;  // a picture millions of rows tall with no columns would loop for a minute
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (again.GetPixel(x, y) != image.GetPixel(x, y)) abort();
}

// Through the library's bitmap writer and reader: the same size, depth and storage, padding
// included, as both hold the rows as the bitmap stores them.
inline void CheckBitmapRoundTrip(TPixelGraphic& image) {
  TPixelGraphic again;
  WriteBitmapAndReadBack(image, again);
  if (again.GetWidth() != image.GetWidth() || again.GetHeight() != image.GetHeight() ||
      again.GetBitCount() != image.GetBitCount())
    abort();
  if (image.ImageSize() != again.ImageSize() ||
      (image.ImageSize() > 0 &&
       std::memcmp(image.GetBits(), again.GetBits(), static_cast<std::size_t>(image.ImageSize())) != 0))
    abort();
}

// Through `writer` and the reader of the extension `ext`: the same size and raw pixel values.
inline void CheckRoundTrip(TPixelGraphic& image, TFileFormatWriter&& writer, const std::string& ext) {
  TMemoryStream written;
  writer.Write(&written, &image);
  written.SetPosition(0);
  TPixelGraphic again;
  again.LoadFromStreamExt(&written, ext, 0);
  CheckSamePixels(image, again);
}
