#include <gtest/gtest.h>

#include "graphics/exceptions.h"
#include "graphics/jpeg_format.h"
#include "graphics/palettes.h"
#include "jpeg_test_files.h"

namespace {

void Paint(TPixelGraphic& image, int width, int height) {
  image.SetSize(width, height, pgbc24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.SetPixelColor(x, y, RGBToColor(x * 4, y * 4, 200 - x - y));
}

TEST(JpegWriterTest, TrueColourAndGreyImagesSurviveARoundTripClosely) {
  TPixelGraphic image;
  Paint(image, 40, 30);
  TMemoryStream stream;
  image.SaveToStreamExt(&stream, "jpg");
  const auto* bytes = static_cast<const std::uint8_t*>(stream.Memory());
  ASSERT_GT(stream.Size(), 2);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
  stream.SetPosition(0);
  TPixelGraphic back;
  back.LoadFromStream(&stream);
  ASSERT_EQ(back.GetBitCount(), pgbc24);
  ASSERT_EQ(back.GetWidth(), 40);
  ASSERT_EQ(back.GetHeight(), 30);
  EXPECT_LE(LargestDifference(image, back), 12);

  TPixelGraphic grey;
  grey.SetSize(17, 9, pgbc8);
  grey.SetPaletteIdent(pGray256);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 17; ++x) grey.SetPixel(x, y, static_cast<std::uint32_t>(x * 15));
  TMemoryStream greyStream;
  grey.SaveToStreamExt(&greyStream, "jpeg");
  greyStream.SetPosition(0);
  TPGImageInfo info;
  TJPGFileFormatReader().GetInfo(&greyStream, 0, info);
  EXPECT_EQ(info.SubFormatText, "JFIF, GrayScale");
  greyStream.SetPosition(0);
  back.LoadFromStream(&greyStream);
  EXPECT_EQ(back.GetBitCount(), pgbc8);
  EXPECT_EQ(back.PaletteIdent(), pGray256);
  EXPECT_LE(LargestDifference(grey, back), 8);
}

TEST(JpegWriterTest, OnlyTrueColourAndTheGreyPaletteAreAccepted) {
  TPixelGraphic four, coloured;
  four.SetSize(4, 4, pgbc4);
  four.SetPaletteIdent(pGray16);
  coloured.SetSize(4, 4, pgbc8);
  coloured.SetPaletteIdent(pSpecial216);
  for (TPixelGraphic* image : {&four, &coloured}) {
    TMemoryStream stream;
    try {
      TJPGFileFormatWriter().Write(&stream, image);
      FAIL();
    } catch (const EPGJPGFileFormatReaderWriter& e) {
      EXPECT_EQ(e.Message, "JPG: Invalid value for BitCount");
    }
  }
  // Through the registry an 8-bit colour image is written as true colour.
  TMemoryStream stream;
  coloured.SetSaveColorResWarningAction(pgwaIgnore);
  coloured.SaveToStreamExt(&stream, "jif");
  stream.SetPosition(0);
  TPixelGraphic back;
  back.LoadFromStream(&stream);
  EXPECT_EQ(back.GetBitCount(), pgbc24);
}

TEST(JpegWriterTest, ProgressCoversEveryRowAndTheProgressiveSettingChangesTheScans) {
  TPixelGraphic image;
  Paint(image, 8, 5);
  std::vector<int> steps;
  int ends = 0;
  image.OnProgress = [&](TObject*, int step, int max, bool& abort) {
    steps.push_back(step);
    EXPECT_EQ(max, 5);
    abort = true;  // not honoured by the writer
  };
  image.OnProgressEnd = [&](TObject*) { ++ends; };
  TMemoryStream stream;
  TJPGFileFormatWriter().Write(&stream, &image);
  EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(ends, 1);

  PGJPEGWriteProgressive = true;
  TMemoryStream progressive;
  TJPGFileFormatWriter().Write(&progressive, &image);
  PGJPEGWriteProgressive = false;
  progressive.SetPosition(0);
  TPGImageInfo info;
  TJPGFileFormatReader().GetInfo(&progressive, 0, info);
  EXPECT_EQ(info.SubFormatText, "JFIF, YCbCr, Progressive");
}

class TFullStream : public TMemoryStream {
 public:
  std::int64_t Write(const void* Buffer, std::int64_t Count) override {
    return TMemoryStream::Write(Buffer, std::min<std::int64_t>(Count, 10));
  }
};

class TThrowingStream : public TMemoryStream {
 public:
  std::int64_t Write(const void*, std::int64_t) override { throw EWriteError("Stream write error"); }
};

TEST(JpegWriterTest, WriteFailuresOfTheStreamAreRaised) {
  TPixelGraphic image;
  Paint(image, 64, 64);
  TFullStream full;
  try {
    TJPGFileFormatWriter().Write(&full, &image);
    FAIL();
  } catch (const EPGJPGFileFormatReaderWriter& e) {
    EXPECT_EQ(e.Message, "JPG: Output file write error --- out of disk space?");
  }
  TThrowingStream throwing;
  EXPECT_THROW(TJPGFileFormatWriter().Write(&throwing, &image), EWriteError);

  TPixelGraphic empty;
  TMemoryStream stream;
  EXPECT_THROW(TJPGFileFormatWriter().Write(&stream, &empty), EPGJPGFileFormatReaderWriter);
}

}  // namespace
