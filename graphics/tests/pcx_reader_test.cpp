#include <gtest/gtest.h>

#include "bmp_test_files.h"
#include "graphics/exceptions.h"
#include "graphics/palettes.h"
#include "graphics/pcx_format.h"

namespace {

struct TPCXFile {
  int Version = 5, Bits = 8, Planes = 1, Width = 2, Height = 1, BytesPerLine = 2, PaletteInfo = 1;
  std::string Palette16 = std::string(48, '\0');
  std::string Bytes(const std::string& body) const {
    std::string s;
    s += '\x0a', s += static_cast<char>(Version), s += '\x01', s += static_cast<char>(Bits);
    PutLE32(s, 0);
    PutLE16(s, static_cast<std::uint32_t>(Width - 1)), PutLE16(s, static_cast<std::uint32_t>(Height - 1));
    PutLE32(s, 0);
    s += Palette16;
    s += '\0', s += static_cast<char>(Planes);
    PutLE16(s, static_cast<std::uint32_t>(BytesPerLine)), PutLE16(s, static_cast<std::uint32_t>(PaletteInfo));
    s.resize(128, '\0');
    return s + body;
  }
};

std::string Palette256() {
  std::string s = "\x0c";
  for (int i = 0; i < 256; ++i) s += static_cast<char>(i), s += static_cast<char>(255 - i), s += '\x07';
  return s;
}

TEST(PcxReaderTest, EightBitRowsWithTheTrailingPaletteAndRunsCutAtTheLineEnd) {
  TPCXFile file;
  file.Height = 2;
  // The first run of three gives two bytes; the next line starts a new packet.
  TPixelGraphic image;
  LoadBytes(image, file.Bytes("\xc3\x05\x09\xc1\x0a" + Palette256()));
  ASSERT_EQ(image.GetBitCount(), pgbc8);
  EXPECT_EQ(image.GetPixel(0, 0), 5u);
  EXPECT_EQ(image.GetPixel(1, 0), 5u);
  EXPECT_EQ(image.GetPixel(0, 1), 9u);
  EXPECT_EQ(image.GetPixel(1, 1), 10u);
  EXPECT_EQ(image.GetPaletteEntry(9), RGBToColor(9, 246, 7));
}

TEST(PcxReaderTest, OneBitRowsMaskedOnlyPastTheWidth) {
  for (int width : {8, 10, 16}) {
    TPCXFile file;
    file.Bits = 1, file.Width = width, file.BytesPerLine = 2;
    TPixelGraphic image;
    LoadBytes(image, file.Bytes("\xc2\xff"));
    for (int x = 0; x < width; ++x) {
      EXPECT_EQ(image.GetPixel(x, 0), 1u) << width << " " << x;
    }
    if (width == 10) {
      EXPECT_EQ(image.ScanLine(0)[1], 0xC0);
    }
  }
}

TEST(PcxReaderTest, SixteenAndTrueColourPlanes) {
  TPCXFile sixteen;
  sixteen.Bits = 1, sixteen.Planes = 4, sixteen.Width = 2, sixteen.BytesPerLine = 1, sixteen.Version = 2;
  sixteen.Palette16[3 * 9] = '\x11';
  // Pixel 0 has planes 0 and 3 (value 9), pixel 1 plane 1 (value 2).
  TPixelGraphic image;
  LoadBytes(image, sixteen.Bytes(std::string("\x80\x40\x00\x80", 4)));
  EXPECT_EQ(image.GetPixel(0, 0), 9u);
  EXPECT_EQ(image.GetPixel(1, 0), 2u);
  EXPECT_EQ(image.GetPaletteEntry(9), RGBToColor(0x11, 0, 0));
  sixteen.Version = 3;
  LoadBytes(image, sixteen.Bytes(std::string("\x80\x40\x00\x80", 4)));
  EXPECT_EQ(image.PaletteIdent(), pSys16);

  TPCXFile colour;
  colour.Planes = 3;
  LoadBytes(image, colour.Bytes("\x01\x02\x03\x04\x05\x06"));
  EXPECT_EQ(image.GetPixelColor(0, 0), RGBToColor(1, 3, 5));
  EXPECT_EQ(image.GetPixelColor(1, 0), RGBToColor(2, 4, 6));
}

TEST(PcxReaderTest, DamagedFilesAreRefusedWithoutReadingPastTheData) {
  TPCXFile grey, reserved, planes, shortLine, noMarker;
  grey.PaletteInfo = 2;
  planes.Planes = 2;
  shortLine.Width = 20, shortLine.BytesPerLine = 4;
  std::string reservedBytes = reserved.Bytes("\x01\x02" + Palette256());
  reservedBytes[64] = 1;
  std::string inverted = TPCXFile().Bytes("\x01\x02" + Palette256());
  inverted[8] = 0, inverted[4] = 5;  // Xmax < Xmin
  std::string badMarker = noMarker.Bytes("\x01\x02" + Palette256());
  badMarker[128 + 2] = 11;
  const std::pair<std::string, std::string> cases[] = {
      {grey.Bytes("\x01\x02" + Palette256()), "PCX: Unknown subformat"},
      {reservedBytes, "PCX: Unknown subformat"},
      {planes.Bytes("\x01\x02"), "PCX: Unknown subformat"},
      {shortLine.Bytes(std::string(64, '\x01') + Palette256()), "PCX: Unknown subformat"},
      {inverted, "PCX: Unknown subformat"},
      {badMarker, "PCX: Unknown subformat"},
      {TPCXFile().Bytes("\x01\x02"), "PCX: Unexpected end of file"},
      {TPCXFile().Bytes("").substr(0, 100), "PCX: Unexpected end of file"},
      {TPCXFile().Bytes("\x01" + Palette256()).substr(0, 128 + 768), "PCX: Unexpected end of file"},
  };
  for (const auto& [bytes, text] : cases) {
    TPixelGraphic image;
    TMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    try {
      TPCXFileFormatReader().Read(&stream, &image, 0);
      ADD_FAILURE() << text;
    } catch (const EPGPCXFileFormatReader& e) {
      EXPECT_EQ(e.Message, text);
    }
  }
}

TEST(PcxReaderTest, SignatureNeedsAPlausibleHeader) {
  std::uint8_t header[kPGSignatureSize] = {10, 5, 1, 8};
  TPCXFileFormatReader reader;
  EXPECT_TRUE(reader.CheckHeader(header));
  // A Targa file whose image ID is 10 bytes long: colour-mapped type 1 with a map.
  const std::uint8_t targa[kPGSignatureSize] = {10, 1, 1, 0, 0, 0, 1, 24};
  EXPECT_FALSE(reader.CheckHeader(targa));
  const std::uint8_t trueColour[kPGSignatureSize] = {10, 0, 2, 0};
  EXPECT_FALSE(reader.CheckHeader(trueColour));
}

TEST(PcxReaderTest, Info) {
  TPCXFile colour;
  colour.Planes = 3;
  const std::string bytes = colour.Bytes("");
  TMemoryStream stream;
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  TPGImageInfo info;
  TPCXFileFormatReader().GetInfo(&stream, 0, info);
  EXPECT_EQ(info.BitsPerPixel, 24);
  EXPECT_EQ(info.ColorsText, "16.7M");
  EXPECT_EQ(info.SubFormatText, "Version 3.0 (5)");
  EXPECT_EQ(info.Width, 2);
}

}  // namespace
