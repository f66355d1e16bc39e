#include "imaging/gif_reader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "gif_file_writer.h"
#include "host/testing/resource_use.h"
#include "imaging/gif_lzw.h"
#include "vcl/graphics_images.h"
#include "imaging/screen_dpi.h"
#include "test_pictures.h"
#include "win32/testing/machine_root.h"

namespace {

struct GifLoad {
  TBitmap bitmap;
  TVelmoraIOParams params{nullptr};
  int count = -1;

  explicit GifLoad(int wanted = 0) {
    params.GifImageIndex = wanted;
    params.GifLzwDecoder = GifLzwDecode;
  }
  void Read(const std::vector<std::uint8_t>& bytes) {
    TMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    GIFReadStream(&stream, bitmap, count, {}, params);
  }
};

const GifColors kFour{10, 20, 30, 200, 0, 0, 0, 200, 0, 0, 0, 200};

std::vector<std::uint8_t> Gradient(int width, int height, int colors) {
  std::vector<std::uint8_t> p;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) p.push_back(static_cast<std::uint8_t>((x + y) % colors));
  return p;
}

struct FileShape {
  const char* what;
  std::vector<TGifFrame> frames;
};

// Frames are counted from the file in one pass: a file of many tiny frames costs about what a file
// of one frame of as many bytes does, measured in the same run (reading it a byte or a seek at a
// time from the disk made the tiny frames cost a hundred times more).
TEST(GifReader, CountingManyFramesOfAFileCostsAboutWhatItsBytesDo) {
  constexpr int kFrames = 20000;
  constexpr int kSide = 700;  // one frame of noise whose data is about as long as the many frames
  constexpr double kSlack = 10;
  std::vector<std::uint8_t> noise(kSide * kSide);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 24);
  const std::vector<FileShape> shapes = {
      {"one large frame", {TGifFrame{0, 0, kSide, kSide, noise}}},
      {"many tiny frames", std::vector<TGifFrame>(kFrames, TGifFrame{0, 0, 1, 1, {1}})},
  };
  ScopedMachineRoot root;
  std::vector<ResourceUse> uses;
  for (const FileShape& shape : shapes) {
    const std::vector<TColorTriple> palette(256);
    const std::vector<std::uint8_t> bytes = GifFileBytes(kSide, kSide, palette, shape.frames);
    const std::string path = (root.Path() / "frames.gif").string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    uses.push_back(MeasureInChild([&] {
      GifLoad load;
      GIFReadFile(path, load.bitmap, load.count, {}, load.params);
      return std::to_string(load.count) + " frames";
    }));
    EXPECT_EQ(uses.back().Outcome, std::to_string(shape.frames.size()) + " frames") << shape.what;
  }
  EXPECT_LT(uses[1].Seconds, kSlack * uses[0].Seconds) << "against " << uses[0].Seconds << " s";
}

