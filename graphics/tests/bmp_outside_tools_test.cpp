// Bitmaps from our writer, read by an established reader (ImageMagick, else Pillow); bitmaps
// that ImageMagick writes and that are built here, read as ImageMagick and netpbm read them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "bmp_test_files.h"
#include "graphics/palettes.h"
#include "host/testing/outside_tools.h"
#include "host/testing/ppm.h"
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

class BmpReadLikeTheToolsTest : public ImageMagickExchangeTest {
 protected:
  std::filesystem::path File(const std::string& name) const { return folder_ / name; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
  }
  static std::string Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static host::Image Ours(const std::string& bytes) {
    TPixelGraphic image;
    LoadBytes(image, bytes);
    host::Image ours{image.GetWidth(), image.GetHeight(), {}};
    for (int y = 0; y < ours.height; ++y)
      for (int x = 0; x < ours.width; ++x) {
        const TColor c = image.GetPixelColor(x, y);
        ours.pixels.push_back(static_cast<std::uint32_t>(RedOf(c) << 16 | GreenOf(c) << 8 | BlueOf(c)));
      }
    return ours;
  }
  // Each channel within Tolerance of the tool's (16-bit channels are widened differently).
  static void ExpectClose(const host::Image& ours, const host::Image& theirs, int Tolerance, const std::string& what) {
    ASSERT_EQ(theirs.width, ours.width) << what;
    ASSERT_EQ(theirs.height, ours.height) << what;
    for (std::size_t i = 0; i < ours.pixels.size(); ++i)
      for (int shift : {16, 8, 0}) {
        const int a = (ours.pixels[i] >> shift) & 0xFF, b = (theirs.pixels[i] >> shift) & 0xFF;
        if (std::abs(a - b) > Tolerance) {
          ADD_FAILURE() << what << ": pixel " << i << " ours " << std::hex << ours.pixels[i] << ", theirs "
                        << theirs.pixels[i];
          return;
        }
      }
  }
  // The file read by us, by ImageMagick and, where it reads the kind and is installed, by netpbm.
  void ExpectReadAsTheToolsDo(const std::string& name, int Tolerance, bool Netpbm) {
    const host::Image ours = Ours(Read(File(name)));
    const std::string decoded = (folder_ / (name + ".ppm")).string();
    ASSERT_EQ(std::system((std::string(kConvert) + " '" + File(name).string() + "' -alpha off -depth 8 ppm:'" +
                           decoded + "' 2>/dev/null")
                              .c_str()),
              0)
        << name;
    ExpectClose(ours, ReadPpm(decoded), Tolerance, name + " (ImageMagick)");
    if (!Netpbm || !HaveTool("bmptopnm") || !HaveTool("ppmtoppm")) return;
    ASSERT_EQ(std::system(("bmptopnm -quiet '" + File(name).string() + "' | ppmtoppm >'" + decoded + "'").c_str()), 0)
        << name;
    ExpectClose(ours, ReadPpm(decoded), Tolerance, name + " (netpbm)");
  }
};

TEST_F(BmpReadLikeTheToolsTest, ImageMagicksBitmapsOfEveryHeaderAndDepth) {
  constexpr int kWidth = 11, kHeight = 6;
  std::string ppm = "P6\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n255\n";
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      ppm += {static_cast<char>(x * 23), static_cast<char>(y * 45 + x), static_cast<char>(255 - x * y * 3)};
  Write("source.ppm", ppm);
  // netpbm refuses ImageMagick's run-length data (a run ending a row is followed by an end of line).
  struct Case {
    const char* name;
    const char* options;
    int tolerance;
    bool netpbm;
  };
  const Case cases[] = {
      {"v5_24.bmp", "BMP:", 0, true},
      {"v5_palette.bmp", "-type palette -compress none BMP:", 0, true},
      {"v5_palette_rle.bmp", "-type palette BMP:", 0, false},
      {"v5_rgba.bmp", "-alpha set -channel A -evaluate set 60% +channel BMP:", 0, true},
      {"v5_565.bmp", "-define bmp:subtype=RGB565 BMP:", 8, true},
      {"v3_24.bmp", "BMP3:", 0, true},
      {"os2_24.bmp", "BMP2:", 0, true},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(std::system((std::string(kConvert) + " '" + File("source.ppm").string() + "' " + c.options + "'" +
                           File(c.name).string() + "'")
                              .c_str()),
              0)
        << c.name;
    ExpectReadAsTheToolsDo(c.name, c.tolerance, c.netpbm);
  }
}

// OS/2 2.x's header: netpbm does not read it, and ImageMagick takes its colour table for
// three-byte entries where the format (and both our libraries) have four: 24 bits only.
TEST_F(BmpReadLikeTheToolsTest, BitmapsWithGapsAndOs2TwoHeadersBuiltHere) {
  TInfoHeaderFile gap24, gap8, os2, rle;
  gap24.Width = 2, gap24.BitCount = 24;
  gap8.Width = 5, gap8.Height = 3, gap8.BitCount = 8, gap8.ClrUsed = 4;
  os2 = gap24;
  os2.HeaderSize = 64;
  rle = gap8;
  rle.Compression = BI_RLE8;
  const std::string rows8("\x00\x01\x02\x03\x01\0\0\0\x03\x03\x02\x01\x00\0\0\0\x01\x01\x01\x01\x01\0\0\0", 24);
  // A run, an early end of line, a delta right and up, a run, the end: what they skip is entry 0.
  const std::string runs("\x02\x01\x00\x00\x00\x02\x01\x01\x02\x02\x00\x00\x00\x01", 14);
  rle.SizeImage = static_cast<std::uint32_t>(runs.size());
  const std::string table =
      std::string("\x40\x40\x40\0", 4) + std::string("\x00\x00\xff\0\x00\xff\x00\0\xff\x00\x00\0", 12);
  const std::string redBlue("\0\0\xff\xff\0\0\0\0", 8);
  // netpbm refuses an early end of line.
  struct Case {
    const char* name;
    std::string bytes;
    bool netpbm;
  };
  const Case cases[] = {
      {"gap24.bmp", gap24.File("", "", 2, redBlue), true},
      {"gap8.bmp", gap8.File("", table, 11, rows8), true},
      {"os2_2x.bmp", os2.File(std::string(24, '\0'), "", 0, redBlue), false},
      {"rle8_skips.bmp", rle.File("", table, 0, runs), false},
  };
  for (const Case& c : cases) {
    Write(c.name, c.bytes);
    ExpectReadAsTheToolsDo(c.name, 0, c.netpbm);
  }
}

}  // namespace
