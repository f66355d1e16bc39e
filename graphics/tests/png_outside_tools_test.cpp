// PNG files between our codec and ImageMagick's (Debian's /usr/bin/convert): each decodes the
// other's files to the same pixels. Skipped where the tool is absent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "graphics/palettes.h"
#include "graphics/png_format.h"
#include "image_magick_exchange.h"
#include "png_test_files.h"

namespace {

class PngOutsideToolsTest : public ImageMagickExchangeTest {};

TEST_F(PngOutsideToolsTest, ImageMagickReadsOurFilesToTheSameColours) {
  struct Case {
    TPGBitCount format;
    TPaletteIdent ident;
  };
  for (Case c : {Case{pgbc1, pBlackWhite}, Case{pgbc4, pSys16}, Case{pgbc8, pGray256}, Case{pgbc8, pSpecial216},
                 Case{pgbc24, pTrueColor}}) {
    TPixelGraphic image;
    image.SetSize(13, 7, c.format);
    image.SetPaletteIdent(c.ident);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x)
        image.SetPixel(x, y,
                       c.format == pgbc24 ? static_cast<std::uint32_t>(RGBToColor(x * 19, y * 31, (x * y) % 256))
                                          : static_cast<std::uint32_t>((x * 5 + y * 3) % image.PaletteCount()));
    TMemoryStream stream;
    image.SaveToStreamExt(&stream, "png");
    const std::filesystem::path file = folder_ / "ours.png";
    std::ofstream(file, std::ios::binary) << StreamBytes(stream);
    EXPECT_EQ(CaptureOutput(std::string(kConvert) + " '" + file.string() + "' -depth 8 rgb:- 2>/dev/null"),
              OurRGB(image))
        << int{c.format};
  }
}

TEST_F(PngOutsideToolsTest, WeReadImageMagicksFilesToItsOwnColours) {
  const std::string source = (folder_ / "source.ppm").string();
  CaptureOutput(std::string(kConvert) + " -size 37x23 plasma:fractal -seed 3 '" + source + "'");
  const char* const variants[] = {
      "PNG24:",  // RGB
      "-depth 16 PNG48:",  // 16-bit RGB
      "-interlace PNG PNG24:",  // interlaced
      "-colors 16 PNG8:",  // palette
      "-colorspace Gray -depth 8 PNG:",  // grey
      "-colorspace Gray -depth 16 PNG:",  // 16-bit grey
      "-colorspace Gray -depth 2 PNG:",  // 2-bit grey
      "-monochrome PNG:",  // 1 bit
  };
  for (const char* variant : variants) {
    const std::string options(variant);
    const std::size_t split = options.rfind(' ');
    const std::string flags = split == std::string::npos ? "" : options.substr(0, split);
    const std::string prefix = split == std::string::npos ? options : options.substr(split + 1);
    const std::string file = (folder_ / "theirs.png").string();
    CaptureOutput(std::string(kConvert) + " '" + source + "' " + flags + " " + prefix + "'" + file + "'");
    // 16-bit samples: ours are their high bytes, so compare with the tool's 16-bit decode.
    const bool sixteen = options.find("16") != std::string::npos;
    const std::string decoded = CaptureOutput(std::string(kConvert) + " '" + file + "' -depth " +
                                              (sixteen ? "16 -endian MSB" : "8") + " rgb:- 2>/dev/null");
    std::string expected;
    for (std::size_t i = 0; i < decoded.size(); i += sixteen ? 2 : 1) expected += decoded[i];
    ASSERT_EQ(expected.size(), 37u * 23u * 3u) << variant;
    // The reader itself: the gamma correction of a load is the library's, not the codec's.
    TMemoryStream stream;
    stream.LoadFromFile(file);
    TPixelGraphic image;
    TPNGFileFormatReader().Read(&stream, &image, 0);
    const std::string ours = OurRGB(image);
    ASSERT_EQ(ours.size(), expected.size()) << variant;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < ours.size(); ++i) differing += ours[i] != expected[i];
    EXPECT_EQ(differing, 0u) << variant;
  }
}

}  // namespace
