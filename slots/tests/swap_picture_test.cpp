#include "slots/swap_picture.h"

#include <gtest/gtest.h>

#include "imaging/bitmap_rows.h"
#include "imaging/gif_writer.h"
#include "slot_test_files.h"

namespace {

using slot_test::BitmapBytes;
using slot_test::BitmapShape;
using slot_test::ReadFile;
using slot_test::WriteFile;

constexpr char kTarget[] = "C:\\WINDOWS\\LOGOW.SYS";
constexpr std::size_t kLogoFileSize = 14 + 40 + 256 * 4 + 320 * 400;  // 129078

std::uint32_t Little(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes; i-- > 0;) v = v << 8 | b[at + static_cast<std::size_t>(i)];
  return v;
}

// A logo as Windows reads one: 40-byte header, 320 x 400 bottom-up, 8 bits, uncompressed.
void ExpectLogoLayout(const std::vector<std::uint8_t>& file) {
  ASSERT_EQ(file.size(), kLogoFileSize);
  EXPECT_EQ(Little(file, 14, 4), 40u);
  EXPECT_EQ(Little(file, 18, 4), 320u);
  EXPECT_EQ(Little(file, 22, 4), 400u);
  EXPECT_EQ(Little(file, 28, 2), 8u);
  EXPECT_EQ(Little(file, 30, 4), 0u);
}

class SwapPicture : public MachineRootTest {
 protected:
  TVelmoraTarget image{nullptr};
  TVelmoraIO io{nullptr};
  TVelmoraProc proc{nullptr};
  TSwapPicture swap{image, io, proc};
};

TEST_F(SwapPicture, ALogoLayoutBitmapIsCopiedByteForByte) {
  const std::vector<std::uint8_t> logo = BitmapBytes({});
  WriteFile("C:\\pictures\\mine.sys", logo);
  EXPECT_TRUE(IsLogoLayout("C:\\pictures\\mine.sys"));
  EXPECT_EQ(swap.Load("C:\\pictures\\mine.sys"), "320 x 400");
  EXPECT_TRUE(swap.CopyUnchanged());
  EXPECT_EQ(image.Bitmap().Width(), kPreviewWidth);
  EXPECT_EQ(image.Bitmap().Height(), kPreviewHeight);
  swap.Save(kTarget);
  EXPECT_EQ(ReadFile(kTarget), logo);

  WriteFile("C:\\pictures\\colour.bmp", BitmapBytes({.bits = 24}));
  swap.Load("C:\\pictures\\colour.bmp");
  EXPECT_FALSE(swap.CopyUnchanged()) << "cleared by the next load";
  // A logo whose last rows are missing is no logo to copy.
  std::vector<std::uint8_t> cut = logo;
  cut.resize(cut.size() - 320);
  WriteFile("C:\\pictures\\cut.sys", cut);
  EXPECT_FALSE(IsLogoLayout("C:\\pictures\\cut.sys"));
  EXPECT_FALSE(IsLogoLayout("C:\\pictures\\none.sys"));
}

