#include "imaging/bmp_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

#include "bmp_file_builder.h"
#include "imaging/bitmap_rows.h"
#include "imaging/neuquant.h"
#include "vcl/graphics_images.h"
#include "test_pictures.h"

namespace {

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16At(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

std::vector<std::uint8_t> Write(TBitmap& bitmap, TVelmoraIOParams& params) {
  TMemoryStream stream;
  BMPWriteStream(&stream, bitmap, params, {});
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream.Size()));
  std::memcpy(bytes.data(), stream.Memory(), bytes.size());
  return bytes;
}

void Read(BmpFileBuilder& file, TBitmap& bitmap, TVelmoraIOParams& params) {
  TMemoryStream* stream = file.Stream();
  BMPReadStream(stream, bitmap, stream->Size(), {}, params);
}

class BmpCodecTest : public ::testing::Test {
 protected:
  TVelmoraIOParams params{nullptr};
  TBitmap picture;
};

TEST_F(BmpCodecTest, LogoFileIsByteExact) {
  Paint(picture, 320, 400, PhotoLike);
  params.SamplesPerPixel = 1;
  params.DpiX = params.DpiY = 96;
  auto file = Write(picture, params);
  ASSERT_EQ(file.size(), 129078u);
  EXPECT_EQ(U16At(file, 0), 19778);
  EXPECT_EQ(U32At(file, 2), 129078u);
  EXPECT_EQ(U32At(file, 6), 0u);
  EXPECT_EQ(U32At(file, 10), 1078u);
  EXPECT_EQ(U32At(file, 14), 40u);
  EXPECT_EQ(U32At(file, 18), 320u);
  EXPECT_EQ(U32At(file, 22), 400u);
  EXPECT_EQ(U16At(file, 26), 1);
  EXPECT_EQ(U16At(file, 28), 8);
  EXPECT_EQ(U32At(file, 30), 0u);
  EXPECT_EQ(U32At(file, 34), 128000u);
  EXPECT_EQ(U32At(file, 38), 3780u);
  EXPECT_EQ(U32At(file, 42), 3780u);
  EXPECT_EQ(U32At(file, 46), 256u);
  EXPECT_EQ(U32At(file, 50), 256u);  // every entry is important: no animation colours claimed
  EXPECT_EQ(params.ColorMapCount(), 256);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(file[54 + 4 * i + 3], 0);
  EXPECT_EQ(file[54], params.ColorMap[0].b);

  // Read back: every pixel is its palette entry, close to the original.
  TVelmoraIOParams readParams{nullptr};
  BmpFileBuilder again;
  again.bytes = file;
  TBitmap back;
  Read(again, back, readParams);
  EXPECT_EQ(readParams.BitsPerSample, 8);
  EXPECT_EQ(readParams.SamplesPerPixel, 1);
  EXPECT_EQ(readParams.DpiX, 96);
  ASSERT_EQ(back.Width(), 320);
  ASSERT_EQ(back.Height(), 400);
  const std::uint8_t* index = &file[1078 + 320 * 399];  // top row, stored last
  for (int x = 0; x < 320; ++x) {
    const TColorTriple& c = params.ColorMap[index[x]];
    ASSERT_EQ(PixelAt(back, x, 0), RGB(c.r, c.g, c.b)) << x;
  }
}

TEST_F(BmpCodecTest, CoreHeaderAndFourBitAndTwentyFourBitLayouts) {
  Paint(picture, 320, 400, PhotoLike);
  params.SamplesPerPixel = 1;
  params.BmpHeaderKind = 2;
  auto core = Write(picture, params);
  EXPECT_EQ(U32At(core, 10), 794u);
  EXPECT_EQ(U32At(core, 14), 12u);
  EXPECT_EQ(core.size(), 794u + 128000u);

  Paint(picture, 5, 3, PhotoLike);
  params.BmpHeaderKind = 1;
  params.BitsPerSample = 4;
  auto four = Write(picture, params);
  EXPECT_EQ(four.size(), 14u + 40 + 64 + 3 * 4);
  EXPECT_EQ(U32At(four, 50), 16u);
  EXPECT_EQ(four[118 + 3] & 0x0F, 0);  // low nibble after the fifth pixel
  EXPECT_EQ(four[118 + 3 + 1], 0);  // pad byte

  params.BitsPerSample = 8;
  params.SamplesPerPixel = 3;
  auto full = Write(picture, params);
  EXPECT_EQ(full.size(), 14u + 40 + 3 * 16);
  EXPECT_EQ(U16At(full, 28), 24);
  EXPECT_EQ(U32At(full, 46), 0u);
  EXPECT_EQ(U32At(full, 50), 0u);
}

