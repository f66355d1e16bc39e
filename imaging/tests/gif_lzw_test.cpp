#include "imaging/gif_lzw.h"

#include <gtest/gtest.h>

#include <random>

#include "gif_file_writer.h"
#include "vcl/graphics_images.h"

namespace {

std::vector<std::uint8_t> Noise(std::size_t count, int colors, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> out(count);
  for (auto& p : out) p = static_cast<std::uint8_t>(random() % static_cast<unsigned>(colors));
  return out;
}

// Decodes `data` followed by a trailer byte into a fresh buffer of `fill` bytes.
struct Decoded {
  std::vector<std::uint8_t> pixels;
  int after = -1;  // the byte the stream stands at afterwards, -1 at the end
};
Decoded Decode(std::vector<std::uint8_t> data, int width, int height, bool interlaced = false, bool trailer = true) {
  const std::uint8_t fill = 0xEE;
  if (trailer) data.push_back(0x3B);
  TMemoryStream stream;
  stream.Write(data.data(), static_cast<std::int64_t>(data.size()));
  stream.SetPosition(0);
  Decoded d;
  d.pixels.assign(static_cast<std::size_t>(width) * height, fill);
  GifLzwDecode(&stream, height, width, interlaced, d.pixels.data());
  std::uint8_t next = 0;
  if (stream.Read(&next, 1) == 1) d.after = next;
  return d;
}

TEST(GifLzwDecode, RoundTripsEncoderVariants) {
  struct Case {
    const char* name;
    int width, height, colors;
    GifLzwOptions options;
  };
  const Case cases[] = {
      {"8-bit noise", 61, 47, 256, {}},
      {"2-bit codes", 33, 9, 4, {.minimumCodeSize = 2}},
      {"1-bit codes", 20, 5, 2, {.minimumCodeSize = 1}},
      {"one-byte sub-blocks", 40, 30, 16, {.minimumCodeSize = 4, .subBlockSize = 1}},
      {"no leading clear", 50, 20, 256, {.leadingClear = false}},
      {"table kept full without clear", 300, 200, 256, {.clearWhenFull = false}},
      {"no end code", 17, 13, 256, {.endCode = false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto pixels = Noise(static_cast<std::size_t>(c.width) * c.height, c.colors, 7);
    Decoded d = Decode(GifLzwEncode(pixels, c.options), c.width, c.height);
    EXPECT_EQ(d.pixels, pixels);
    EXPECT_EQ(d.after, 0x3B) << "the stream stands past the terminator";
  }
}

TEST(GifLzwDecode, RepeatedPixelsUseCodesNotYetInTheTable) {
  std::vector<std::uint8_t> pixels(500, 3);
  pixels[250] = 1;
  EXPECT_EQ(Decode(GifLzwEncode(pixels), 25, 20).pixels, pixels);
}

TEST(GifLzwDecode, InterlacedRowsAreFilledOnceInPassOrder) {
  for (int height = 1; height <= 12; ++height) {
    SCOPED_TRACE(height);
    std::vector<int> order;
    for (int first : {0, 4, 2, 1})
      for (int y = first; y < height; y += first == 0 ? 8 : first == 4 ? 8 : first == 2 ? 4 : 2) order.push_back(y);
    std::vector<std::uint8_t> coded;
    for (int y : order) coded.insert(coded.end(), 3, static_cast<std::uint8_t>(y));
    Decoded d = Decode(GifLzwEncode(coded), 3, height, true);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(d.pixels[static_cast<std::size_t>(y * 3 + x)], y);
  }
}

TEST(GifLzwDecode, CodeSizesOutsideTheTablesAreRefused) {
  for (int size : {0, 12, 255}) {
    std::vector<std::uint8_t> data{static_cast<std::uint8_t>(size), 1, 0, 0};
    try {
      Decode(data, 2, 2);
      ADD_FAILURE() << size;
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "unrecognized GIF");
    }
  }
}

TEST(GifLzwDecode, ShortSubBlockIsRefused) {
  std::vector<std::uint8_t> data{8, 10, 0x00, 0x01};
  TMemoryStream stream;
  stream.Write(data.data(), 4);
  stream.SetPosition(0);
  std::vector<std::uint8_t> out(4);
  EXPECT_THROW(GifLzwDecode(&stream, 2, 2, false, out.data()), EInvalidGraphic);
}

TEST(GifLzwDecode, EarlyEndsLeaveTheRestUntouched) {
  // Codes of 3 bits (minimum size 2, clear 4, end 5).
  const auto pack = [](std::initializer_list<int> codes) {
    std::uint32_t buffer = 0;
    int bits = 0;
    for (int c : codes) {
      buffer |= static_cast<std::uint32_t>(c) << bits;
      bits += 3;
    }
    std::vector<std::uint8_t> out{2, static_cast<std::uint8_t>((bits + 7) / 8)};
    for (int i = 0; i < (bits + 7) / 8; ++i) out.push_back(static_cast<std::uint8_t>(buffer >> (8 * i)));
    out.push_back(0);
    return out;
  };
  struct Case {
    const char* name;
    std::vector<std::uint8_t> data;
    std::vector<std::uint8_t> expected;
  };
  const std::vector<std::uint8_t> twoPixels{1, 2, 0xEE, 0xEE, 0xEE, 0xEE};
  const Case cases[] = {
      {"code beyond the table (next free is 6)", pack({4, 1, 2, 4, 1, 7, 1}), {1, 2, 1, 0xEE, 0xEE, 0xEE}},
      {"end code", pack({4, 1, 2, 5, 1}), twoPixels},
      {"code with no entry after a clear", pack({4, 1, 2, 4, 6, 1}), twoPixels},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Decoded d = Decode(c.data, 3, 2);
    EXPECT_EQ(d.pixels, c.expected);
    EXPECT_EQ(d.after, 0x3B);
  }
  // Data cut at a sub-block boundary, and a stream that ends after the code-size byte.
  auto full = GifLzwEncode(Noise(100, 256, 3), {.subBlockSize = 10});
  std::vector<std::uint8_t> cut(full.begin(), full.begin() + 1 + 11 * 2);
  Decoded d = Decode(cut, 10, 10, false, false);
  EXPECT_EQ(d.pixels[99], 0xEE);
  EXPECT_EQ(Decode({8}, 2, 2, false, false).pixels, std::vector<std::uint8_t>(4, 0xEE));
}

}  // namespace
