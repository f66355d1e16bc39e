#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bmp_test_files.h"
#include "graphics/exceptions.h"
#include "graphics/palettes.h"
#include "graphics/tga_format.h"
#include "host/testing/outside_tools.h"
#include "host/testing/ppm.h"
#include "win32/testing/machine_root.h"

namespace {

struct TTGAFile {
  int IdLength = 0, ColorMapType = 0, ImageType = 2, FirstEntry = 0, MapLength = 0, EntrySize = 0;
  int Width = 2, Height = 1, Depth = 24, Descriptor = 0;
  std::string Bytes(const std::string& body) const {
    std::string s;
    s += static_cast<char>(IdLength), s += static_cast<char>(ColorMapType), s += static_cast<char>(ImageType);
    PutLE16(s, static_cast<std::uint32_t>(FirstEntry)), PutLE16(s, static_cast<std::uint32_t>(MapLength));
    s += static_cast<char>(EntrySize);
    PutLE32(s, 0);
    PutLE16(s, static_cast<std::uint32_t>(Width)), PutLE16(s, static_cast<std::uint32_t>(Height));
    s += static_cast<char>(Depth), s += static_cast<char>(Descriptor);
    return s + std::string(static_cast<std::size_t>(IdLength), 'i') + body;
  }
};

std::string ReadFault(const std::string& bytes) {
  TPixelGraphic image;
  try {
    LoadBytes(image, bytes, "tga");
  } catch (const EPixelGraphic& e) {
    return e.Message;
  }
  return "(no error)";
}

TEST(TgaCodecTest, DepthsAndCornersByTheDescriptor) {
  TTGAFile sixteen;
  sixteen.Depth = 16;
  TPixelGraphic image;
  LoadBytes(image, sixteen.Bytes(std::string("\xff\x7f\x1f\x00", 4)), "tga");
  EXPECT_EQ(image.GetPixelColor(0, 0), RGBToColor(248, 248, 248));
  EXPECT_EQ(image.GetPixelColor(1, 0), RGBToColor(0, 0, 248));

  // Two rows of two 32-bit pixels, numbered 1..4 in file order in their red byte.
  const std::string body("\0\0\1\0\0\0\2\0\0\0\3\0\0\0\4\0", 16);
  const std::pair<int, std::array<int, 4>> corners[] = {
      {0, {3, 4, 1, 2}}, {16, {4, 3, 2, 1}}, {32, {1, 2, 3, 4}}, {48, {2, 1, 4, 3}}};
  for (const auto& [descriptor, expected] : corners) {
    TTGAFile file;
    file.Depth = 32, file.Height = 2, file.Descriptor = descriptor;
    LoadBytes(image, file.Bytes(body), "tga");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(RedOf(image.GetPixelColor(i % 2, i / 2)), expected[i]) << descriptor;
  }
}

TEST(TgaCodecTest, RowsPastTheEndOfTheDataAreBlack) {
  // Top-down 16-bit rows of three pixels: one whole white row, then one white pixel, then nothing.
  TTGAFile file;
  file.Depth = 16, file.Width = 3, file.Height = 3, file.Descriptor = 32;
  TPixelGraphic image;
  LoadBytes(image, file.Bytes(std::string("\xff\x7f\xff\x7f\xff\x7f\xff\x7f", 8)), "tga");
  const TColor white = RGBToColor(248, 248, 248), black = RGBToColor(0, 0, 0);
  const TColor expected[3][3] = {{white, white, white}, {white, black, black}, {black, black, black}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(image.GetPixelColor(x, y), expected[y][x]) << x << "," << y;
}

TEST(TgaCodecTest, ColorMapsAndGrey) {
  // A map from index 1, after the ID field: entry 0 is black; 16-bit entries: blue from the low
  // five bits.
  TTGAFile mapped;
  mapped.ColorMapType = 1, mapped.ImageType = 1, mapped.FirstEntry = 1, mapped.MapLength = 2, mapped.EntrySize = 16;
  mapped.Depth = 8, mapped.IdLength = 3;
  TPixelGraphic image;
  LoadBytes(image, mapped.Bytes(std::string("\x1f\x00\x00\x7c\x00\x02", 6)), "tga");
  ASSERT_EQ(image.PaletteCount(), 3);
  EXPECT_EQ(image.GetPaletteEntry(0), RGBToColor(0, 0, 0));
  EXPECT_EQ(image.GetPaletteEntry(1), RGBToColor(0, 0, 248));
  EXPECT_EQ(image.GetPaletteEntry(2), RGBToColor(248, 0, 0));
  EXPECT_EQ(image.GetPixel(1, 0), 2u);

  TTGAFile grey;
  grey.ImageType = 3, grey.Depth = 8;
  LoadBytes(image, grey.Bytes("\x10\x20"), "tga");
  EXPECT_EQ(image.PaletteIdent(), pGray256);
  EXPECT_EQ(image.GetPixel(1, 0), 0x20u);

  // Map fields of a file without a map are not a length to skip.
  TTGAFile stray;
  stray.MapLength = 200, stray.EntrySize = 24;
  LoadBytes(image, stray.Bytes("\1\2\3\4\5\6"), "tga");
  EXPECT_EQ(image.GetPixelColor(1, 0), RGBToColor(6, 5, 4));
}

// A map of six entries from index 250: indexes 250 to 255 take them, the others are black, as
// ImageMagick and netpbm read the file.
TEST(TgaCodecTest, AColourMapAppliesFromItsFirstIndex) {
  TTGAFile file;
  file.ColorMapType = 1, file.ImageType = 1, file.FirstEntry = 250, file.MapLength = 6, file.EntrySize = 24;
  file.Depth = 8, file.Width = 4, file.Height = 2, file.Descriptor = 32;
  std::string map;
  for (int i = 0; i < 6; ++i)
    map += {static_cast<char>(i * 40), static_cast<char>(255 - i * 30), static_cast<char>(i * 7)};
  const std::string bytes = file.Bytes(map + std::string("\xfa\xfb\xfc\xfd\xfe\xff\x00\x03", 8));
  TPixelGraphic image;
  LoadBytes(image, bytes, "tga");
  for (int i = 0; i < 8; ++i) {
    const TColor expected = i < 6 ? RGBToColor(i * 7, 255 - i * 30, i * 40) : RGBToColor(0, 0, 0);
    EXPECT_EQ(image.GetPixelColor(i % 4, i / 4), expected) << i;
  }

  const ScopedMachineRoot root;
  const std::filesystem::path tga = root.Path() / "first250.tga", decoded = root.Path() / "first250.ppm";
  std::ofstream(tga, std::ios::binary) << bytes;
  const std::pair<const char*, std::string> tools[] = {
      {"convert", "convert '" + tga.string() + "' -depth 8 ppm:'" + decoded.string() + "'"},
      {"tgatoppm", "tgatoppm '" + tga.string() + "' >'" + decoded.string() + "'"},
  };
  for (const auto& [tool, command] : tools) {
    if (!HaveTool(tool)) continue;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const host::Image theirs = ReadPpm(decoded);
    ASSERT_EQ(theirs.width, 4) << tool;
    for (int i = 0; i < 8; ++i) {
      const TColor c = image.GetPixelColor(i % 4, i / 4);
      EXPECT_EQ(theirs.pixels[static_cast<std::size_t>(i)],
                static_cast<std::uint32_t>(RedOf(c) << 16 | GreenOf(c) << 8 | BlueOf(c)))
          << tool << ", pixel " << i;
    }
  }
}

TEST(TgaCodecTest, RunLengthPacketsGoOnAcrossRows) {
  TTGAFile file;
  file.ImageType = 10, file.Width = 3, file.Height = 2, file.Descriptor = 32;
  // A run of four pixels spans both rows, then two literal pixels.
  TPixelGraphic image;
  LoadBytes(image, file.Bytes(std::string("\x83\x01\x02\x03\x01\x04\x05\x06\x07\x08\x09", 11)), "tga");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(image.GetPixelColor(i % 3, i / 3), RGBToColor(3, 2, 1)) << i;
  EXPECT_EQ(image.GetPixelColor(1, 1), RGBToColor(6, 5, 4));
  EXPECT_EQ(image.GetPixelColor(2, 1), RGBToColor(9, 8, 7));
  EXPECT_EQ(ReadFault(file.Bytes("\x83\x01\x02\x03")), "TGA: Unexpected end of file");
}

TEST(TgaCodecTest, Refusals) {
  TTGAFile depth, type;
  depth.Depth = 15;
  type.ImageType = 32;
  EXPECT_EQ(ReadFault(depth.Bytes("")), "TGA: Not supported subformat");
  EXPECT_EQ(ReadFault(type.Bytes("")), "TGA: Not supported subformat");
  EXPECT_EQ(ReadFault(std::string(10, '\0')), "TGA: Unexpected end of file");
  TMemoryStream stream;
  TPGImageInfo info;
  const std::string bytes = type.Bytes("");
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  try {
    TTGAFileFormatReader().GetInfo(&stream, 0, info);
    FAIL();
  } catch (const EPGTGAFileFormatReader& e) {
    EXPECT_EQ(e.Message, "TGA: Invalid value for ImageType");
  }
}

TEST(TgaCodecTest, WriterRoundTripsAndRefusesOtherDepths) {
  TPixelGraphic palette;
  palette.SetSize(5, 3, pgbc8);
  palette.SetPaletteCount(256);
  for (int i = 0; i < 256; ++i) palette.SetPaletteEntry(i, RGBToColor(i, 255 - i, i / 2));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) palette.SetPixel(x, y, static_cast<std::uint32_t>(40 * y + x));
  TPixelGraphic colour;
  colour.SetSize(4, 3, pgbc24);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) colour.SetPixelColor(x, y, RGBToColor(x, y, x * y + 7));
  for (TPixelGraphic* source : {&palette, &colour}) {
    TMemoryStream stream;
    TTGAFileFormatWriter().Write(&stream, source);
    const bool mapped = source == &palette;
    EXPECT_EQ(stream.Size(), 18 + (mapped ? 768 : 0) + 3 * (mapped ? 5 : 12));
    stream.SetPosition(0);
    TPixelGraphic back;
    back.LoadFromStreamExt(&stream, "tga", 0);
    ASSERT_EQ(back.GetBitCount(), source->GetBitCount());
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < source->GetWidth(); ++x) EXPECT_EQ(back.GetPixelColor(x, y), source->GetPixelColor(x, y));
  }
  TPixelGraphic four;
  four.SetSize(3, 3, pgbc4);
  TMemoryStream stream;
  EXPECT_THROW(TTGAFileFormatWriter().Write(&stream, &four), EPixelGraphic);
  EXPECT_EQ(stream.Size(), 0);
}

}  // namespace
