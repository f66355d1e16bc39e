#pragma once
// JPEG files written by libjpeg's compressor for the tests and the fuzz seeds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

struct JpegOptions {
  int width = 24, height = 16;
  bool grey = false, progressive = false;
  int densityUnit = 1, xDensity = 72, yDensity = 72;
};

// A file written by libjpeg's compressor: left half red, right half blue (grey: dark and light).
inline std::vector<std::uint8_t> WriteJpeg(const JpegOptions& o) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* memory = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &memory, &size);
  info.image_width = static_cast<JDIMENSION>(o.width);
  info.image_height = static_cast<JDIMENSION>(o.height);
  info.input_components = o.grey ? 1 : 3;
  info.in_color_space = o.grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (o.progressive) jpeg_simple_progression(&info);
  info.density_unit = static_cast<UINT8>(o.densityUnit);
  info.X_density = static_cast<UINT16>(o.xDensity);
  info.Y_density = static_cast<UINT16>(o.yDensity);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(o.width * info.input_components));
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < o.width; ++x) {
      const bool left = x < o.width / 2;
      if (o.grey) row[static_cast<std::size_t>(x)] = left ? 40 : 220;
      else {
        row[static_cast<std::size_t>(3 * x)] = left ? 250 : 0;
        row[static_cast<std::size_t>(3 * x + 1)] = 0;
        row[static_cast<std::size_t>(3 * x + 2)] = left ? 0 : 250;
      }
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> out(memory, memory + size);
  std::free(memory);
  return out;
}
