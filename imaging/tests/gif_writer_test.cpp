#include "imaging/gif_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "imaging/gif_lzw.h"
#include "imaging/gif_reader.h"
#include "test_pictures.h"

namespace {

struct Read {
  TBitmap bitmap;
  TVelmoraIOParams params{nullptr};
  int count = 0;
};

void ReadBytes(const std::vector<std::uint8_t>& bytes, int index, Read& read) {
  TMemoryStream stream;
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  read.params.GifLzwDecoder = GifLzwDecode;
  read.params.GifImageIndex = index;
  GIFReadStream(&stream, read.bitmap, read.count, {}, read.params);
}

bool Contains(const std::vector<std::uint8_t>& bytes, const std::string& text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

TEST(GifWriter, FramesReadBackInOrderWithTheirPlacesDelaysAndTransparency) {
  const std::vector<TColorTriple> palette{{0, 0, 255}, {0, 255, 0}, {255, 0, 0}};  // red, green, blue
  const TGifFrame first{0, 0, 4, 2, {0, 1, 2, 0, 2, 1, 0, 2}, 25};
  const TGifFrame second{1, 1, 2, 1, {2, 2}, 50, 1};
  const std::vector<std::uint8_t> file = GifFileBytes(4, 2, palette, {first, second});
  EXPECT_TRUE(Contains(file, "NETSCAPE2.0")) << "frames that repeat";
  EXPECT_EQ(file[10] & 7, 1) << "three colours padded to a table of four";

  Read one;
  ReadBytes(file, 0, one);
  EXPECT_EQ(one.count, 2);
  ASSERT_EQ(one.bitmap.Width(), 4);
  EXPECT_EQ(PixelAt(one.bitmap, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(one.bitmap, 1, 0), RGB(0, 255, 0));
  EXPECT_EQ(PixelAt(one.bitmap, 1, 1), RGB(0, 255, 0));
  EXPECT_EQ(PixelAt(one.bitmap, 3, 1), RGB(0, 0, 255));
  EXPECT_EQ(one.params.GifDelay, 25);
  EXPECT_FALSE(one.params.GifTransparent);

  Read two;
  ReadBytes(file, 1, two);
  EXPECT_EQ(two.params.GifXPos, 1);
  EXPECT_EQ(two.params.GifYPos, 1);
  EXPECT_EQ(two.params.GifDelay, 50);
  EXPECT_TRUE(two.params.GifTransparent);
  EXPECT_EQ(two.params.GifTranspColor, palette[1]);

  EXPECT_FALSE(Contains(GifFileBytes(4, 2, palette, {first}), "NETSCAPE2.0")) << "a still picture";
  EXPECT_FALSE(Contains(GifFileBytes(4, 2, palette, {first, second}, false), "NETSCAPE2.0"));
}

// Indexes past the palette would collide with the clear and end codes of a table sized by the
// palette alone: the table grows to hold them, black.
TEST(GifWriter, IndexesPastThePaletteGetBlackEntriesOfTheirOwn) {
  const std::vector<TColorTriple> palette{{0, 0, 255}, {0, 255, 0}};
  const std::vector<std::uint8_t> file = GifFileBytes(4, 1, palette, {{0, 0, 4, 1, {0, 1, 5, 3}}});
  EXPECT_EQ(file[10] & 7, 2) << "a table of eight";
  Read read;
  ReadBytes(file, 0, read);
  ASSERT_EQ(read.bitmap.Width(), 4);
  EXPECT_EQ(PixelAt(read.bitmap, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(read.bitmap, 1, 0), RGB(0, 255, 0));
  EXPECT_EQ(PixelAt(read.bitmap, 2, 0), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(read.bitmap, 3, 0), RGB(0, 0, 0));
}

TEST(GifWriter, LargePicturesOfAllColoursRoundTrip) {
  std::vector<TColorTriple> palette(256);
  for (int i = 0; i < 256; ++i)
    palette[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                            static_cast<std::uint8_t>(i * 7)};
  TGifFrame frame{0, 0, 427, 400, {}};
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 427; ++x)
      frame.Indexes.push_back(static_cast<std::uint8_t>((x / 9 + y / 7) % 3 ? (x * 31 + y * 17) % 256 : 5));
  Read read;
  ReadBytes(GifFileBytes(427, 400, palette, {frame}), 0, read);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 427; ++x)
      ASSERT_EQ(PixelAt(read.bitmap, x, y),
                TripleToColor(palette[frame.Indexes[static_cast<std::size_t>(y) * 427 + x]]))
          << x << "," << y;
}

}  // namespace
