// JPEG files between our codec and ImageMagick's (Debian's /usr/bin/convert): each decodes the
// other's files to nearly the same pixels. Skipped where the tool is absent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "graphics/jpeg_format.h"
#include "graphics/palettes.h"
#include "image_magick_exchange.h"

namespace {

// The largest difference between our pixels and RGB bytes, top row first.
int LargestDifference(TPixelGraphic& image, const std::string& rgb) {
  int worst = 0;
  std::size_t i = 0;
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x, i += 3) {
      const TColor c = image.GetPixelColor(x, y);
      const int ours[3] = {RedOf(c), GreenOf(c), BlueOf(c)};
      for (int k = 0; k < 3; ++k)
        worst = std::max(worst, std::abs(ours[k] - static_cast<unsigned char>(rgb[i + static_cast<std::size_t>(k)])));
    }
  return worst;
}

class JpegOutsideToolsTest : public ImageMagickExchangeTest {};

TEST_F(JpegOutsideToolsTest, ImageMagickReadsOurFilesCloseToOurOwnDecode) {
  TPixelGraphic image;
  image.SetSize(45, 29, pgbc24);
  for (int y = 0; y < 29; ++y)
    for (int x = 0; x < 45; ++x) image.SetPixelColor(x, y, RGBToColor(x * 5, y * 8, 255 - x * 3));
  TMemoryStream stream;
  image.SaveToStreamExt(&stream, "jpg");
  const std::filesystem::path file = folder_ / "ours.jpg";
  std::ofstream(file, std::ios::binary) << std::string(static_cast<const char*>(stream.Memory()),
                                                       static_cast<std::size_t>(stream.Size()));
  stream.SetPosition(0);
  TPixelGraphic ours;
  ours.LoadFromStream(&stream);
  const std::string theirs =
      CaptureOutput(std::string(kConvert) + " '" + file.string() + "' -depth 8 rgb:- 2>/dev/null");
  ASSERT_EQ(theirs.size(), 45u * 29u * 3u);
  EXPECT_LE(LargestDifference(ours, theirs), 2);
}

TEST_F(JpegOutsideToolsTest, WeReadImageMagicksFilesCloseToItsOwnDecode) {
  const std::string source = (folder_ / "source.ppm").string();
  CaptureOutput(std::string(kConvert) + " -size 61x37 -seed 5 plasma:fractal '" + source + "'");
  for (const char* flags : {"-quality 90", "-quality 70 -interlace JPEG", "-colorspace Gray", "-sampling-factor 1x1"}) {
    const std::string file = (folder_ / "theirs.jpg").string();
    CaptureOutput(std::string(kConvert) + " '" + source + "' " + flags + " '" + file + "'");
    const std::string expected = CaptureOutput(std::string(kConvert) + " '" + file + "' -depth 8 rgb:- 2>/dev/null");
    ASSERT_EQ(expected.size(), 61u * 37u * 3u) << flags;
    TPixelGraphic image;
    image.LoadFromFile(file);
    EXPECT_LE(LargestDifference(image, expected), 2) << flags;
  }
}

}  // namespace