TEST_F(BmpCodecTest, OneBitWritesTwoColourPicturesAndFallsBackToTwentyFourBits) {
  Paint(picture, 9, 2, [](int x, int) { return x % 3 ? RGB(255, 255, 255) : RGB(0, 0, 128); });
  params.BitsPerSample = 1;
  auto two = Write(picture, params);
  EXPECT_EQ(U16At(two, 28), 1);
  EXPECT_EQ(U32At(two, 46), 2u);
  ASSERT_EQ(params.ColorMapCount(), 2);
  EXPECT_EQ(params.ColorMap[0], (TColorTriple{128, 0, 0}));  // the darker colour first
  EXPECT_EQ(two[62], 0b01101101);

  Paint(picture, 9, 2, [](int x, int) { return RGB(x * 20, 0, 0); });
  auto many = Write(picture, params);
  EXPECT_EQ(U16At(many, 28), 24);
}

TEST_F(BmpCodecTest, RunLengthEncodersSplitLongRowsAt255) {
  std::vector<std::uint8_t> row(300), out(2 * 300 + 4);
  for (int i = 0; i < 300; ++i) row[i] = static_cast<std::uint8_t>(i);
  std::size_t n = BMPEncodeRLE8Row(row.data(), 300, out.data());
  ASSERT_EQ(n, 2u + 255 + 1 + 2 + 45 + 1 + 2);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 255);
  EXPECT_EQ(out[258], 0);
  EXPECT_EQ(out[259], 45);
  EXPECT_EQ(out[n - 2], 0);
  EXPECT_EQ(out[n - 1], 0);

  std::fill(row.begin(), row.end(), 7);
  n = BMPEncodeRLE8Row(row.data(), 300, out.data());
  EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + static_cast<long>(n)),
            (std::vector<std::uint8_t>{255, 7, 45, 7, 0, 0}));

  const std::uint8_t four[] = {1, 2, 3, 3, 3, 4};
  n = BMPEncodeRLE4Row(four, 6, out.data());
  EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + static_cast<long>(n)),
            (std::vector<std::uint8_t>{2, 0x12, 3, 0x33, 1, 0x40, 0, 0}));
}

// Large pictures are mapped on several threads and written row by row: every pixel is its own
// nearest entry, whatever thread mapped it, and progress comes in order from the caller.
TEST_F(BmpCodecTest, EveryPixelOfALargePictureIsWrittenAsItsNearestEntry) {
  struct Mode {
    int bits, compression;
  };
  for (Mode mode : {Mode{8, 0}, Mode{4, 0}, Mode{8, 1}}) {
    SCOPED_TRACE(testing::Message() << mode.bits << " bits, compression " << mode.compression);
    Paint(picture, 320, 400, PhotoLike);
    TVelmoraIOParams writeParams{nullptr};
    writeParams.BitsPerSample = mode.bits;
    writeParams.SamplesPerPixel = 1;
    writeParams.BmpCompression = mode.compression;
    std::vector<int> reports;
    const std::thread::id caller = std::this_thread::get_id();
    int fromElsewhere = 0;
    TMemoryStream stream;
    BMPWriteStream(&stream, picture, writeParams,
                   {[&](TObject*, int per) {
                      reports.push_back(per);
                      fromElsewhere += std::this_thread::get_id() != caller;
                    },
                    nullptr});
    ASSERT_EQ(reports.size(), 400u);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(fromElsewhere, 0);

    std::vector<std::uint8_t> map(3u << mode.bits);
    auto quant = NeuQuantBuild(RowsOf(picture), map.data(), -1, 1 << mode.bits);
    BmpFileBuilder again;
    again.bytes.assign(static_cast<const std::uint8_t*>(stream.Memory()),
                       static_cast<const std::uint8_t*>(stream.Memory()) + stream.Size());
    TBitmap back;
    TVelmoraIOParams readParams{nullptr};
    Read(again, back, readParams);
    ASSERT_EQ(back.Height(), 400);
    for (int y = 0; y < 400; ++y)
      for (int x = 0; x < 320; ++x) {
        const COLORREF c = PixelAt(picture, x, y);
        const int i = quant->Index(GetBValue(c) | GetGValue(c) << 8 | GetRValue(c) << 16);
        ASSERT_EQ(PixelAt(back, x, y), RGB(map[3 * i + 2], map[3 * i + 1], map[3 * i])) << x << "," << y;
      }
  }
}

