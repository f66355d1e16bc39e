#pragma once
// PNG files made in code through libpng, for the codec's tests.
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "graphics/pixel_graphic.h"
#include "vcl/streams.h"

struct TPNGFile {
  png_uint_32 Width = 1;
  png_uint_32 Height = 1;
  int BitDepth = 8;
  int ColorType = PNG_COLOR_TYPE_RGB;
  int Interlace = PNG_INTERLACE_NONE;
  std::vector<std::string> Rows;  // packed as the file holds them, top row first
  std::vector<png_color> Palette;
  std::vector<png_byte> TransAlpha;  // palette files
  bool HasTransColor = false;
  png_color_16 TransColor{};
  bool HasBackground = false;
  png_color_16 Background{};
  double Gamma = 0;  // 0: no gAMA
  std::string Text;  // a tEXt chunk "Comment" when not empty

  std::string Bytes() const {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
      png_destroy_write_struct(&png, &info);
      return {};
    }
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t length) {
          static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(data), length);
        },
        nullptr);
    png_set_IHDR(png, info, Width, Height, BitDepth, ColorType, Interlace, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!Palette.empty()) png_set_PLTE(png, info, Palette.data(), static_cast<int>(Palette.size()));
    if (!TransAlpha.empty() || HasTransColor)
      png_set_tRNS(png, info, TransAlpha.empty() ? nullptr : TransAlpha.data(), static_cast<int>(TransAlpha.size()),
                   HasTransColor ? &TransColor : nullptr);
    if (HasBackground) png_set_bKGD(png, info, &Background);
    if (Gamma > 0) png_set_gAMA(png, info, Gamma);
    png_text text{};
    if (!Text.empty()) {
      text.compression = PNG_TEXT_COMPRESSION_NONE;
      text.key = const_cast<char*>("Comment");
      text.text = const_cast<char*>(Text.c_str());
      png_set_text(png, info, &text, 1);
    }
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
      for (const std::string& row : Rows) {
        std::string copy = row;
        png_write_row(png, reinterpret_cast<png_bytep>(copy.data()));
      }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
  }
};

// What libpng itself reads from a file: the header and the palette size.
struct TPNGFacts {
  png_uint_32 Width = 0, Height = 0;
  int BitDepth = 0, ColorType = -1, PaletteCount = 0;
  bool HasGamma = false;
  double Gamma = 0;
};

inline TPNGFacts PNGFactsOf(const std::string& file) {
  TPNGFacts facts;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  struct Cursor {
    const std::string* data;
    std::size_t at;
  } cursor{&file, 0};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return facts;
  }
  png_set_read_fn(png, &cursor, [](png_structp p, png_bytep data, png_size_t length) {
    auto* c = static_cast<Cursor*>(png_get_io_ptr(p));
    if (c->at + length > c->data->size()) png_error(p, "short");
    std::memcpy(data, c->data->data() + c->at, length);
    c->at += length;
  });
  png_read_info(png, info);
  png_get_IHDR(png, info, &facts.Width, &facts.Height, &facts.BitDepth, &facts.ColorType, nullptr, nullptr, nullptr);
  png_colorp palette = nullptr;
  if (png_get_PLTE(png, info, &palette, &facts.PaletteCount) == 0) facts.PaletteCount = 0;
  facts.HasGamma = png_get_gAMA(png, info, &facts.Gamma) != 0;
  png_destroy_read_struct(&png, &info, nullptr);
  return facts;
}

inline void FillStream(TMemoryStream& stream, const std::string& bytes) {
  stream.Clear();
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
}

inline std::string StreamBytes(TMemoryStream& stream) {
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}
