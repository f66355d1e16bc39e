// GIF, TIFF and bitmap files written by independent encoders (giflib's and libtiff's tools,
// ImageMagick) must decode to the pixels those tools' own decoders give. Each case is skipped when its tool is
// missing (scripts/setup --bench installs them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "host/testing/outside_tools.h"
#include "bmp_file_builder.h"
#include "gif_file_writer.h"
#include "imaging/bmp_codec.h"
#include "imaging/gif_lzw.h"
#include "imaging/gif_reader.h"
#include "imaging/tiff_lzw.h"
#include "imaging/tiff_reader.h"
#include "test_pictures.h"
#include "vcl/graphics_images.h"
#include "win32/testing/machine_root.h"

namespace {

namespace fs = std::filesystem;

// Red, green, blue per pixel, rows top to bottom.
struct Rgb {
  int width = 0, height = 0;
  std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& header, const std::vector<std::uint8_t>& data) {
  std::ofstream out(path, std::ios::binary);
  out << header;
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

// A binary PPM (P6, maxval 255) as the tools write it.
Rgb ReadPpm(const fs::path& path) {
  const std::vector<std::uint8_t> file = ReadBytes(path);
  std::istringstream head(
      std::string(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(file.size(), 64))));
  std::string magic;
  int maxval = 0;
  Rgb rgb;
  head >> magic >> rgb.width >> rgb.height >> maxval;
  if (magic != "P6" || maxval != 255) return {};
  const std::size_t start = static_cast<std::size_t>(head.tellg()) + 1;
  rgb.bytes.assign(file.begin() + static_cast<std::ptrdiff_t>(start), file.end());
  return rgb;
}

// Our reading of the bitmap: 24-bit pixels as they are, 1-bit set bits as white.
Rgb FromBitmap(TBitmap& bitmap) {
  Rgb rgb{bitmap.Width(), bitmap.Height(), {}};
  for (int y = 0; y < rgb.height; ++y)
    for (int x = 0; x < rgb.width; ++x) {
      if (bitmap.PixelFormat() == pf1bit) {
        const bool white = (RowOf(bitmap, y)[x / 8] >> (7 - x % 8)) & 1;
        rgb.bytes.insert(rgb.bytes.end(), 3, white ? 255 : 0);
        continue;
      }
      const COLORREF c = PixelAt(bitmap, x, y);
      rgb.bytes.insert(rgb.bytes.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    }
  return rgb;
}

// Each channel within Tolerance of the tool's: 16-bit bitmaps' channels are widened differently.
void ExpectSamePixels(const Rgb& ours, const Rgb& theirs, int Tolerance = 0) {
  ASSERT_GT(theirs.width, 0) << "the tool's decoding is missing";
  ASSERT_EQ(ours.width, theirs.width);
  ASSERT_EQ(ours.height, theirs.height);
  ASSERT_EQ(ours.bytes.size(), theirs.bytes.size());
  for (std::size_t i = 0; i < ours.bytes.size(); ++i)
    if (std::abs(ours.bytes[i] - theirs.bytes[i]) > Tolerance) {
      const std::size_t pixel = i / 3;
      FAIL() << "first difference at x " << pixel % static_cast<std::size_t>(ours.width) << ", y "
             << pixel / static_cast<std::size_t>(ours.width) << ": ours " << int{ours.bytes[i]} << ", theirs "
             << int{theirs.bytes[i]};
    }
}

Rgb ReadOurGif(const fs::path& path) {
  TBitmap bitmap;
  TVelmoraIOParams params(nullptr);
  params.GifLzwDecoder = GifLzwDecode;
  int count = 0;
  GIFReadFile(path.string(), bitmap, count, {}, params);
  return FromBitmap(bitmap);
}

Rgb ReadOurTiff(const fs::path& path) {
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  TMemoryStream stream;
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  TBitmap bitmap;
  TVelmoraIOParams params(nullptr);
  params.TiffLzwDecoder = TiffLzwDecode;
  int count = 0;
  TIFFReadStream(bitmap, &stream, count, {}, params);
  return FromBitmap(bitmap);
}

Rgb ReadOurBmp(const fs::path& path) {
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  TMemoryStream stream;
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  TBitmap bitmap;
  TVelmoraIOParams params(nullptr);
  BMPReadStream(&stream, bitmap, stream.Size(), {}, params);
  return FromBitmap(bitmap);
}

void RunTool(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

// Pictures with long runs and noisy stretches, so the LZW tables fill and restart.
struct Pictures {
  ScopedMachineRoot root;
  fs::path dir = root.Path() / "conformance";
  static constexpr int kWidth = 301, kHeight = 203;

  Pictures() {
    fs::create_directories(dir);
    std::vector<std::uint8_t> rgb, grey, bilevel;
    const int lineBytes = (kWidth + 7) / 8;
    bilevel.assign(static_cast<std::size_t>(lineBytes * kHeight), 0);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const int band = (x / 23 + y / 17) % 4;
        const unsigned noise = static_cast<unsigned>(x * 7919 + y * 104729) * 2654435761u >> 24;
        const int index = band == 0 ? 5 : band == 1 ? static_cast<int>(noise % 200) : (x + y) % 37 + band * 40;
        rgb.insert(rgb.end(), {static_cast<std::uint8_t>(index * 5), static_cast<std::uint8_t>(index * 97),
                               static_cast<std::uint8_t>(255 - index)});
        grey.push_back(static_cast<std::uint8_t>(band == 1 ? noise : index * 3));
        const bool black = band == 1 ? noise % 3 == 0 : (x * x + y * 3) % 97 < 40;
        if (black)
          bilevel[static_cast<std::size_t>(y * lineBytes + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    const std::string size = std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n";
    WriteBytes(dir / "colour.ppm", "P6\n" + size + "255\n", rgb);
    WriteBytes(dir / "colour.rgb", "", rgb);
    WriteBytes(dir / "grey.pgm", "P5\n" + size + "255\n", grey);
    WriteBytes(dir / "bilevel.pbm", "P4\n" + size, bilevel);
  }
  std::string operator()(const std::string& name) const { return (dir / name).string(); }
};

TEST(ReaderOutsideTools, GifFilesOfGiflibAndImageMagick) {
  const bool giflib = HaveTool("gif2rgb"), magick = HaveTool("convert");
  if (!giflib && !magick) GTEST_SKIP() << "neither gif2rgb nor convert";
  Pictures p;
  std::vector<std::string> files;
  if (giflib) {
    RunTool("gif2rgb -c 8 -1 -s " + std::to_string(p.kWidth) + " " + std::to_string(p.kHeight) + " " + p("colour.rgb") +
            " >" + p("giflib.gif"));
    files.push_back("giflib.gif");
  }
  if (magick) {
    RunTool("convert " + p("colour.ppm") + " " + p("magick.gif"));
    RunTool("convert " + p("colour.ppm") + " -interlace GIF " + p("magick_interlaced.gif"));
    RunTool("convert " + p("grey.pgm") + " -colors 16 " + p("magick_sixteen.gif"));
    files.insert(files.end(), {"magick.gif", "magick_interlaced.gif", "magick_sixteen.gif"});
  }
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const Rgb ours = ReadOurGif(p(file));
    if (giflib) {
      RunTool("gif2rgb -1 -o " + p(file + ".rgb") + " " + p(file));
      ExpectSamePixels(ours, {p.kWidth, p.kHeight, ReadBytes(p(file + ".rgb"))});
    }
    if (magick) {
      RunTool("convert " + p(file) + " -depth 8 ppm:" + p(file + ".ppm"));
      ExpectSamePixels(ours, ReadPpm(p(file + ".ppm")));
    }
  }
}

TEST(ReaderOutsideTools, TiffFilesOfLibtiffAndImageMagick) {
  const bool libtiff = HaveTool("tiffcp") && HaveTool("ppm2tiff"), magick = HaveTool("convert");
  if (!magick) GTEST_SKIP() << "no convert to decode with";
  Pictures p;
  struct Case {
    const char* file;
    std::string command;
  };
  std::vector<Case> cases;
  if (libtiff) {
    RunTool("ppm2tiff " + p("colour.ppm") + " " + p("colour.tif"));
    RunTool("ppm2tiff " + p("grey.pgm") + " " + p("grey.tif"));
    RunTool("ppm2tiff " + p("bilevel.pbm") + " " + p("bilevel.tif"));
    const auto cp = [&](const char* options, const char* in, const char* out) {
      return Case{out, "tiffcp " + std::string(options) + " " + p(in) + " " + p(out)};
    };
    cases.insert(cases.end(), {
                                  cp("-c lzw", "colour.tif", "lzw.tif"),
                                  cp("-c lzw:2 -r 16", "colour.tif", "lzw_predictor_strips.tif"),
                                  cp("-c lzw", "grey.tif", "lzw_grey.tif"),
                                  cp("-c packbits", "colour.tif", "packbits.tif"),
                                  cp("-c packbits", "bilevel.tif", "packbits_bilevel.tif"),
                                  cp("-c g3", "bilevel.tif", "g3.tif"),
                                  cp("-c g3:2d -r 8", "bilevel.tif", "g3_2d.tif"),
                                  cp("-c g3:fill", "bilevel.tif", "g3_fill.tif"),
                                  cp("-c g4", "bilevel.tif", "g4.tif"),
                                  cp("-c g4 -f lsb2msb", "bilevel.tif", "g4_lsb.tif"),
                                  cp("-c none -B", "colour.tif", "big_endian.tif"),
                                  cp("-c lzw -B", "bilevel.tif", "lzw_bilevel_big_endian.tif"),
                              });
  }
  cases.insert(cases.end(),
               {
                   {"magick_lzw.tif", "convert " + p("colour.ppm") + " -compress lzw " + p("magick_lzw.tif")},
                   {"magick_packbits.tif", "convert " + p("colour.ppm") + " -compress rle " + p("magick_packbits.tif")},
                   {"magick_g4.tif", "convert " + p("bilevel.pbm") + " -compress group4 " + p("magick_g4.tif")},
                   {"magick_g3.tif", "convert " + p("bilevel.pbm") + " -compress fax " + p("magick_g3.tif")},
               });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    RunTool(c.command);
    RunTool("convert " + p(c.file) + " -depth 8 ppm:" + p(std::string(c.file) + ".ppm"));
    ExpectSamePixels(ReadOurTiff(p(c.file)), ReadPpm(p(std::string(c.file) + ".ppm")));
  }
}

TEST(ReaderOutsideTools, BitmapFilesOfImageMagickAndSkippingRunLengthData) {
  if (!HaveTool("convert")) GTEST_SKIP() << "no convert";
  Pictures p;
  struct Case {
    const char* file;
    const char* options;
    int tolerance;
  };
  const Case cases[] = {
      {"v5_24.bmp", "BMP:", 0},
      {"v5_palette_rle.bmp", "-type palette BMP:", 0},
      {"v5_rgba.bmp", "-alpha set -channel A -evaluate set 60% +channel BMP:", 0},
      {"v5_565.bmp", "-define bmp:subtype=RGB565 BMP:", 8},
      {"v5_555.bmp", "-define bmp:subtype=RGB555 BMP:", 8},
      {"v3_24.bmp", "BMP3:", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    RunTool("convert " + p("colour.ppm") + " " + c.options + p(c.file));
    RunTool("convert " + p(c.file) + " -alpha off -depth 8 ppm:" + p(std::string(c.file) + ".ppm"));
    ExpectSamePixels(ReadOurBmp(p(c.file)), ReadPpm(p(std::string(c.file) + ".ppm")), c.tolerance);
  }

  // A run, an early end of line, a delta right and up, a run, the end: what they skip is entry 0.
  auto skips = BmpFileBuilder::Info(5, 3, 8, 1, 3, 3);
  skips.Entry(64, 64, 64).Entry(255, 0, 0).Entry(0, 255, 0).Bytes({2, 1, 0, 0, 0, 2, 1, 1, 2, 2, 0, 0, 0, 1});
  skips.Set32(2, static_cast<std::uint32_t>(skips.bytes.size())).Set32(34, 14);  // file and data sizes
  WriteBytes(p.dir / "skips.bmp", "", skips.bytes);
  RunTool("convert " + p("skips.bmp") + " -depth 8 ppm:" + p("skips.bmp.ppm"));
  ExpectSamePixels(ReadOurBmp(p("skips.bmp")), ReadPpm(p("skips.bmp.ppm")));
}

// Indexes 2 and 3 past a black and white map, on the 1-bit path. ImageMagick warns of them (and
// ends with status 1) and shows them as entry 0, black here.
TEST(ReaderOutsideTools, GifIndexesPastABlackAndWhiteMapAreBlackAsImageMagickReadsThem) {
  if (!HaveTool("convert")) GTEST_SKIP() << "no convert";
  Pictures p;
  std::vector<std::uint8_t> indexes;
  for (int i = 0; i < 40; ++i) indexes.push_back(static_cast<std::uint8_t>(i % 4));
  const GifColors blackAndWhite{0, 0, 0, 255, 255, 255};
  const std::vector<std::uint8_t> gif = GifFileBuilder{}
                                            .Screen(8, 5, &blackAndWhite, 0)
                                            .Image(0, 0, 8, 5, GifLzwEncode(indexes, {.minimumCodeSize = 2}))
                                            .Trailer()
                                            .bytes;
  WriteBytes(p.dir / "past.gif", "", gif);
  std::system(("convert " + p("past.gif") + " -depth 8 ppm:" + p("past.gif.ppm") + " 2>/dev/null").c_str());
  ExpectSamePixels(ReadOurGif(p("past.gif")), ReadPpm(p("past.gif.ppm")));
}

}  // namespace