TEST_F(BmpCodecTest, RunLengthFilesRoundTripThroughTheirPalette) {
  for (int bits : {4, 8}) {
    Paint(picture, 37, 11, [](int x, int y) { return x < 20 ? RGB(200, 10, 10) : RGB(10 * y, 200, 30); });
    params.BitsPerSample = bits;
    params.SamplesPerPixel = 1;
    params.BmpCompression = 1;
    auto file = Write(picture, params);
    EXPECT_EQ(U32At(file, 30), bits == 4 ? 2u : 1u);
    EXPECT_EQ(file[file.size() - 1], 1);  // end of bitmap
    BmpFileBuilder again;
    again.bytes = file;
    TBitmap back;
    TVelmoraIOParams readParams{nullptr};
    Read(again, back, readParams);
    EXPECT_EQ(readParams.BmpCompression, 1);
    // Each pixel reads back as the palette entry it was mapped to.
    std::vector<std::uint8_t> map(3u << bits);
    auto quant = NeuQuantBuild(RowsOf(picture), map.data(), -1, 1 << bits);
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 37; ++x) {
        const COLORREF c = PixelAt(picture, x, y);
        const int i = quant->Index(GetBValue(c) | GetGValue(c) << 8 | GetRValue(c) << 16);
        ASSERT_EQ(PixelAt(back, x, y), RGB(map[3 * i + 2], map[3 * i + 1], map[3 * i])) << bits << " " << x << "," << y;
      }
  }
}

