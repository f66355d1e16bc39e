#include <gtest/gtest.h>

#include "bmp_test_files.h"
#include "graphics/exceptions.h"
#include "graphics/palettes.h"
#include "graphics/pnm_format.h"

namespace {

std::string LoadFault(const std::string& bytes) {
  TPixelGraphic image;
  TMemoryStream stream;
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  try {
    TPGMFileFormatReader().Read(&stream, &image, 0);
  } catch (const EPixelGraphic& e) {
    return e.Message;
  }
  return "(no error)";
}

std::string Written(TPixelGraphic& image, TPXMFileFormatWriter&& writer, bool binary = false) {
  PGPxMWriteBinary = binary;
  TMemoryStream stream;
  try {
    writer.Write(&stream, &image);
  } catch (...) {
    PGPxMWriteBinary = false;
    throw;
  }
  PGPxMWriteBinary = false;
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

TEST(PnmCodecTest, AsciiKindsWithCommentsAnywhereAndAFileEndingOnItsLastDigit) {
  TPixelGraphic grey;
  LoadBytes(grey, "P2 # a comment\n3 1\n# max\n4\n0 2#mid\n 4");
  ASSERT_EQ(grey.GetBitCount(), pgbc8);
  EXPECT_EQ(grey.PaletteIdent(), pGray256);
  EXPECT_EQ(grey.GetPixel(0, 0), 0u);
  EXPECT_EQ(grey.GetPixel(1, 0), 127u);
  EXPECT_EQ(grey.GetPixel(2, 0), 255u);

  TPixelGraphic colour;
  LoadBytes(colour, "P3\n2 1 255\n1 2 3 250 251 252");
  ASSERT_EQ(colour.GetBitCount(), pgbc24);
  EXPECT_EQ(colour.GetPixelColor(0, 0), RGBToColor(1, 2, 3));
  EXPECT_EQ(colour.GetPixelColor(1, 0), RGBToColor(250, 251, 252));

  // A plain bitmap's pixels are single digits, with or without blanks between them, as netpbm
  // writes them.
  TPixelGraphic bits;
  LoadBytes(bits, "P1\n5 1\n1 0 011");
  const std::uint32_t expected[] = {0, 1, 1, 0, 0};  // black is 0
  for (int x = 0; x < 5; ++x) EXPECT_EQ(bits.GetPixel(x, 0), expected[x]) << x;
}

TEST(PnmCodecTest, BinaryKindsWhateverTheExtensionSays) {
  TPixelGraphic colour;
  LoadBytes(colour, std::string("P6\n2 1\n255\n\x01\x02\x03\xfa\xfb\xfc", 17), "pgm");
  ASSERT_EQ(colour.GetBitCount(), pgbc24);
  EXPECT_EQ(colour.GetPixelColor(1, 0), RGBToColor(250, 251, 252));

  TPixelGraphic grey;
  LoadBytes(grey, std::string("P5 2 1 15\n\x0f\x05", 12));
  EXPECT_EQ(grey.GetPixel(0, 0), 255u);
  EXPECT_EQ(grey.GetPixel(1, 0), 85u);

  // File 1 is black, index 0.
  TPixelGraphic bits;
  LoadBytes(bits, std::string("P4\n10 1\n\x80\x40", 10));
  ASSERT_EQ(bits.GetBitCount(), pgbc1);
  EXPECT_EQ(bits.GetPixel(0, 0), 0u);
  EXPECT_EQ(bits.GetPixel(1, 0), 1u);
  EXPECT_EQ(bits.GetPixel(9, 0), 0u);
  EXPECT_EQ(bits.GetPaletteEntry(1), RGBToColor(255, 255, 255));
}

TEST(PnmCodecTest, MalformedHeadersAndSamples) {
  const std::pair<std::string, std::string> cases[] = {
      {"X5 1 1 255 ", "PBM, PGM, PPM: Not a PBM, PGM, PPM file"},
      {"P5 0 1 255 ", "PBM, PGM, PPM: Not supported subformat"},
      {"P5 1 1 65535 ", "PBM, PGM, PPM: Not supported subformat"},
      {"P2 1 1 0 0", "PBM, PGM, PPM: Not supported subformat"},
      {"P2 99999999999 1 255 0", "PBM, PGM, PPM: Not supported subformat"},
      {"P5 2 2 255 \x01\x02", "PBM, PGM, PPM: Unexpected end of file"},
      {"P3 1 1", "PBM, PGM, PPM: Unexpected end of file"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(LoadFault(bytes), text) << bytes;
  // Refused by the image's own size limit, before anything is allocated for it.
  EXPECT_EQ(LoadFault("P6 2000000000 2000000000 255 "), "CreateDIBSection failed");

  // Samples above maxval count as maxval; ASCII files take any maxval.
  TPixelGraphic image;
  LoadBytes(image, "P2 2 1 65535 70000 32768");
  EXPECT_EQ(image.GetPixel(0, 0), 255u);
  EXPECT_EQ(image.GetPixel(1, 0), 127u);
}

TEST(PnmCodecTest, WritersAsciiAndBinaryRoundTrip) {
  TPixelGraphic bw;
  bw.SetSize(2, 1, pgbc1);
  bw.SetPaletteIdent(pBlackWhite);
  bw.SetPixel(0, 0, 1);
  EXPECT_EQ(Written(bw, TPBMFileFormatWriter()), "P1\n2 1\n0 1\n");

  TPixelGraphic colour;
  colour.SetSize(3, 2, pgbc24);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) colour.SetPixelColor(x, y, RGBToColor(10 * x, 100 + y, 200 + x + y));
  EXPECT_EQ(Written(colour, TPPMFileFormatWriter()).substr(0, 24), "P3\n3 2\n255\n0 100 200 10 ");
  TPixelGraphic grey;
  grey.SetSize(9, 3, pgbc8);
  grey.SetPaletteIdent(pGray256);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 9; ++x) grey.SetPixel(x, y, static_cast<std::uint32_t>(28 * x + y));
  TPixelGraphic wide;
  wide.SetSize(11, 2, pgbc1);
  wide.SetPaletteIdent(pBlackWhite);
  for (int x = 0; x < 11; x += 3) wide.SetPixel(x, 1, 1);

  for (bool binary : {false, true}) {
    const std::pair<TPixelGraphic*, std::string> images[] = {
        {&colour, Written(colour, TPPMFileFormatWriter(), binary)},
        {&grey, Written(grey, TPGMFileFormatWriter(), binary)},
        {&wide, Written(wide, TPBMFileFormatWriter(), binary)},
    };
    for (const auto& [source, bytes] : images) {
      EXPECT_EQ(bytes[1], (binary ? '4' : '1') + (source == &colour ? 2 : source == &grey ? 1 : 0));
      TPixelGraphic back;
      LoadBytes(back, bytes);
      ASSERT_EQ(back.GetBitCount(), source->GetBitCount());
      for (int y = 0; y < source->GetHeight(); ++y)
        for (int x = 0; x < source->GetWidth(); ++x)
          EXPECT_EQ(back.GetPixel(x, y), source->GetPixel(x, y)) << x << "," << y;
    }
  }
}

TEST(PnmCodecTest, WriterRefusalsLeaveTheStreamEmpty) {
  TPixelGraphic sixteen;
  sixteen.SetSize(2, 2, pgbc4);
  TMemoryStream stream;
  try {
    TPGMFileFormatWriter().Write(&stream, &sixteen);
    FAIL();
  } catch (const EPGPxMFileFormatWriter& e) {
    EXPECT_EQ(e.Message, "PGM: Invalid color resolution");
  }
  EXPECT_EQ(stream.Size(), 0);
  TPixelGraphic empty;
  try {
    TPPMFileFormatWriter().Write(&stream, &empty);
    FAIL();
  } catch (const EPGPxMFileFormatWriter& e) {
    EXPECT_EQ(e.Message, "PBM, PGM, PPM: Width = 0 or Height = 0");
  }
  TPPMFileFormatWriter other;
  other.Extension = "pnm";
  try {
    other.Write(&stream, &sixteen);
    FAIL();
  } catch (const EPGPxMFileFormatWriter& e) {
    EXPECT_EQ(e.Message, "PBM, PGM, PPM: Unknown file extension \"pnm\"");
  }
  EXPECT_EQ(stream.Size(), 0);
}

TEST(PnmCodecTest, InfoAndIndex) {
  TMemoryStream stream;
  stream.Write("P6 640 480 255 ", 15);
  stream.SetPosition(0);
  TPGImageInfo info;
  TPPMFileFormatReader().GetInfo(&stream, 0, info);
  EXPECT_EQ(info.SubFormatText, "Binary");
  EXPECT_EQ(info.Width, 640);
  EXPECT_EQ(info.Height, 480);
  EXPECT_EQ(info.BitsPerPixel, 24);
  EXPECT_EQ(info.ColorsText, "16.7M");
  TPixelGraphic image;
  EXPECT_THROW(TPPMFileFormatReader().Read(&stream, &image, 1), EPGPxMFileFormatReader);
}

}  // namespace
