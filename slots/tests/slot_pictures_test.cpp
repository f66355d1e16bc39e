#include "slots/slot_pictures.h"

#include <gtest/gtest.h>

#include <set>

#include "imaging/bitmap_rows.h"
#include "imaging/gif_lzw.h"
#include "imaging/gif_reader.h"
#include "slot_test_files.h"

namespace {

struct Read {
  TBitmap bitmap;
  TVelmoraIOParams params{nullptr};
  int count = 0;
};

// Our GIF reader on frame `index` of a picture.
void ReadFrame(const TSlotPicture& picture, int index, Read& read) {
  const std::string path = "C:\\" + picture.Name;
  slot_test::WriteFile(path, picture.Gif);
  read.params.GifLzwDecoder = GifLzwDecode;
  read.params.GifImageIndex = index;
  GIFReadFile(path, read.bitmap, read.count, {}, read.params);
}

std::vector<std::uint8_t> Rows(TBitmap& bitmap) {
  std::vector<std::uint8_t> out;
  for (int y = 0; y < bitmap.Height(); ++y)
    out.insert(out.end(), RowOf(bitmap, y), RowOf(bitmap, y) + 3 * bitmap.Width());
  return out;
}

TEST(SlotPictures, EveryPictureReadsBackAtItsSizeWithItsFrames) {
  ScopedMachineRoot root;
  const std::vector<TSlotPicture> pictures = CorvanePictures();
  std::set<std::string> names;
  for (const TSlotPicture& picture : pictures) {
    SCOPED_TRACE(picture.Name);
    names.insert(picture.Name);
    Read first;
    ReadFrame(picture, 0, first);
    EXPECT_EQ(first.count, picture.Frames);
    EXPECT_EQ(first.bitmap.Width(), picture.Width);
    EXPECT_EQ(first.bitmap.Height(), picture.Height);
    const std::vector<std::uint8_t> pixels = Rows(first.bitmap);
    EXPECT_GT(std::set<std::uint8_t>(pixels.begin(), pixels.end()).size(), 2u) << "drawn, not blank";
    if (picture.Frames > 1) {
      Read last;
      ReadFrame(picture, picture.Frames - 1, last);
      EXPECT_NE(Rows(last.bitmap), pixels) << "an animation moves";
    }
  }
  EXPECT_EQ(names.size(), pictures.size());
  const auto about =
      std::find_if(pictures.begin(), pictures.end(), [](const TSlotPicture& p) { return p.Name == "about.gif"; });
  ASSERT_NE(about, pictures.end());
  EXPECT_EQ(about->Width, 427);
  EXPECT_EQ(about->Height, 400);
}

TEST(SlotPictures, TheSameAtEveryBuild) {
  const std::vector<TSlotPicture> once = CorvanePictures(), twice = CorvanePictures();
  ASSERT_EQ(once.size(), twice.size());
  for (std::size_t i = 0; i < once.size(); ++i) EXPECT_EQ(once[i].Gif, twice[i].Gif) << once[i].Name;
}

}  // namespace
