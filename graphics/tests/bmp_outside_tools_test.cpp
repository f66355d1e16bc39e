// Bitmaps from our writer, read by an established reader (ImageMagick, else Pillow).
#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/palettes.h"
#include "image_magick_exchange.h"
#include "win32/testing/machine_root.h"

namespace {

// The RGB bytes, top row first, as the independent reader decodes the file; empty when it fails.
std::string DecodeIndependently(const std::filesystem::path& file, bool& available) {
  std::string command;
  if (std::filesystem::exists(kConvert)) {
    command = std::string(kConvert) + " '" + file.string() + "' -depth 8 rgb:- 2>/dev/null";
  } else if (std::system("/usr/bin/python3 -c 'import PIL' >/dev/null 2>&1") == 0) {
    command =
        "/usr/bin/python3 -c \"import sys; from PIL import Image; "
        "sys.stdout.buffer.write(Image.open(sys.argv[1]).convert('RGB').tobytes())\" '" +
        file.string() + "'";
  }
  available = !command.empty();
  if (!available) return {};
  return CaptureOutput(command);
}

class BmpOutsideToolsTest : public MachineRootTest {};

TEST_F(BmpOutsideToolsTest, EveryFormatDecodesToTheSameColours) {
  struct Case {
    TPGBitCount format;
    int entries;
  };
  for (Case c : {Case{pgbc1, 2}, Case{pgbc4, 16}, Case{pgbc8, 252}, Case{pgbc8, 256}, Case{pgbc24, 0}}) {
    TPixelGraphic image;
    image.SetSize(13, 7, c.format);
    if (c.entries) {
      image.SetPaletteCount(c.entries);
      for (int i = 0; i < c.entries; ++i) image.SetPaletteEntry(i, RGBToColor(i * 7 % 256, 255 - i, i * 13 % 256));
    }
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x)
        image.SetPixel(x, y,
                       c.entries ? static_cast<std::uint32_t>((x * 5 + y * 3) % c.entries)
                                 : static_cast<std::uint32_t>(RGBToColor(x * 19, y * 31, (x * y) % 256)));
    image.SaveToFile("C:\\check.bmp");
    bool available = false;
    const std::string theirs = DecodeIndependently(root.DriveC() / "check.bmp", available);
    if (!available) GTEST_SKIP() << "neither ImageMagick nor Pillow is installed";
    EXPECT_EQ(theirs, OurRGB(image)) << "bits " << image.GetBitsPerPixel() << ", entries " << c.entries;
    TPixelGraphic again;
    again.LoadFromFile("C:\\check.bmp");
    EXPECT_EQ(OurRGB(again), OurRGB(image));
  }
}

}  // namespace
