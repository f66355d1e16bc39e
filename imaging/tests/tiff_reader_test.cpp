#include "imaging/tiff_reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/testing/outside_tools.h"
#include "vcl/graphics_images.h"
#include "imaging/screen_dpi.h"
#include "imaging/tiff_lzw.h"
#include "test_pictures.h"
#include "tiff_file_writer.h"
#include "win32/testing/machine_root.h"

namespace {

struct TiffLoad {
  TBitmap bitmap;
  TVelmoraIOParams params{nullptr};
  int count = -1;

  explicit TiffLoad(int wanted = 0) {
    params.TiffImageIndex = wanted;
    params.TiffLzwDecoder = TiffLzwDecode;
  }
  void Read(const std::vector<std::uint8_t>& bytes) {
    TMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    TIFFReadStream(bitmap, &stream, count, {}, params);
  }
  // The message the reader refuses the file with; "read" when it takes it.
  std::string Refusal(const std::vector<std::uint8_t>& bytes) {
    try {
      Read(bytes);
    } catch (const EInvalidGraphic& e) {
      return e.what();
    }
    return "read";
  }
};

// An image of width x height with its basic tags; width and height as SHORTs.
TiffDirectory Basic(int width, int height, int bits, int samples, int photometric, int compression = 1) {
  TiffDirectory d;
  d.Set(256, 3, {static_cast<std::uint32_t>(width)}).Set(257, 3, {static_cast<std::uint32_t>(height)});
  std::vector<std::uint32_t> bps(static_cast<std::size_t>(samples), static_cast<std::uint32_t>(bits));
  d.Set(258, 3, bps).Set(259, 3, {static_cast<std::uint32_t>(compression)});
  d.Set(262, 3, {static_cast<std::uint32_t>(photometric)}).Set(277, 3, {static_cast<std::uint32_t>(samples)});
  return d;
}

TEST(TiffReader, RgbStripsReadTheSameInBothByteOrders) {
  // Three rows in strips of two rows; offsets and counts as two inline SHORTs.
  TiffDirectory d = Basic(2, 3, 8, 3, 2);
  d.Set(278, 3, {2}).Text(269, "doc").Text(270, "a longer description").Set(297, 3, {4, 9});
  d.Set(282, 5, {40, 1}).Set(283, 5, {0, 0}).Set(296, 3, {3}).Set(286, 5, {10, 4});
  d.strips = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {13, 14, 15, 16, 17, 18}};
  for (bool big : {false, true}) {
    SCOPED_TRACE(big ? "MM" : "II");
    TiffLoad load;
    load.Read(WriteTiff({d}, big, 3));
    ASSERT_EQ(load.bitmap.Width(), 2);
    ASSERT_EQ(load.bitmap.Height(), 3);
    EXPECT_EQ(PixelAt(load.bitmap, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(PixelAt(load.bitmap, 1, 1), RGB(10, 11, 12));
    EXPECT_EQ(PixelAt(load.bitmap, 1, 2), RGB(16, 17, 18));
    EXPECT_EQ(load.count, 1);
    EXPECT_EQ(load.params.TiffDocumentName, "doc") << "inline text in file order";
    EXPECT_EQ(load.params.TiffImageDescription, "a longer description");
    EXPECT_EQ(load.params.TiffPageNumber, 4) << "a SHORT pair in the value field";
    EXPECT_EQ(load.params.TiffPageCount, 9);
    EXPECT_EQ(load.params.DpiX, 101);
    EXPECT_EQ(load.params.DpiY, ScreenDpiY());
    EXPECT_EQ(load.params.TiffXPos, 6);
    EXPECT_EQ(load.params.SamplesPerPixel, 3);
    EXPECT_EQ(load.params.TiffPhotometric, 2);
  }
}

TEST(TiffReader, PaletteAndGreyDepths) {
  std::vector<std::uint32_t> map(48);
  for (std::uint32_t i = 0; i < 16; ++i) {
    map[i] = i * 4096;  // red
    map[16 + i] = 0xFF00;  // green
    map[32 + i] = 0x1200;  // blue
  }
  TiffDirectory palette = Basic(3, 1, 4, 1, 3);
  palette.Set(320, 3, map);
  palette.strips = {{0x1F, 0x20}};
  TiffLoad p;
  p.Read(WriteTiff({palette}, true));
  EXPECT_EQ(PixelAt(p.bitmap, 0, 0), RGB(16, 255, 18));
  EXPECT_EQ(PixelAt(p.bitmap, 1, 0), RGB(240, 255, 18));
  EXPECT_EQ(PixelAt(p.bitmap, 2, 0), RGB(32, 255, 18));
  EXPECT_EQ(p.params.ColorMapCount(), 16);

  TiffDirectory shortMap = Basic(2, 1, 8, 1, 3);
  shortMap.Set(320, 3, map);  // 48 values: too few for 8 bits
  shortMap.strips = {{1, 200}};
  TiffLoad s;
  s.Read(WriteTiff({shortMap}, false));
  EXPECT_EQ(s.params.ColorMapCount(), 0);
  EXPECT_EQ(PixelAt(s.bitmap, 1, 0), RGB(0, 0, 0));

  struct Grey {
    const char* name;
    TiffDirectory dir;
    bool big;
    std::vector<BYTE> expected;
  };
  TiffDirectory grey4 = Basic(3, 1, 4, 1, 1);
  grey4.strips = {{0x1F, 0x20}};
  TiffDirectory white0 = Basic(2, 1, 8, 1, 0);
  white0.strips = {{0, 200}};
  TiffDirectory grey16 = Basic(2, 1, 16, 1, 1);
  grey16.strips = {{0x12, 0x34, 0x56, 0x78}};
  const Grey cases[] = {
      {"4 bits, odd width", grey4, false, {16, 240, 32}},
      {"8 bits, white is zero", white0, false, {255, 55}},
      {"16 bits little-endian: the second byte", grey16, false, {0x34, 0x78}},
      {"16 bits big-endian: the first byte", grey16, true, {0x12, 0x56}},
  };
  for (const Grey& g : cases) {
    SCOPED_TRACE(g.name);
    TiffLoad load;
    load.Read(WriteTiff({g.dir}, g.big));
    for (std::size_t x = 0; x < g.expected.size(); ++x)
      EXPECT_EQ(PixelAt(load.bitmap, static_cast<int>(x), 0), RGB(g.expected[x], g.expected[x], g.expected[x]));
  }
}

TEST(TiffReader, CompressionsDecodeToTheSamePicture) {
  const std::vector<std::uint8_t> raw{10, 10, 10, 10, 10, 1, 2, 3, 4, 5};  // 5 x 2 grey
  struct Case {
    const char* name;
    int compression;
    std::vector<std::uint8_t> strip;
    std::vector<std::uint8_t> pixels;
  };
  // LZW: clear, the bytes as single codes, end (nine-bit codes).
  std::vector<std::uint8_t> lzw;
  {
    std::uint64_t buffer = 0;
    int bits = 0;
    std::vector<int> codes{256};
    codes.insert(codes.end(), raw.begin(), raw.end());
    codes.push_back(257);
    for (int c : codes) {
      buffer = buffer << 9 | static_cast<unsigned>(c);
      bits += 9;
      while (bits >= 8) lzw.push_back(static_cast<std::uint8_t>(buffer >> (bits -= 8)));
    }
    if (bits) lzw.push_back(static_cast<std::uint8_t>(buffer << (8 - bits)));
  }
  // Strips that end in the second row: the rest of it is zeros, not the bytes of the row before.
  const std::vector<std::uint8_t> cut{10, 20, 30, 40, 50, 1, 2, 0, 0, 0}, repeatCut{10, 20, 30, 40, 50, 1, 1, 0, 0, 0};
  const Case cases[] = {
      {"none", 1, raw, raw},
      {"PackBits, with a run crossing the row's end", 32773, {0xFC, 10, 0x04, 1, 2, 3, 4, 5}, raw},
      {"LZW", 5, lzw, raw},
      {"none, cut short", 1, {10, 20, 30, 40, 50, 1, 2}, cut},
      {"PackBits, cut short", 32773, {0x04, 10, 20, 30, 40, 50, 0x01, 1, 2}, cut},
      {"PackBits ending in a repeat without its byte", 32773, {0x04, 10, 20, 30, 40, 50, 0xFF, 1, 0xFE}, repeatCut},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TiffDirectory d = Basic(5, 2, 8, 1, 1, c.compression);
    d.strips = {c.strip};
    TiffLoad load;
    load.Read(WriteTiff({d}, false));
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(GetRValue(PixelAt(load.bitmap, x, 0)), c.pixels[static_cast<std::size_t>(x)]);
      EXPECT_EQ(GetRValue(PixelAt(load.bitmap, x, 1)), c.pixels[static_cast<std::size_t>(5 + x)]);
    }
  }
  TiffDirectory d = Basic(5, 2, 8, 1, 1, 5);
  d.strips = {lzw};
  TiffLoad noDecoder;
  noDecoder.params.TiffLzwDecoder = nullptr;
  try {
    noDecoder.Read(WriteTiff({d}, false));
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "LZW Decompressor not found");
  }
  EXPECT_EQ(noDecoder.bitmap.Width(), 5) << "sized before the refusal";
}