TEST(GifReader, PicksTheWantedImageWithTheGraphicControlBeforeIt) {
  const GifColors local{255, 255, 0, 0, 255, 255};
  auto bytes = GifFileBuilder{}
                   .Screen(40, 30, &kFour, 1, 2, 49)
                   .GraphicControl(1, 11, 3)
                   .Comment("first")
                   .Image(0, 0, 4, 3, GifLzwEncode(Gradient(4, 3, 4), {.minimumCodeSize = 2}))
                   .GraphicControl(1, 25, 1)
                   .Image(7, 9, 5, 4, GifLzwEncode(Gradient(5, 4, 4), {.minimumCodeSize = 2}), false, &local, 1)
                   .Trailer()
                   .bytes;
  GifLoad load(1);
  load.Read(bytes);
  EXPECT_EQ(load.count, 2);
  EXPECT_EQ(load.params.GifVersion, "GIF89a");
  EXPECT_EQ(load.params.GifWinWidth, 40);
  EXPECT_EQ(load.params.GifWinHeight, 30);
  EXPECT_EQ(load.params.GifRatio, 49);
  EXPECT_EQ(load.params.DpiX, ScreenDpiX());
  EXPECT_EQ(load.params.DpiY, ScreenDpiY());
  EXPECT_EQ(load.params.GifBackground, (TColorTriple{0, 200, 0})) << "entry 2, blue-green-red";
  EXPECT_EQ(load.params.GifXPos, 7);
  EXPECT_EQ(load.params.GifYPos, 9);
  EXPECT_EQ(load.params.GifDelay, 25);
  EXPECT_TRUE(load.params.GifTransparent);
  EXPECT_EQ(load.params.GifTranspColor, (TColorTriple{255, 255, 0})) << "local entry 1, blue-green-red";
  EXPECT_EQ(load.params.BitsPerSample, 2);
  ASSERT_EQ(load.params.ColorMapCount(), 4);
  EXPECT_EQ(load.params.ColorMap[0], (TColorTriple{0, 255, 255}));
  ASSERT_EQ(load.bitmap.PixelFormat(), pf24bit);
  ASSERT_EQ(load.bitmap.Width(), 5);
  ASSERT_EQ(load.bitmap.Height(), 4);
  EXPECT_EQ(PixelAt(load.bitmap, 0, 0), RGB(255, 255, 0));
  EXPECT_EQ(PixelAt(load.bitmap, 1, 0), RGB(0, 255, 255));
  EXPECT_EQ(PixelAt(load.bitmap, 2, 0), RGB(0, 0, 0)) << "an index beyond the local table is black";
}

// Two colours stay 1 bit a pixel when they are black and white; any other two show as themselves.
// Indexes 2 and 3, past the two-colour map, are black either way.
TEST(GifReader, TwoColourImagesShowTheirOwnColours) {
  const auto pixels = Gradient(11, 3, 4);
  struct Case {
    const char* name;
    GifColors table;
  };
  const Case cases[] = {
      {"black and white", {0, 0, 0, 255, 255, 255}},
      {"red and yellow", {255, 0, 0, 255, 255, 0}},
      {"white first", {255, 255, 255, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GifLoad load;
    load.Read(GifFileBuilder{}
                  .Screen(11, 3, &c.table, 0)
                  .Image(0, 0, 11, 3, GifLzwEncode(pixels, {.minimumCodeSize = 2}))
                  .Trailer()
                  .bytes);
    EXPECT_EQ(load.params.BitsPerSample, 1);
    ASSERT_EQ(load.params.ColorMapCount(), 2);
    const bool blackAndWhite = c.table[0] == 0 && c.table[3] == 255;
    ASSERT_EQ(load.bitmap.PixelFormat(), blackAndWhite ? pf1bit : pf24bit);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 11; ++x) {
        const std::uint8_t index = pixels[static_cast<std::size_t>(y * 11 + x)];
        if (blackAndWhite) {
          EXPECT_EQ((RowOf(load.bitmap, y)[x / 8] >> (7 - x % 8)) & 1, index == 1 ? 1 : 0) << x << ", " << y;
          continue;
        }
        const std::uint8_t black[3] = {0, 0, 0};
        const std::uint8_t* rgb = index < 2 ? &c.table[3u * index] : black;
        EXPECT_EQ(PixelAt(load.bitmap, x, y), RGB(rgb[0], rgb[1], rgb[2])) << x << ", " << y;
      }
  }
}

TEST(GifReader, TheStreamIsLeftJustPastTheTrailer) {
  const auto image = GifLzwEncode(Gradient(6, 6, 4), {.minimumCodeSize = 2});
  const auto bytes = GifFileBuilder{}.Screen(6, 6, &kFour, 1).Image(0, 0, 6, 6, image).Trailer().bytes;
  TMemoryStream stream;
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.Write("after", 5);
  stream.SetPosition(0);
  GifLoad load;
  GIFReadStream(&stream, load.bitmap, load.count, {}, load.params);
  EXPECT_EQ(load.count, 1);
  EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(bytes.size()));
}

