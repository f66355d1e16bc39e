// picture-decode --imaging reads pictures as the slot manager does; files written by outside
// encoders (ImageMagick, libtiff's tools) must decode to the pixels ImageMagick's own decoder
// gives. Skipped without ImageMagick (scripts/setup installs it); libtiff's cases without tiffcp.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "picture_decode.h"
#include "win32/testing/machine_root.h"
#include "host/testing/outside_tools.h"

namespace {

namespace fs = std::filesystem;

void RunTool(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

struct Pixels {
  int width = 0, height = 0;
  std::string rgb;
};

// A binary PPM (P6, maxval 255).
Pixels ParsePpm(const std::string& file) {
  std::istringstream in(file);
  std::string magic;
  int maxval = 0;
  Pixels p;
  in >> magic >> p.width >> p.height >> maxval;
  in.get();
  if (magic != "P6" || maxval != 255) return {};
  p.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return p;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ExpectSame(const Pixels& ours, const Pixels& theirs) {
  ASSERT_GT(theirs.width, 0) << "ImageMagick's decoding is missing";
  ASSERT_EQ(ours.width, theirs.width);
  ASSERT_EQ(ours.height, theirs.height);
  ASSERT_EQ(ours.rgb.size(), theirs.rgb.size());
  for (std::size_t i = 0; i < ours.rgb.size(); ++i)
    if (ours.rgb[i] != theirs.rgb[i]) {
      const std::size_t pixel = i / 3;
      FAIL() << "first difference at x " << pixel % static_cast<std::size_t>(ours.width) << ", y "
             << pixel / static_cast<std::size_t>(ours.width);
    }
}

TEST(PictureDecodeImagingConformance, LzwGifTiffRgbaTiffAndSysBitmaps) {
  if (!HaveTool("convert")) GTEST_SKIP() << "no ImageMagick convert";
  ScopedMachineRoot root;
  const fs::path dir = root.Path() / "conformance";
  fs::create_directories(dir);
  const auto at = [&](const std::string& name) { return (dir / name).string(); };
  // Bands of runs and noise, so the LZW tables fill and restart; an odd width for the rows.
  constexpr int kWidth = 301, kHeight = 203;
  std::string rgb, grey;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const int band = (x / 23 + y / 17) % 4;
      const unsigned noise = static_cast<unsigned>(x * 7919 + y * 104729) * 2654435761u >> 24;
      const int index = band == 0 ? 5 : band == 1 ? static_cast<int>(noise % 200) : (x + y) % 37 + band * 40;
      rgb += {static_cast<char>(index * 5), static_cast<char>(index * 97), static_cast<char>(255 - index)};
      grey += static_cast<char>(band == 1 ? noise : static_cast<unsigned>(index * 3));
    }
  const std::string size = std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n";
  std::ofstream(at("colour.ppm"), std::ios::binary) << "P6\n" << size << "255\n" << rgb;
  std::ofstream(at("grey.pgm"), std::ios::binary) << "P5\n" << size << "255\n" << grey;

  struct Case {
    std::string file, make, reference;  // the file, how it is made, what ImageMagick decodes
  };
  const std::string colour = at("colour.ppm"), alpha = at("grey.pgm");
  std::vector<Case> cases = {
      {"two_frames.gif", "convert " + colour + " \\( " + alpha + " -colors 16 \\) -loop 0 " + at("two_frames.gif"),
       at("two_frames.gif") + "[0]"},
      {"lzw.tif", "convert " + colour + " -compress lzw " + at("lzw.tif"), at("lzw.tif")},
      {"lzw_predictor.tif", "convert " + colour + " -compress lzw -define tiff:predictor=2 " + at("lzw_predictor.tif"),
       at("lzw_predictor.tif")},
      {"rgba.tif",
       "convert " + colour + " " + alpha + " -alpha off -compose CopyOpacity -composite -compress lzw " +
           at("rgba.tif"),
       at("rgba.tif") + " -alpha off"},
      {"logo.sys", "convert " + colour + " -colors 256 -type Palette BMP3:" + at("logo.sys"), "bmp:" + at("logo.sys")},
  };
  // Two colours, neither black nor white: a 1-bit image that must show its own colours.
  const std::string redYellow = "-size 37x23 xc:red -fill yellow +antialias -draw \"circle 18,11 18,3\"";
  const std::string yellowRed = "-size 37x23 xc:yellow -fill red +antialias -draw \"rectangle 3,3 20,15\"";
  cases.insert(
      cases.end(),
      {
          {"two_colours.gif", "convert " + redYellow + " " + at("two_colours.gif"), at("two_colours.gif")},
          {"two_colours_interlaced.gif", "convert " + redYellow + " -interlace GIF " + at("two_colours_interlaced.gif"),
           at("two_colours_interlaced.gif")},
          {"two_colour_frames.gif",
           "convert \\( " + redYellow + " \\) \\( " + yellowRed + " \\) -loop 0 " + at("two_colour_frames.gif"),
           at("two_colour_frames.gif") + "[0]"},
      });
  if (HaveTool("tiffcp"))
    cases.insert(cases.end(),
                 {
                     {"rgba_planar.tif", "tiffcp -p separate -c lzw " + at("rgba.tif") + " " + at("rgba_planar.tif"),
                      at("rgba_planar.tif") + " -alpha off"},
                     {"libtiff_predictor.tif", "tiffcp -c lzw:2 " + at("lzw.tif") + " " + at("libtiff_predictor.tif"),
                      at("libtiff_predictor.tif")},
                 });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    RunTool(c.make);
    RunTool("convert " + c.reference + " -depth 8 ppm:" + at(c.file + ".ppm"));
    ExpectSame(ParsePpm(DecodeToNetpbmWithImaging(at(c.file))), ParsePpm(ReadAll(at(c.file + ".ppm"))));
  }
}

}  // namespace
