#include <gtest/gtest.h>

#include <vector>

#include "bmp_test_files.h"
#include "graphics/exceptions.h"
#include "graphics/bmp_format.h"
#include "graphics/palettes.h"

namespace {

std::string Message(const std::string& bytes) {
  TPixelGraphic image;
  try {
    LoadBytes(image, bytes);
  } catch (const EPGBMPFileFormatReader& e) {
    return e.Message;
  }
  return "(no error)";
}

TEST(BmpReaderTest, HeaderFaultsNameTheField) {
  TInfoHeaderFile size, planes, bits, compression, rleTopDown, rleWrongDepth, minHeight;
  size.HeaderSize = 20;
  planes.Planes = 2;
  bits.BitCount = 7;
  compression.Compression = 5;
  rleTopDown.BitCount = 8, rleTopDown.Compression = BI_RLE8, rleTopDown.Height = -1;
  rleWrongDepth.BitCount = 4, rleWrongDepth.Compression = BI_RLE8;
  minHeight.Height = INT32_MIN;
  TInfoHeaderFile os2Huffman;  // OS/2 2.x's compression 3 is not bit fields
  os2Huffman.HeaderSize = 64, os2Huffman.BitCount = 16, os2Huffman.Compression = 3;
  const std::pair<TInfoHeaderFile, std::string> cases[] = {
      {size, "BMP: Invalid size of BitmapInfoHeader/BitmapCoreHeader"},
      {planes, "BMP: BitmapInfoHeader.biPlanes invalid"},
      {bits, "BMP: BitmapInfoHeader.biBitCount invalid"},
      {compression, "BMP: BitmapInfoHeader.biCompression invalid"},
      {rleTopDown, "BMP: BitmapInfoHeader.biCompression invalid"},
      {rleWrongDepth, "BMP: BitmapInfoHeader.biCompression invalid"},
      {minHeight, "BMP: BitmapInfoHeader.biHeight invalid"},
      {os2Huffman, "BMP: BitmapInfoHeader.biCompression invalid"},
  };
  for (const auto& [header, text] : cases) EXPECT_EQ(Message(header.Bytes(std::string(64, '\0'))), text);

  TBMPFileFormatReader reader;
  TMemoryStream stream;
  TPixelGraphic image;
  try {
    reader.Read(&stream, &image, 1);
    FAIL();
  } catch (const EPGBMPFileFormatReader& e) {
    EXPECT_EQ(e.Message, "BMP: Index invalid");
  }
}

TEST(BmpReaderTest, SixteenAndThirtyTwoBitChannelsByMask) {
  TInfoHeaderFile plain16;
  plain16.Width = 2, plain16.BitCount = 16;
  TPixelGraphic image;
  LoadBytes(image, plain16.Bytes(std::string("\xff\x7f\x01\x00", 4)));
  EXPECT_EQ(image.GetPixelColor(0, 0), RGBToColor(255, 255, 255));
  EXPECT_EQ(image.GetPixelColor(1, 0), RGBToColor(0, 0, 16));

  // 5-6-5 masks; a zero mask gives its channel 0 whatever the value.
  TInfoHeaderFile fields16;
  fields16.Width = 2, fields16.BitCount = 16, fields16.Compression = BI_BITFIELDS;
  std::string masks;
  PutLE32(masks, 0xF800), PutLE32(masks, 0x07E0), PutLE32(masks, 0);
  LoadBytes(image, fields16.Bytes(masks + std::string("\xe0\x07\x00\xf8", 4)));
  EXPECT_EQ(image.GetPixelColor(0, 0), RGBToColor(0, 255, 0));
  EXPECT_EQ(image.GetPixelColor(1, 0), RGBToColor(255, 0, 0));

  TInfoHeaderFile plain32;
  plain32.BitCount = 32;
  LoadBytes(image, plain32.Bytes(std::string("\x30\x20\x10\x00", 4)));
  EXPECT_EQ(image.GetPixelColor(0, 0), RGBToColor(0x10, 0x20, 0x30));
}

// One picture file per case: its header, masks, colour table, spare bytes before the pixels, and
// the colours of its first pixels (bottom row first, as the file stores them).
struct TDecodeCase {
  const char* name;
  TInfoHeaderFile header;
  std::string masks, table;
  int gap;
  std::string pixels;
  std::vector<TColor> bottomRow;
};

TInfoHeaderFile Header(std::uint32_t Size, int Width, int BitCount, std::uint32_t Compression = BI_RGB,
                       std::uint32_t ClrUsed = 0) {
  TInfoHeaderFile h;
  h.HeaderSize = Size, h.Width = Width, h.BitCount = BitCount, h.Compression = Compression, h.ClrUsed = ClrUsed;
  return h;
}

void ExpectDecodes(const TDecodeCase& c) {
  TPixelGraphic image;
  LoadBytes(image, c.header.File(c.masks, c.table, c.gap, c.pixels));
  ASSERT_EQ(image.GetWidth(), c.header.Width) << c.name;
  for (std::size_t x = 0; x < c.bottomRow.size(); ++x)
    EXPECT_EQ(image.GetPixelColor(static_cast<int>(x), image.GetHeight() - 1), c.bottomRow[x]) << c.name << ", x " << x;
}

TEST(BmpReaderTest, PixelsAreReadWhereTheFileHeaderPutsThem) {
  const std::string rle8("\x02\x03\x00\x01", 4);
  TInfoHeaderFile rle = Header(40, 2, 8, BI_RLE8, 4);
  rle.SizeImage = static_cast<std::uint32_t>(rle8.size());
  const TDecodeCase cases[] = {
      {"24 bits, two spare bytes",
       Header(40, 2, 24),
       "",
       "",
       2,
       std::string("\0\0\xff\xff\0\0\0\0", 8),
       {RGBToColor(255, 0, 0), RGBToColor(0, 0, 255)}},
      {"8 bits, a gap after the table",
       Header(40, 3, 8, BI_RGB, 4),
       "",
       Quads(4, 60),
       11,
       std::string("\x01\x03\x02\0", 4),
       {RGBToColor(60, 60, 60), RGBToColor(180, 180, 180), RGBToColor(120, 120, 120)}},
      {"run-length, a gap after the table",
       rle,
       "",
       Quads(4, 60),
       6,
       rle8,
       {RGBToColor(180, 180, 180), RGBToColor(180, 180, 180)}},
      {"bit fields, a gap after the masks",
       Header(40, 1, 16, BI_BITFIELDS),
       MaskBytes(0xF800, 0x07E0, 0x001F),
       "",
       3,
       std::string("\x1f\x00\0\0", 4),
       {RGBToColor(0, 0, 255)}},
  };
  for (const TDecodeCase& c : cases) ExpectDecodes(c);
}

TEST(BmpReaderTest, LaterAndOs2HeadersReadAsTheInformationHeaderWithItsMasks) {
  std::string tail(24, '\x77');  // OS/2 2.x's own fields, not used
  const TDecodeCase cases[] = {
      {"108 bytes, 32 bits in red, green, blue, alpha order",
       Header(108, 1, 32, BI_BITFIELDS),
       MaskBytes(0x000000FF, 0x0000FF00, 0x00FF0000),
       "",
       0,
       std::string("\x10\x20\x30\x40", 4),
       {RGBToColor(0x10, 0x20, 0x30)}},
      {"124 bytes, 16 bits 5-6-5 mid grey",
       Header(124, 1, 16, BI_BITFIELDS),
       MaskBytes(0xF800, 0x07E0, 0x001F),
       "",
       0,
       std::string("\x10\x84\0\0", 4),
       {RGBToColor(136, 132, 136)}},
      {"124 bytes, 24 bits: masks without bit fields are not used",
       Header(124, 1, 24),
       MaskBytes(0xFF, 0xFF, 0xFF),
       "",
       0,
       std::string("\x01\x02\x03\0", 4),
       {RGBToColor(3, 2, 1)}},
      {"108 bytes, 8 bits",
       Header(108, 2, 8, BI_RGB, 2),
       "",
       Quads(2, 200),
       0,
       std::string("\x01\x00\0\0", 4),
       {RGBToColor(200, 200, 200), RGBToColor(0, 0, 0)}},
      {"64 bytes (OS/2 2.x), 8 bits",
       Header(64, 2, 8, BI_RGB, 2),
       tail,
       Quads(2, 90),
       0,
       std::string("\x00\x01\0\0", 4),
       {RGBToColor(0, 0, 0), RGBToColor(90, 90, 90)}},
  };
  for (const TDecodeCase& c : cases) ExpectDecodes(c);

  TMemoryStream stream;
  const std::string os2 = cases[4].header.File(tail, cases[4].table, 0, cases[4].pixels);
  stream.Write(os2.data(), static_cast<std::int64_t>(os2.size()));
  stream.SetPosition(0);
  std::string description;
  TPGImageInfo info;
  ASSERT_TRUE(GetStreamInfo(&stream, "", 0, description, info));
  EXPECT_EQ(info.SubFormatText, "OS/2");
  EXPECT_EQ(info.BitsPerPixel, 8);
}

TEST(BmpReaderTest, TopDownRowsAndTruncatedPixels) {
  TInfoHeaderFile topDown;
  topDown.Height = -2;
  TPixelGraphic image;
  LoadBytes(image, topDown.Bytes(std::string("\x01\x02\x03\x00\x04\x05\x06\x00", 8)));
  EXPECT_EQ(image.GetHeight(), 2);
  EXPECT_EQ(image.GetPixelColor(0, 0), RGBToColor(3, 2, 1));
  EXPECT_EQ(image.GetPixelColor(0, 1), RGBToColor(6, 5, 4));

  TInfoHeaderFile cut;
  cut.Width = 2, cut.Height = 2;
  LoadBytes(image, cut.Bytes(std::string("\x09\x09\x09", 3)));
  EXPECT_EQ(image.GetPixelColor(0, 1), RGBToColor(9, 9, 9));
  EXPECT_EQ(image.GetPixelColor(1, 1), 0);
  EXPECT_EQ(image.GetPixelColor(0, 0), 0);
}

TEST(BmpReaderTest, BitFieldPixelsPastTheDataAreBlack) {
  TInfoHeaderFile cut;
  cut.Width = 3, cut.Height = 2, cut.BitCount = 16, cut.Compression = BI_BITFIELDS;
  std::string masks;
  PutLE32(masks, 0xF800), PutLE32(masks, 0x07E0), PutLE32(masks, 0);
  // Loaded over a white picture of the same size, so a pixel left alone would show.
  TPixelGraphic image;
  image.SetSize(3, 2, pgbc24);
  image.SetBackGroundValue(0xFFFFFF);
  LoadBytes(image, cut.Bytes(masks + std::string("\xe0\x07", 2)));
  EXPECT_EQ(image.GetPixelColor(0, 1), RGBToColor(0, 255, 0));
  for (const auto& [x, y] : {std::pair{1, 1}, {2, 1}, {0, 0}, {2, 0}})
    EXPECT_EQ(image.GetPixelColor(x, y), 0) << x << "," << y;

  // A few bytes declaring a million columns or rows (larger pictures need data to stand for them).
  TInfoHeaderFile wide = cut;
  wide.Width = 1000000;
  LoadBytes(image, wide.Bytes(masks + std::string("\xe0\x07", 2)));
  EXPECT_EQ(image.GetPixelColor(0, 1), RGBToColor(0, 255, 0));
  EXPECT_EQ(image.GetPixelColor(wide.Width - 1, 0), 0);
  TInfoHeaderFile tall = cut;
  tall.Height = 1000000;
  LoadBytes(image, tall.Bytes(masks + std::string("\xe0\x07", 2)));
  EXPECT_EQ(image.GetPixelColor(0, tall.Height - 1), RGBToColor(0, 255, 0));
  EXPECT_EQ(image.GetPixelColor(2, 0), 0);
}

TEST(BmpReaderTest, PaletteCountsAreBoundByTheCapacity) {
  TInfoHeaderFile sixteen;
  sixteen.BitCount = 8, sixteen.ClrUsed = 16;
  TPixelGraphic image;
  LoadBytes(image, sixteen.Bytes(Quads(16, 10) + std::string("\x0f\0\0\0", 4)));
  EXPECT_EQ(image.PaletteCount(), 16);
  EXPECT_EQ(image.GetPixel(0, 0), 15u);

  // 300 entries at 8 bits: 256 are used, the other 44 skipped, the pixels read after them.
  TInfoHeaderFile surplus = sixteen;
  surplus.ClrUsed = 300;
  LoadBytes(image, surplus.Bytes(Quads(300, 1) + std::string("\x05\0\0\0", 4)));
  EXPECT_EQ(image.PaletteCount(), 256);
  EXPECT_EQ(image.GetPixel(0, 0), 5u);
  EXPECT_EQ(image.GetPaletteEntry(255), RGBToColor(255, 255, 255));

  TInfoHeaderFile absurd = sixteen;
  absurd.ClrUsed = 0xFFFFFFFFu;
  LoadBytes(image, absurd.Bytes(Quads(4, 1)));
  EXPECT_EQ(image.PaletteCount(), 256);

  // An OS/2 core header with 256 RGB triples.
  std::string core = "BM";
  PutLE32(core, 0), PutLE32(core, 0), PutLE32(core, 0);
  PutLE32(core, 12), PutLE16(core, 1), PutLE16(core, 1), PutLE16(core, 1), PutLE16(core, 8);
  for (int i = 0; i < 256; ++i) core += {static_cast<char>(i), '\0', '\x7f'};
  core += std::string("\x02\0\0\0", 4);
  LoadBytes(image, core);
  EXPECT_EQ(image.PaletteCount(), 256);
  EXPECT_EQ(image.GetPaletteEntry(2), RGBToColor(0x7f, 0, 2));
  EXPECT_EQ(image.GetPixel(0, 0), 2u);
}

TEST(BmpReaderTest, RunLengthDecoding) {
  TInfoHeaderFile rle8;
  rle8.Width = 4, rle8.Height = 2, rle8.BitCount = 8, rle8.Compression = BI_RLE8, rle8.ClrUsed = 16;
  TPixelGraphic image;
  const std::string runs("\x03\x05\x00\x00\x00\x01", 6);
  rle8.SizeImage = static_cast<std::uint32_t>(runs.size());
  LoadBytes(image, rle8.Bytes(Quads(16, 1) + runs));
  EXPECT_EQ(image.GetPixel(0, 1), 5u);
  EXPECT_EQ(image.GetPixel(2, 1), 5u);
  EXPECT_EQ(image.GetPixel(3, 1), 0u);

  // A literal run of 3, an end of line, and a literal of 5 whose operands pass the end, under a
  // size field far past the data.
  const std::string literal("\x00\x03\x01\x02\x03\x00\x00\x00\x00\x05\x07", 11);
  rle8.SizeImage = 0xFFFFFFFFu;
  LoadBytes(image, rle8.Bytes(Quads(16, 1) + literal));
  EXPECT_EQ(image.GetPixel(0, 1), 1u);
  EXPECT_EQ(image.GetPixel(2, 1), 3u);
  EXPECT_EQ(image.GetPixel(0, 0), 0u);  // the cut literal writes nothing

  TInfoHeaderFile rle4 = rle8;
  rle4.BitCount = 4, rle4.Compression = BI_RLE4;
  const std::string nibbles("\x03\x12\x00\x01", 4);
  rle4.SizeImage = 4;
  LoadBytes(image, rle4.Bytes(Quads(16, 1) + nibbles));
  EXPECT_EQ(image.GetPixel(0, 1), 1u);
  EXPECT_EQ(image.GetPixel(1, 1), 2u);
  EXPECT_EQ(image.GetPixel(2, 1), 1u);
}

TEST(BmpReaderTest, SizesPastTheLimitFailAsTheSection) {
  TInfoHeaderFile huge;
  huge.Width = 0x7FFFFFFF, huge.Height = 0x7FFFFFFF;
  TPixelGraphic image;
  try {
    LoadBytes(image, huge.Bytes(""));
    FAIL();
  } catch (const EPixelGraphic& e) {
    EXPECT_EQ(e.Message, "CreateDIBSection failed");
  }
  EXPECT_TRUE(image.GetEmpty());
}

TEST(BmpReaderTest, GetInfoDescribesWithoutDecoding) {
  TInfoHeaderFile topDown;
  topDown.Width = 3, topDown.Height = -5, topDown.BitCount = 8;
  TMemoryStream stream;
  const std::string bytes = topDown.Bytes("");
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  std::string description;
  TPGImageInfo info;
  ASSERT_TRUE(GetStreamInfo(&stream, "", 0, description, info));
  EXPECT_EQ(description, "Bitmap");
  EXPECT_EQ(info.SubFormatText, "Windows, RGB, Top-Down");
  EXPECT_EQ(info.Width, 3);
  EXPECT_EQ(info.Height, -5);
  EXPECT_EQ(info.ColorsText, "256");
  EXPECT_EQ(info.BitsPerPixel, 8);
  EXPECT_EQ(info.ImageCount, 1);
  EXPECT_EQ(stream.Position(), 0);
  EXPECT_FALSE(GetStreamInfo(&stream, "", 1, description, info));
}

}  // namespace