TEST_F(BmpCodecTest, ReaderHeaderKindsAndResolution) {
  auto rle8 = BmpFileBuilder::Info(1, 1, 8, 1, 1, 1);
  rle8.Entry(9, 9, 9).Bytes({1, 0, 0, 1});
  Read(rle8, picture, params);
  ASSERT_EQ(params.BmpCompression, 1);
  auto os2 = BmpFileBuilder();
  os2.U16(19778).U32(0).U32(0).U32(14 + 12 + 6).U32(12).U16(2).U16(1).U16(1).U16(1);
  os2.Bytes({0, 0, 255, 255, 255, 255}).Bytes({0x40, 0, 0, 0});
  Read(os2, picture, params);
  EXPECT_EQ(params.BmpHeaderKind, 2);
  EXPECT_EQ(params.BmpCompression, 0) << "a core header has no compression";
  EXPECT_EQ(params.DpiX, 96);
  EXPECT_EQ(picture.PixelFormat(), pf24bit);  // its palette is red and white, not black and white
  EXPECT_EQ(PixelAt(picture, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(picture, 1, 0), RGB(255, 255, 255));

  auto noDpi = BmpFileBuilder::Info(1, 1, 24, 1, 0, 0);
  noDpi.bytes[38] = noDpi.bytes[39] = noDpi.bytes[42] = noDpi.bytes[43] = 0;
  noDpi.Bytes({1, 2, 3, 0});
  Read(noDpi, picture, params);
  EXPECT_EQ(params.DpiX, 96);
  EXPECT_EQ(params.BmpHeaderKind, 1);
  EXPECT_EQ(PixelAt(picture, 0, 0), RGB(3, 2, 1));  // compression 1 ignored at 24 bits

  auto sixteen = BmpFileBuilder::Info(2, 1, 4, 0, 0, 16);
  for (int i = 0; i < 16; ++i) sixteen.Entry(i, i, i);
  sixteen.Bytes({0x1F, 0, 0, 0});
  Read(sixteen, picture, params);
  EXPECT_EQ(params.ColorMapCount(), 16);
  EXPECT_EQ(PixelAt(picture, 0, 0), RGB(1, 1, 1));
  EXPECT_EQ(PixelAt(picture, 1, 0), RGB(15, 15, 15));
}

TEST_F(BmpCodecTest, BlackAndWhiteFilesStayOneBitAndTopDownRowsAreFlipped) {
  auto mono = BmpFileBuilder::Info(3, 2, 1, 0, 0, 2);
  mono.Entry(0, 0, 0).Entry(255, 255, 255).Bytes({0x80, 0, 0, 0}).Bytes({0x20, 0, 0, 0});
  Read(mono, picture, params);
  ASSERT_EQ(picture.PixelFormat(), pf1bit);
  EXPECT_EQ(RowOf(picture, 1)[0], 0x80);  // the first file row is the bottom one
  EXPECT_EQ(RowOf(picture, 0)[0], 0x20);

  auto topDown = BmpFileBuilder::Info(1, -2, 24, 0, 0, 0);
  topDown.Bytes({1, 1, 1, 0}).Bytes({2, 2, 2, 0});
  Read(topDown, picture, params);
  EXPECT_EQ(params.Height, 2);
  EXPECT_EQ(PixelAt(picture, 0, 0), RGB(1, 1, 1));
  EXPECT_EQ(PixelAt(picture, 0, 1), RGB(2, 2, 2));
}

TEST_F(BmpCodecTest, HostileHeadersAreRefused) {
  struct Case {
    const char* what;
    std::int32_t width, height;
    int bits;
    std::uint32_t compression;
  };
  const Case cases[] = {
      {"zero width", 0, 5, 24, 0},
      {"negative width", -4, 5, 24, 0},
      {"zero height", 5, 0, 24, 0},
      {"most negative height", 5, INT32_MIN, 24, 0},
      {"far more than the data", 30000, 30000, 24, 0},
      {"top-down run-length", 4, -4, 8, 1},
  };
  for (const Case& c : cases) {
    auto file = BmpFileBuilder::Info(c.width, c.height, c.bits, c.compression, 0, 0);
    file.Bytes({0, 0, 0, 0});
    EXPECT_THROW(Read(file, picture, params), EInvalidGraphic) << c.what;
  }
  BmpFileBuilder notBmp;
  notBmp.Bytes({'B', 'A', 0, 0});
  EXPECT_THROW(Read(notBmp, picture, params), EInvalidGraphic);
}

TEST_F(BmpCodecTest, UntrustedPalettesRunsAndTruncationStayInBounds) {
  // A 4-colour palette while pixels use index 200: those read black.
  auto shortPalette = BmpFileBuilder::Info(2, 1, 8, 0, 4, 4);
  shortPalette.Entry(10, 20, 30).Entry(0, 0, 0).Entry(0, 0, 0).Entry(0, 0, 0).Bytes({0, 200, 0, 0});
  Read(shortPalette, picture, params);
  EXPECT_EQ(PixelAt(picture, 0, 0), RGB(10, 20, 30));
  EXPECT_EQ(PixelAt(picture, 1, 0), RGB(0, 0, 0));

  // A colour count far beyond the file.
  auto hugeCount = BmpFileBuilder::Info(1, 1, 8, 0, 0xFFFFFFF0u, 1);
  hugeCount.Entry(1, 2, 3).Bytes({0, 0, 0, 0});
  hugeCount.bytes[10] = hugeCount.bytes[11] = hugeCount.bytes[12] = hugeCount.bytes[13] = 0;
  EXPECT_NO_THROW(Read(hugeCount, picture, params));
  EXPECT_EQ(params.ColorMapCount(), 256);

  // Runs past the row, an absolute run past the data, deltas beyond the picture.
  auto runs = BmpFileBuilder::Info(4, 2, 8, 1, 2, 2);
  runs.Entry(9, 9, 9).Entry(200, 100, 50);
  runs.Bytes({200, 1, 0, 0, 0, 2, 250, 250, 0, 2, 1, 0, 0, 40, 1, 1});
  Read(runs, picture, params);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(picture, x, 1), RGB(200, 100, 50)) << x;

  // A 24-bit file cut off in its second row: the rest reads as zeros.
  auto cut = BmpFileBuilder::Info(2, 2, 24, 0, 0, 0);
  cut.Bytes({5, 5, 5, 6, 6, 6, 0, 0, 7});
  Read(cut, picture, params);
  EXPECT_EQ(PixelAt(picture, 0, 1), RGB(5, 5, 5));
  EXPECT_EQ(PixelAt(picture, 0, 0), RGB(0, 0, 7));
  EXPECT_EQ(PixelAt(picture, 1, 0), RGB(0, 0, 0));
}

