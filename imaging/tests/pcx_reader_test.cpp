#include "imaging/pcx_reader.h"

#include <gtest/gtest.h>

#include "vcl/graphics_images.h"
#include "imaging/screen_dpi.h"
#include "pcx_file_builder.h"
#include "test_pictures.h"

namespace {

struct PcxLoad {
  TBitmap bitmap;
  TVelmoraIOParams params{nullptr};
  void Read(const PcxFile& file) {
    TMemoryStream stream;
    stream.Write(file.bytes.data(), static_cast<std::int64_t>(file.bytes.size()));
    stream.SetPosition(0);
    PCXReadStream(&stream, bitmap, params, {}, stream.Size());
  }
};

TEST(PcxReader, EightBitsThroughTheEndPaletteWithRunsCutAtTheLineEnd) {
  // Lines of 4 bytes: a run of 6 covers line 0 and is dropped beyond it; line 1 is literal.
  PcxLoad load;
  load.Read(PcxFile(8, 1, 3, 2, 4).Data({0xC6, 5, 1, 2, 3, 0}).EndPalette());
  ASSERT_EQ(load.bitmap.PixelFormat(), pf24bit);
  EXPECT_EQ(PixelAt(load.bitmap, 2, 0), RGB(5, 250, 7));
  EXPECT_EQ(PixelAt(load.bitmap, 0, 1), RGB(1, 254, 7));
  EXPECT_EQ(PixelAt(load.bitmap, 2, 1), RGB(3, 252, 7));
  EXPECT_EQ(load.params.ColorMapCount(), 256);
  EXPECT_EQ(load.params.ColorMap[1], (TColorTriple{7, 254, 1}));
  EXPECT_EQ(load.params.DpiX, 300);
  EXPECT_EQ(load.params.DpiY, 150);
  EXPECT_EQ(load.params.BitsPerSample, 8);
  EXPECT_EQ(load.params.SamplesPerPixel, 1);
  EXPECT_EQ(load.params.PcxVersion, 5);
}

TEST(PcxReader, FourBitOddWidthOneBitAndThreePlanes) {
  PcxLoad four;
  four.Read(PcxFile(4, 1, 3, 1, 2, 0).Data({0x1F, 0x2A}));
  EXPECT_EQ(PixelAt(four.bitmap, 0, 0), RGB(16, 0, 239));
  EXPECT_EQ(PixelAt(four.bitmap, 1, 0), RGB(240, 0, 15));
  EXPECT_EQ(PixelAt(four.bitmap, 2, 0), RGB(32, 0, 223));
  EXPECT_EQ(four.params.ColorMapCount(), 16);

  PcxLoad mono;
  mono.Read(PcxFile(1, 1, 10, 2, 2).Data({0xA5, 0xC1, 0xC0, 0xC2, 0x3C}));  // 0xC0 as a run of one
  ASSERT_EQ(mono.bitmap.PixelFormat(), pf1bit);
  EXPECT_EQ(RowOf(mono.bitmap, 0)[0], 0xA5);
  EXPECT_EQ(RowOf(mono.bitmap, 0)[1], 0xC0);
  EXPECT_EQ(RowOf(mono.bitmap, 1)[0], 0x3C);
  EXPECT_EQ(RowOf(mono.bitmap, 1)[1], 0x3C);

  PcxLoad rgb;
  rgb.Read(PcxFile(8, 3, 2, 1, 2).Data({10, 11, 20, 21, 30, 31}));
  EXPECT_EQ(PixelAt(rgb.bitmap, 0, 0), RGB(10, 20, 30));
  EXPECT_EQ(PixelAt(rgb.bitmap, 1, 0), RGB(11, 21, 31));
  EXPECT_EQ(rgb.params.SamplesPerPixel, 3);
}

TEST(PcxReader, ResolutionZeroInOneDirectionTakesTheScreensInBoth) {
  PcxFile file(8, 3, 1, 1, 1);
  file.Put16(14, 0);
  PcxLoad load;
  load.Read(file.Data({1, 2, 3}));
  EXPECT_EQ(load.params.DpiX, ScreenDpiX());
  EXPECT_EQ(load.params.DpiY, ScreenDpiY());
}

TEST(PcxReader, TruncatedDataLeavesTheRestBlack) {
  PcxLoad load;
  load.Read(PcxFile(8, 3, 2, 3, 2).Data({10, 11, 20, 21, 30, 31, 0xFF}));
  EXPECT_EQ(PixelAt(load.bitmap, 1, 0), RGB(11, 21, 31));
  EXPECT_EQ(PixelAt(load.bitmap, 0, 1), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(load.bitmap, 1, 2), RGB(0, 0, 0));
}

TEST(PcxReader, RefusedHeaders) {
  struct Case {
    const char* name;
    PcxFile file;
  };
  auto with = [](PcxFile f, std::size_t at, int value) {
    f.bytes[at] = static_cast<std::uint8_t>(value);
    return f;
  };
  PcxFile good(8, 3, 4, 2, 4);
  good.Data({1, 2, 3, 4});
  PcxFile backwards = good;
  backwards.Put16(4, 9);  // xmin beyond xmax
  PcxFile upsideDown = good;
  upsideDown.Put16(6, 5);
  PcxFile shortPalette(8, 1, 4, 1, 4);
  shortPalette.Data({1, 2, 3, 4}).bytes.resize(128 + 768);
  PcxFile headerOnly = good;
  headerOnly.bytes.resize(127);
  const Case cases[] = {
      {"manufacturer", with(good, 0, 11)},
      {"encoding", with(good, 2, 2)},
      {"bits above 8", with(good, 3, 9)},
      {"two planes", with(good, 65, 2)},
      {"three planes below 8 bits", with(good, 3, 4)},
      {"xmax below xmin", backwards},
      {"ymax below ymin", upsideDown},
      {"bytes per line shorter than the width", PcxFile(8, 1, 9, 1, 8)},
      {"shorter than a header", headerOnly},
      {"too short for the end palette", shortPalette},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PcxLoad load;
    try {
      load.Read(c.file);
      ADD_FAILURE();
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "unrecognized PCX");
    }
  }
}

}  // namespace