// RGB with an extra sample (alpha, the usual output of today's tools) shows its first three.
TEST(TiffReader, RgbWithExtraSamplesShowsTheFirstThree) {
  struct Case {
    const char* name;
    int samples, planar, predictor;
    std::vector<std::vector<std::uint8_t>> strips;
  };
  // Two pixels, (1, 2, 3) and (4, 5, 6), alpha 200 and 100; planar strips hold one plane each.
  const Case cases[] = {
      {"chunky RGBA", 4, 1, 1, {{1, 2, 3, 200, 4, 5, 6, 100}}},
      {"chunky RGBA, differenced", 4, 1, 2, {{1, 2, 3, 200, 3, 3, 3, 156}}},
      {"chunky RGB and two extra samples", 5, 1, 1, {{1, 2, 3, 9, 9, 4, 5, 6, 9, 9}}},
      {"planar RGBA", 4, 2, 1, {{1, 4}, {2, 5}, {3, 6}, {200, 100}}},
      {"planar RGBA, differenced", 4, 2, 2, {{1, 3}, {2, 3}, {3, 3}, {200, 156}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TiffDirectory d = Basic(2, 1, 8, c.samples, 2);
    d.Set(284, 3, {static_cast<std::uint32_t>(c.planar)}).Set(317, 3, {static_cast<std::uint32_t>(c.predictor)});
    d.Set(338, 3, {2});  // ExtraSamples: unassociated alpha, which the reader needs not know
    d.strips = c.strips;
    TiffLoad load;
    load.Read(WriteTiff({d}, false));
    EXPECT_EQ(PixelAt(load.bitmap, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(PixelAt(load.bitmap, 1, 0), RGB(4, 5, 6));
    EXPECT_EQ(load.params.SamplesPerPixel, c.samples);
  }
}

// Pictures the reader cannot turn into pixels are refused, never handed back blank.
TEST(TiffReader, UndecodableCombinationsAreRefused) {
  struct Case {
    const char* name;
    int bits, samples, photometric, compression, planar;
  };
  const Case cases[] = {
      {"CMYK", 8, 4, 5, 1, 1},
      {"YCbCr", 8, 3, 6, 1, 1},
      {"16-bit RGB", 16, 3, 2, 1, 1},
      {"RGB with only two samples", 8, 2, 2, 1, 1},
      {"grey with an extra sample", 8, 2, 1, 1, 1},
      {"planar grey with an extra sample", 8, 2, 1, 1, 2},
      {"JPEG compression", 8, 3, 2, 7, 1},
      {"an unknown compression", 8, 1, 1, 9, 1},
      {"fax-coded grey", 8, 1, 1, 4, 1},
      {"2-bit palette", 2, 1, 3, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TiffDirectory d = Basic(2, 1, c.bits, c.samples, c.photometric, c.compression);
    d.Set(284, 3, {static_cast<std::uint32_t>(c.planar)});
    d.strips = {std::vector<std::uint8_t>(16, 7)};
    EXPECT_EQ(TiffLoad().Refusal(WriteTiff({d}, false)), "unrecognized TIFF");
  }
  // One sample per pixel reads the same whichever planar configuration is declared.
  TiffDirectory grey = Basic(2, 1, 8, 1, 1);
  grey.Set(284, 3, {2});
  grey.strips = {{40, 80}};
  TiffLoad load;
  load.Read(WriteTiff({grey}, false));
  EXPECT_EQ(PixelAt(load.bitmap, 1, 0), RGB(80, 80, 80));
}

// Tiles stand where strips would: a tiled image is refused, not handed back black, and the
// picture read before stays.
TEST(TiffReader, TiledImagesAreRefused) {
  const std::vector<std::uint8_t> tiled = TiledRgbTiff(40, 20, 16);
  TiffLoad load;
  Reshape(load.bitmap, pf24bit, 3, 2);
  EXPECT_EQ(load.Refusal(tiled), "unrecognized TIFF");
  EXPECT_EQ(load.bitmap.Width(), 3);
  if (!HaveTool("tiffinfo")) return;
  ScopedMachineRoot root;
  const std::filesystem::path file = root.Path() / "tiled.tif";
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(tiled.data()), static_cast<std::streamsize>(tiled.size()));
  const std::string info = ToolOutput("tiffinfo " + file.string() + " 2>&1");
  EXPECT_NE(info.find("Tile Width: 16 Tile Length: 16"), std::string::npos) << "libtiff reads it as tiled:\n" << info;
}

// Every sample of a row is held at once: a row of many extra samples may not outgrow a bitmap.
TEST(TiffReader, ARowOfTooManySamplesIsRefused) {
  constexpr std::uint32_t kWidth = 1u << 23;  // times 64 samples: twice the largest bitmap
  TiffDirectory d = Basic(1, 1, 8, 64, 2);
  d.Set(256, 4, {kWidth});
  d.strips = {std::vector<std::uint8_t>(16, 7)};
  EXPECT_EQ(TiffLoad().Refusal(WriteTiff({d}, false)), "Invalid TIFF stream");
}

// A memory stream that reads in its own way, so the reader must go through its Read.
class CountingStream : public TMemoryStream {
 public:
  int reads = 0;
  std::int64_t Read(void* buffer, std::int64_t count) override {
    ++reads;
    return TMemoryStream::Read(buffer, count);
  }
};

TEST(TiffReader, TheFileIsReadFromTheStreamsPositionToItsEnd) {
  TiffDirectory d = Basic(2, 1, 8, 3, 2);
  d.strips = {{1, 2, 3, 4, 5, 6}};
  std::vector<std::uint8_t> bytes{0xEE, 0xEE, 0xEE};
  const std::vector<std::uint8_t> file = WriteTiff({d}, false);
  bytes.insert(bytes.end(), file.begin(), file.end());
  TMemoryStream memory;  // read where its bytes lie
  CountingStream counting;
  for (TMemoryStream* stream : {&memory, static_cast<TMemoryStream*>(&counting)}) {
    SCOPED_TRACE(stream == &memory ? "memory stream" : "a class of its own");
    stream->Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream->SetPosition(3);
    TiffLoad load;
    TIFFReadStream(load.bitmap, stream, load.count, {}, load.params);
    EXPECT_EQ(PixelAt(load.bitmap, 1, 0), RGB(4, 5, 6));
    EXPECT_EQ(stream->Position(), static_cast<std::int64_t>(bytes.size()));
  }
  EXPECT_EQ(counting.reads, 1);
}

TEST(TiffReader, BilevelRowsAreInvertedByPhotometricAndCompression) {
  // Uncompressed: set bits as stored. Group 4 (V0 then H white 3 black 2): the fax decoder's
  // set bits are white.
  TiffDirectory raw = Basic(10, 1, 1, 1, 0);
  raw.strips = {{0xF0, 0x40}};
  TiffDirectory g4 = Basic(16, 2, 1, 1, 1, 4);
  g4.strips = {{0b10011000, 0b11100000}};  // row 1: V0 (white); row 2: H W3 B2, V0
  TiffLoad a, b;
  a.Read(WriteTiff({raw}, false));
  b.Read(WriteTiff({g4}, true));
  ASSERT_EQ(a.bitmap.PixelFormat(), pf1bit);
  EXPECT_EQ(RowOf(a.bitmap, 0)[0], 0x0F) << "white is zero: inverted";
  EXPECT_EQ(RowOf(a.bitmap, 0)[1] & 0xC0, 0x80);
  EXPECT_EQ(RowOf(b.bitmap, 0)[0], 0x00) << "black is zero, fax white is set: inverted";
  EXPECT_EQ(RowOf(b.bitmap, 1)[0], 0x18);
  EXPECT_EQ(RowOf(b.bitmap, 1)[1], 0x00);
  EXPECT_EQ(b.params.TiffCompression, 4);
}

TEST(TiffReader, DirectoryChains) {
  std::vector<TiffDirectory> dirs;
  for (int i = 0; i < 3; ++i) {
    TiffDirectory d = Basic(1, 1, 8, 1, 1);
    d.strips = {{static_cast<std::uint8_t>(50 * i + 1)}};
    dirs.push_back(d);
  }
  TiffLoad third(2);
  third.Read(WriteTiff(dirs, false));
  EXPECT_EQ(third.count, 3);
  EXPECT_EQ(PixelAt(third.bitmap, 0, 0), RGB(101, 101, 101));
  TiffLoad beyond(3);
  Reshape(beyond.bitmap, pf24bit, 4, 4);
  beyond.Read(WriteTiff(dirs, true));
  EXPECT_EQ(beyond.count, 3);
  EXPECT_EQ(beyond.bitmap.Width(), 4);
  TiffLoad looping(5);
  looping.Read(WriteTiff(dirs, false, 4, true));
  EXPECT_EQ(looping.count, 3) << "the chain stops where it comes back";
}

TEST(TiffReader, ResolutionsAndPositionsBeyondAnIntAreHeldAtItsLimits) {
  // Found by fuzzing: 2516582400 dpi in centimetres overflowed the conversion.
  TiffDirectory d = Basic(1, 1, 8, 1, 1);
  d.Set(282, 5, {2516582400u, 1}).Set(283, 5, {3000000000u, 1}).Set(286, 5, {4000000000u, 1});
  d.Set(287, 5, {7, 2}).Set(296, 3, {3});
  d.strips = {{0}};
  TiffLoad load;
  load.Read(WriteTiff({d}, true));
  EXPECT_EQ(load.params.DpiX, INT_MAX);
  EXPECT_EQ(load.params.DpiY, INT_MAX);
  EXPECT_EQ(load.params.TiffXPos, INT_MAX);
  EXPECT_EQ(load.params.TiffYPos, 8) << "3.5 cm, truncated";
}

TEST(TiffReader, DamagedFilesAreBoundedOrRefused) {
  // Strips beyond the file, counts shorter than offsets, rows passing their strip.
  TiffDirectory d = Basic(3, 4, 8, 1, 1);
  d.Set(278, 4, {1}).Set(273, 4, {8, 9, 100000, 10}).Set(279, 4, {1, 50});
  TiffLoad bounded;
  bounded.Read(WriteTiff({d}, false));
  EXPECT_EQ(bounded.bitmap.Height(), 4);
  // Planar strips not a multiple of three: whole triples only.
  TiffDirectory planar = Basic(2, 1, 8, 3, 2);
  planar.Set(284, 3, {2});
  planar.strips = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
  TiffLoad p;
  p.Read(WriteTiff({planar}, false));
  EXPECT_EQ(PixelAt(p.bitmap, 1, 0), RGB(2, 4, 6));

  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* message;
  };
  TiffDirectory mixed = Basic(2, 2, 8, 3, 2);
  mixed.Set(258, 3, {8, 8, 16});
  TiffDirectory noHeight = Basic(2, 0, 8, 1, 1);
  TiffDirectory huge = Basic(1, 1, 8, 1, 1);
  huge.Set(256, 4, {70000}).Set(257, 4, {70000});
  const Case cases[] = {
      {"byte order mark", {'I', 'M', 42, 0, 8, 0, 0, 0}, "unrecognized TIFF"},
      {"differing sample sizes", WriteTiff({mixed}, false), "Invalid TIFF stream"},
      {"height 0", WriteTiff({noHeight}, false), "Invalid TIFF stream"},
      {"too many pixels", WriteTiff({huge}, true), "Invalid TIFF stream"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TiffLoad load;
    try {
      load.Read(c.bytes);
      ADD_FAILURE();
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
