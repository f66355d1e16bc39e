#include <gtest/gtest.h>

#include "graphics/exceptions.h"
#include "graphics/palettes.h"
#include "graphics/png_format.h"
#include "png_test_files.h"

namespace {

void Paint(TPixelGraphic& image, TPGBitCount format, int entries) {
  image.SetSize(11, 6, format);
  if (entries) {
    image.SetPaletteCount(entries);
    for (int i = 0; i < entries; ++i) image.SetPaletteEntry(i, RGBToColor(i * 9 % 256, 255 - i, i * 5 % 256));
  }
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 11; ++x)
      image.SetPixel(x, y,
                     entries ? static_cast<std::uint32_t>((x * 3 + y * 7) % entries)
                             : static_cast<std::uint32_t>(RGBToColor(x * 23, y * 41, x * y)));
}

TEST(PngWriterTest, EveryFormatSurvivesARoundTripExactly) {
  struct Case {
    TPGBitCount format;
    int entries;
    TPaletteIdent ident;  // pNone: the entries above
    int colorType;
    int depth;
  };
  for (const Case& c :
       {Case{pgbc1, 2, pNone, PNG_COLOR_TYPE_PALETTE, 1}, Case{pgbc4, 0, pGray16, PNG_COLOR_TYPE_PALETTE, 4},
        Case{pgbc8, 200, pNone, PNG_COLOR_TYPE_PALETTE, 8}, Case{pgbc8, 0, pGray256, PNG_COLOR_TYPE_GRAY, 8},
        Case{pgbc24, 0, pNone, PNG_COLOR_TYPE_RGB, 8}}) {
    TPixelGraphic image;
    if (c.ident != pNone) {
      image.SetSize(11, 6, c.format);
      image.SetPaletteIdent(c.ident);
      Paint(image, c.format, 0);
      for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 11; ++x) image.SetPixel(x, y, static_cast<std::uint32_t>((x + y) % image.PaletteCount()));
    } else {
      Paint(image, c.format, c.entries);
    }
    TMemoryStream stream;
    TPNGFileFormatWriter().Write(&stream, &image);
    const TPNGFacts facts = PNGFactsOf(StreamBytes(stream));
    EXPECT_EQ(facts.ColorType, c.colorType) << int{c.format};
    EXPECT_EQ(facts.BitDepth, c.depth) << int{c.format};
    EXPECT_EQ(facts.PaletteCount, c.colorType == PNG_COLOR_TYPE_PALETTE ? image.PaletteCount() : 0);
    ASSERT_TRUE(facts.HasGamma);
    EXPECT_NEAR(facts.Gamma, 1 / 1.8, 1e-4);

    stream.SetPosition(0);
    TPixelGraphic back;
    back.LoadFromStream(&stream);
    ASSERT_EQ(back.GetBitCount(), c.format) << int{c.format};
    EXPECT_NEAR(static_cast<double>(back.Gamma()), 1.8, 1e-4);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 11; ++x) ASSERT_EQ(back.GetPixelColor(x, y), image.GetPixelColor(x, y)) << x << "," << y;
  }
}

TEST(PngWriterTest, ProgressCountsRowsAndTheGammaFollowsTheImage) {
  TPixelGraphic image;
  Paint(image, pgbc24, 0);
  image.SetGamma(2.2L);
  std::vector<int> steps;
  image.OnProgress = [&](TObject*, int step, int max, bool&) {
    steps.push_back(step);
    EXPECT_EQ(max, 5);
  };
  TMemoryStream stream;
  image.SaveToStreamExt(&stream, "png");
  EXPECT_EQ(steps, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_NEAR(PNGFactsOf(StreamBytes(stream)).Gamma, 1 / 2.2, 1e-4);
}

class TFullStream : public TMemoryStream {
 public:
  std::int64_t Write(const void* Buffer, std::int64_t Count) override {
    return TMemoryStream::Write(Buffer, std::min<std::int64_t>(Count, 3));
  }
};

class TThrowingStream : public TMemoryStream {
 public:
  std::int64_t Write(const void*, std::int64_t) override { throw EWriteError("Stream write error"); }
};

TEST(PngWriterTest, StreamFailuresAndEmptyImagesAreRaised) {
  TPixelGraphic image;
  Paint(image, pgbc24, 0);
  TFullStream full;
  try {
    TPNGFileFormatWriter().Write(&full, &image);
    FAIL();
  } catch (const EPGPNGFileFormatReaderWriter& e) {
    EXPECT_EQ(e.Message, "PNG: Write Error");
  }
  TThrowingStream throwing;
  EXPECT_THROW(TPNGFileFormatWriter().Write(&throwing, &image), EWriteError);
  TPixelGraphic empty;
  empty.SetReadWarningAction(pgwaRaise);
  TMemoryStream stream;
  try {
    TPNGFileFormatWriter().Write(&stream, &empty);
    FAIL();
  } catch (const EPGPNGFileFormatReaderWriter& e) {
    EXPECT_EQ(e.Message.rfind("PNG: Image width is zero", 0), 0u) << e.Message;
  }
}

}  // namespace
