#pragma once
// JPEG files made in code through libjpeg, for the codec's tests.
#include <cstdio>
#include <string>

#include "graphics/pixel_graphic.h"
#include "vcl/streams.h"

#include <jpeglib.h>

// Pixels by position: Components samples each, in the colour space's own order.
struct TJPEGFile {
  int Width = 8;
  int Height = 8;
  int Components = 3;
  J_COLOR_SPACE Space = JCS_RGB;
  bool Progressive = false;
  bool WriteJFIF = true;
  bool WriteAdobe = false;
  int Quality = 95;
  unsigned char (*Sample)(int x, int y, int c) = [](int x, int y, int c) {
    return static_cast<unsigned char>(c == 0 ? x * 30 : c == 1 ? y * 30 : 128);
  };

  std::string Bytes() const {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(Width);
    info.image_height = static_cast<JDIMENSION>(Height);
    info.input_components = Components;
    info.in_color_space = Space;
    jpeg_set_defaults(&info);
    info.write_JFIF_header = WriteJFIF;
    info.write_Adobe_marker = WriteAdobe;
    jpeg_set_quality(&info, Quality, TRUE);
    if (Progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::string row(static_cast<std::size_t>(Width * Components), '\0');
    while (info.next_scanline < info.image_height) {
      const int y = static_cast<int>(info.next_scanline);
      for (int x = 0; x < Width; ++x)
        for (int c = 0; c < Components; ++c)
          row[static_cast<std::size_t>(x * Components + c)] = static_cast<char>(Sample(x, y, c));
      JSAMPROW pointer = reinterpret_cast<JSAMPROW>(row.data());
      jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return out;
  }
};

inline void FillJPEGStream(TMemoryStream& stream, const std::string& bytes) {
  stream.Clear();
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
}

// The largest channel difference between two images of one size.
inline int LargestDifference(TPixelGraphic& a, TPixelGraphic& b) {
  int worst = 0;
  for (int y = 0; y < a.GetHeight(); ++y)
    for (int x = 0; x < a.GetWidth(); ++x) {
      const TColor p = a.GetPixelColor(x, y), q = b.GetPixelColor(x, y);
      for (int shift = 0; shift < 24; shift += 8)
        worst =
            std::max(worst, std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF)));
    }
  return worst;
}
