// PNG files for the pixel graphics library's reader: our writer's output at each depth, and
// interlaced, 16-bit, 2-bit and transparent files made through libpng here.
#include <png.h>

#include <string>

#include "graphics/png_format.h"
#include "seeds.h"

namespace fuzz_seeds {

namespace {

std::string Written(TPGBitCount format) {
  TPixelGraphic image;
  image.SetSize(13, 7, format);
  if (format != pgbc24) image.SetPaletteIdent(format == pgbc1 ? pBlackWhite : format == pgbc4 ? pSys16 : pGray256);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x)
      image.SetPixel(x, y,
                     static_cast<std::uint32_t>(x * 19 + y * 40) % (format == pgbc24 ? 1 << 24 : image.PaletteCount()));
  TMemoryStream stream;
  TPNGFileFormatWriter().Write(&stream, &image);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

void Append(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

// A 5 x 4 file of the given kind with a bKGD chunk, and tRNS where the kind has no alpha.
std::string Made(int depth, int colorType, int interlace) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return out;
  }
  png_set_write_fn(png, &out, Append, nullptr);
  png_set_IHDR(png, info, 5, 4, depth, colorType, interlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  png_byte alpha[2] = {255, 0};
  png_color_16 background{};
  background.index = 2, background.gray = 1, background.red = 100;
  png_color_16 transparent{};
  if (colorType == PNG_COLOR_TYPE_PALETTE) {
    png_set_PLTE(png, info, palette, 3);
    png_set_tRNS(png, info, alpha, 2, nullptr);
  } else if ((colorType & PNG_COLOR_MASK_ALPHA) == 0) {
    png_set_tRNS(png, info, nullptr, 0, &transparent);
  }
  png_set_bKGD(png, info, &background);
  png_set_gAMA(png, info, 0.45455);
  png_write_info(png, info);
  const int passes = png_set_interlace_handling(png);
  png_byte row[5 * 8] = {0, 1, 2, 1, 0, 7, 9, 200, 3, 4};
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < 4; ++y) png_write_row(png, row);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

}  // namespace

std::vector<Seed> Seeds() {
  return {
      {"bw.png", Written(pgbc1)},
      {"sys16.png", Written(pgbc4)},
      {"grey.png", Written(pgbc8)},
      {"rgb.png", Written(pgbc24)},
      {"grey2-trns.png", Made(2, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE)},
      {"palette-trns.png", Made(8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE)},
      {"rgba16-interlaced.png", Made(16, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_ADAM7)},
      {"grey-alpha.png", Made(8, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_INTERLACE_NONE)},
  };
}

}  // namespace fuzz_seeds