// Only the logo layout is copied; any other 320 x 400 picture of 8-bit indexes is resampled and
// written with the 40-byte header, uncompressed, whatever header and compression it came with.
TEST_F(SwapPicture, OtherPicturesOfTheLogosSizeAreResampledIntoTheLogoLayout) {
  std::vector<TColorTriple> grey(256);
  for (int i = 0; i < 256; ++i)
    grey[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i),
                                         static_cast<std::uint8_t>(i)};
  std::vector<std::uint8_t> indexes(320 * 400);
  for (std::size_t i = 0; i < indexes.size(); ++i) indexes[i] = static_cast<std::uint8_t>(i % 251);
  struct Case {
    const char* name;
    const char* file;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"core header", "core.bmp", BitmapBytes({.headerSize = 12})},
      {"run-length", "rle.bmp", BitmapBytes({.rle = true})},
      {"top-down", "down.bmp", BitmapBytes({.height = -400})},
      {"true colour", "colour.bmp", BitmapBytes({.bits = 24})},
      {"GIF", "palette.gif", GifFileBytes(320, 400, grey, {{0, 0, 320, 400, indexes}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = std::string("C:\\pictures\\") + c.file;
    WriteFile(path, c.bytes);
    EXPECT_EQ(swap.Load(path), "320 x 400");
    EXPECT_FALSE(swap.CopyUnchanged());
    swap.Save(kTarget);
    ExpectLogoLayout(ReadFile(kTarget));
    EXPECT_NE(ReadFile(kTarget), c.bytes);
  }
}

TEST_F(SwapPicture, ABiggerPictureIsStretchedToTheLogoWithoutKeepingItsAspect) {
  TBitmap& b = image.Bitmap();
  // Left half red, right half blue; top 240 rows light, the rest dark: the edges move to 160
  // and 200 of the logo.
  std::vector<std::uint8_t> file = BitmapBytes({.width = 640, .height = 480, .bits = 24});
  const std::size_t offset = Little(file, 10, 4);
  for (int row = 0; row < 480; ++row)
    for (int x = 0; x < 640; ++x) {
      std::uint8_t* p = &file[offset + static_cast<std::size_t>(row) * 1920 + 3u * static_cast<unsigned>(x)];
      const std::uint8_t level = row >= 240 ? 250 : 90;  // rows stored bottom-up
      p[0] = x < 320 ? 0 : level;
      p[1] = 0;
      p[2] = x < 320 ? level : 0;
    }
  WriteFile("C:\\big.bmp", file);
  EXPECT_EQ(swap.Load("C:\\big.bmp"), "640 x 480");
  std::string label;
  TBitmap view;
  ASSERT_TRUE(swap.FullSize(view, label));
  EXPECT_EQ(label, "640 x 480");
  ASSERT_EQ(view.Width(), 320);
  ASSERT_EQ(view.Height(), 400);
  EXPECT_EQ(b.Width(), kPreviewWidth) << "the preview comes back";
  const auto at = [&](int x, int y) { return RowOf(view, y) + 3 * x; };
  // Lanczos3's weights, not scaled to a sum of 1, lose a little of the level when shrinking.
  EXPECT_NEAR(at(150, 190)[2], 250, 3);
  EXPECT_EQ(at(150, 190)[0], 0);
  EXPECT_NEAR(at(170, 190)[0], 250, 3);
  EXPECT_EQ(at(170, 190)[2], 0);
  EXPECT_NEAR(at(150, 210)[2], 90, 2);
  EXPECT_NEAR(at(170, 210)[0], 90, 2);
  swap.Save(kTarget);
  ExpectLogoLayout(ReadFile(kTarget));
}

TEST_F(SwapPicture, OkayAndTheFullSizeFollowOnlyASuccessfulLoad) {
  std::string label;
  TBitmap view;
  EXPECT_FALSE(swap.CanSave()) << "the cleared preview of the first showing";
  EXPECT_FALSE(swap.FullSize(view, label));
  EXPECT_EQ(swap.Show(), "");
  EXPECT_FALSE(swap.CanSave());
  EXPECT_FALSE(swap.FullSize(view, label));
  EXPECT_EQ(label, "");
  WriteFile("C:\\a.bmp", BitmapBytes({.width = 40, .height = 30, .bits = 24}));
  WriteFile("C:\\broken.bmp", {'B', 'M', 1, 2, 3});
  WriteFile("C:\\notes.txt", {'h', 'i'});
  EXPECT_EQ(swap.Load("C:\\a.bmp"), "40 x 30");
  EXPECT_TRUE(swap.CanSave());
  for (const char* bad : {"C:\\broken.bmp", "C:\\notes.txt", "C:\\missing.gif"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(swap.Load(bad), "Error loading image.");
    EXPECT_TRUE(swap.LoadFailed());
    EXPECT_FALSE(swap.CanSave());
    EXPECT_FALSE(swap.FullSize(view, label)) << "no full-size view after a failed load";
    EXPECT_EQ(swap.Closed("Error loading image."), "");
    swap.Show();
    EXPECT_FALSE(swap.CanSave()) << "nor after showing the dialog again";
    EXPECT_FALSE(swap.LoadFailed());
    EXPECT_FALSE(swap.FullSize(view, label)) << "what the reader left is no picture";
  }
}

// Cancel, show again, Okay: the full picture is written, not the preview enlarged.
TEST_F(SwapPicture, ShowingAgainKeepsTheFullPictureForTheSave) {
  WriteFile("C:\\a.bmp", BitmapBytes({.width = 500, .height = 600, .bits = 24}, 4));
  swap.Load("C:\\a.bmp");
  swap.Save("C:\\direct.sys");
  swap.Load("C:\\a.bmp");
  EXPECT_EQ(swap.Show(), "500 x 600");
  EXPECT_EQ(swap.Show(), "500 x 600");
  EXPECT_EQ(image.Bitmap().Width(), kPreviewWidth);
  swap.Save(kTarget);
  EXPECT_EQ(ReadFile(kTarget), ReadFile("C:\\direct.sys"));
}

TEST_F(SwapPicture, AFailedCopyIsReportedAndTheSlotKept) {
  WriteFile("C:\\logo.bmp", BitmapBytes({}));
  WriteFile(kTarget, {1, 2, 3});
  SetFileAttributesA(kTarget, FILE_ATTRIBUTE_READONLY);
  swap.Load("C:\\logo.bmp");
  ASSERT_TRUE(swap.CopyUnchanged());
  EXPECT_THROW(swap.Save(kTarget), Exception);
  EXPECT_EQ(ReadFile(kTarget), (std::vector<std::uint8_t>{1, 2, 3}));
}

// The copy's source is the file loaded, whatever has been chosen since.
TEST_F(SwapPicture, TheCopyComesFromTheFileLoaded) {
  WriteFile("C:\\logo.bmp", BitmapBytes({}, 6));
  swap.Load("C:\\logo.bmp");
  swap.Load("C:\\gone.bmp");  // fails: the dialog disables Okay
  swap.Load("C:\\logo.bmp");
  WriteFile("C:\\other.bmp", BitmapBytes({}, 7));
  EXPECT_EQ(swap.LoadedFile(), "C:\\logo.bmp");
  swap.Save(kTarget);
  EXPECT_EQ(ReadFile(kTarget), BitmapBytes({}, 6));
}

}  // namespace