TEST(GifReader, DamagedFilesEndCleanly) {
  const auto image = GifLzwEncode(Gradient(6, 6, 4), {.minimumCodeSize = 2});
  // No trailer: the scan ends at the end of the stream.
  GifLoad noTrailer;
  noTrailer.Read(GifFileBuilder{}.Screen(6, 6, &kFour, 1).Image(0, 0, 6, 6, image).Image(0, 0, 6, 6, image).bytes);
  EXPECT_EQ(noTrailer.count, 2);
  // An extension cut inside its sub-blocks.
  GifLoad cut;
  auto truncated = GifFileBuilder{}.Screen(6, 6, &kFour, 1).U8(0x21).U8(0xFE).U8(200).U8(1).bytes;
  cut.Read(truncated);
  EXPECT_EQ(cut.count, 0);
  EXPECT_EQ(cut.bitmap.Width(), 0);
  // Image data cut short: what is missing takes index 0; no tables at all: everything is black.
  auto data = GifLzwEncode(Gradient(6, 6, 4), {.minimumCodeSize = 2, .endCode = false, .subBlockSize = 2});
  data.resize(1 + 3 * 3);  // three sub-blocks of two bytes
  GifLoad shortData;
  shortData.Read(GifFileBuilder{}.Screen(6, 6, nullptr, 0, 77).Image(0, 0, 6, 6, data).bytes);
  EXPECT_EQ(shortData.params.GifBackground, (TColorTriple{})) << "no global table: the field keeps its value";
  ASSERT_EQ(shortData.bitmap.PixelFormat(), pf24bit);
  for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(shortData.bitmap, x, 2), RGB(0, 0, 0)) << x;
  const GifColors blackWhite{0, 0, 0, 255, 255, 255};
  GifLoad shortBlackWhite;
  shortBlackWhite.Read(GifFileBuilder{}.Screen(6, 6, &blackWhite, 0).Image(0, 0, 6, 6, data).bytes);
  ASSERT_EQ(shortBlackWhite.bitmap.PixelFormat(), pf1bit);
  EXPECT_EQ(RowOf(shortBlackWhite.bitmap, 5)[0] & 0xFC, 0) << "the lost pixels have index 0";
}

TEST(GifReader, RefusalsAndTheMissingDecoder) {
  const auto image = GifLzwEncode(Gradient(3, 3, 4), {.minimumCodeSize = 2});
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    bool decoder;
    const char* message;
  };
  const Case cases[] = {
      {"not a GIF", GifFileBuilder{}.Screen(3, 3, &kFour, 1, 0, 0, "JIF89a").Trailer().bytes, true, "unrecognized GIF"},
      {"width 0", GifFileBuilder{}.Screen(3, 3, &kFour, 1).Image(0, 0, 0, 3, image).Trailer().bytes, true,
       "unrecognized GIF"},
      {"height 0", GifFileBuilder{}.Screen(3, 3, &kFour, 1).Image(0, 0, 3, 0, image).Trailer().bytes, true,
       "unrecognized GIF"},
      {"no decoder", GifFileBuilder{}.Screen(3, 3, &kFour, 1).Image(1, 2, 3, 3, image).Trailer().bytes, false,
       "LZW decompressor not found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GifLoad load;
    if (!c.decoder) load.params.GifLzwDecoder = nullptr;
    Reshape(load.bitmap, pf24bit, 2, 2);
    try {
      load.Read(c.bytes);
      ADD_FAILURE();
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(load.bitmap.Width(), 2) << "the bitmap is untouched";
  }
  // A wanted image beyond the file's: header fields only, no error.
  GifLoad beyond(3);
  Reshape(beyond.bitmap, pf24bit, 2, 2);
  beyond.Read(GifFileBuilder{}.Screen(9, 8, &kFour, 1).Image(0, 0, 3, 3, image).Trailer().bytes);
  EXPECT_EQ(beyond.count, 1);
  EXPECT_EQ(beyond.bitmap.Width(), 2);
  EXPECT_EQ(beyond.params.GifWinWidth, 9);
}

}  // namespace