// 16- and 32-bit files of one pixel, with masks as the header gives them (after the 40-byte one,
// inside a longer one), read with each channel's top bit moved to bit 7.
TEST_F(BmpCodecTest, SixteenAndThirtyTwoBitPixelsGoThroughTheirMasks) {
  const std::vector<std::uint32_t> rgb565{0xF800, 0x07E0, 0x001F}, rgba{0xFF, 0xFF00, 0xFF0000};
  const std::initializer_list<int> grey565{0x10, 0x84, 0, 0}, bytes32{0x10, 0x20, 0x30, 0x40};
  struct Case {
    const char* what;
    int bits;
    std::uint32_t compression, headerSize, colorsUsed;
    std::vector<std::uint32_t> masks;
    std::initializer_list<int> pixel;
    COLORREF colour;
  };
  const Case cases[] = {
      {"16 bits without masks: 5-5-5", 16, 0, 40, 0, {}, {0xFF, 0x7F, 0, 0}, RGB(248, 248, 248)},
      {"16 bits, 5-6-5 mid grey", 16, 3, 40, 0, rgb565, grey565, RGB(128, 128, 128)},
      {"32 bits without masks", 32, 0, 40, 0, {}, bytes32, RGB(0x30, 0x20, 0x10)},
      {"32 bits, red, green, blue, alpha bytes", 32, 3, 40, 0, rgba, bytes32, RGB(0x10, 0x20, 0x30)},
      {"124-byte header holding 5-6-5 masks", 16, 3, 124, 0, rgb565, grey565, RGB(128, 128, 128)},
      {"108-byte header holding RGBA masks", 32, 3, 108, 0, rgba, bytes32, RGB(0x10, 0x20, 0x30)},
      {"a colour table after the masks", 16, 3, 40, 2, rgb565, grey565, RGB(128, 128, 128)},
      {"OS/2 2.x's compression 3 is no bit fields", 16, 3, 64, 0, rgb565, grey565, RGB(8, 0, 128)},
  };
  for (const Case& c : cases) {
    auto file = BmpFileBuilder::Info(1, 1, c.bits, c.compression, c.colorsUsed, c.colorsUsed, c.headerSize);
    for (std::size_t i = 0; i < c.masks.size(); ++i) {
      if (c.headerSize == 40) file.U32(c.masks[i]);
      else
        file.Set32(14 + 40 + 4 * i, c.masks[i]);
    }
    for (std::uint32_t i = 0; i < c.colorsUsed; ++i) file.Entry(1, 1, 1);
    file.PixelsHere().Bytes(c.pixel);
    Read(file, picture, params);
    EXPECT_EQ(PixelAt(picture, 0, 0), c.colour) << c.what;
  }
}

// A delta, an early end of line and the end of the data skip pixels: they read as entry 0.
TEST_F(BmpCodecTest, PixelsThatRunLengthDataSkipsArePaletteEntryZero) {
  for (int bits : {8, 4}) {
    const int one = bits == 8 ? 1 : 0x11;
    auto file = BmpFileBuilder::Info(4, 3, bits, bits == 8 ? 1 : 2, 2, 2);
    file.Entry(10, 20, 30).Entry(200, 100, 50);
    file.Bytes({2, one, 0, 0, 0, 2, 1, 1, 1, one});
    Read(file, picture, params);
    const COLORREF zero = RGB(10, 20, 30), set = RGB(200, 100, 50);
    const COLORREF expected[3][4] = {{zero, set, zero, zero}, {zero, zero, zero, zero}, {set, set, zero, zero}};
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x)
        EXPECT_EQ(PixelAt(picture, x, y), expected[y][x]) << bits << " bits, " << x << "," << y;
  }
}

TEST_F(BmpCodecTest, ProgressCountsRows) {
  auto file = BmpFileBuilder::Info(1, 4, 24, 0, 0, 0);
  file.Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  std::vector<int> reports;
  TMemoryStream* stream = file.Stream();
  BMPReadStream(stream, picture, stream->Size(), {[&](TObject*, int per) { reports.push_back(per); }, nullptr}, params);
  EXPECT_EQ(reports, (std::vector<int>{0, 25, 50, 75}));
}

}  // namespace
