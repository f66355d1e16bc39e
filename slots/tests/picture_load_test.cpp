#include "slots/picture_load.h"

#include <gtest/gtest.h>

#include "imaging/bitmap_rows.h"
#include "imaging/gif_writer.h"
#include "slot_test_files.h"

namespace {

using slot_test::BitmapBytes;
using slot_test::WriteFile;

class PictureLoad : public MachineRootTest {
 protected:
  PictureLoad() { io.SetAttachedVelmora(&image); }
  std::string Error(const std::string& path) {
    try {
      LoadPicture(io, path);
    } catch (const EInvalidGraphic& e) {
      return e.Message;
    }
    return "loaded";
  }
  TVelmoraTarget image{nullptr};
  TVelmoraIO io{nullptr};
};

TEST_F(PictureLoad, SysFilesAreReadAsBitmapsInAnyCase) {
  for (const char* name : {"C:\\logo.sys", "C:\\LOGOW.SYS"}) {
    SCOPED_TRACE(name);
    WriteFile(name, BitmapBytes({.width = 7, .height = 5}));
    image.Bitmap().SetWidth(0);
    LoadPicture(io, name);
    EXPECT_EQ(image.Bitmap().Width(), 7);
    EXPECT_EQ(io.Params().SamplesPerPixel, 1);
    EXPECT_EQ(io.Params().FileName, name);
  }
}

TEST_F(PictureLoad, GifDataIsDecodedWithThePluggedDecoderFirstFrameFirst) {
  const std::vector<TColorTriple> palette{{0, 0, 255}, {0, 255, 0}, {255, 0, 0}};
  TGifFrame first{0, 0, 3, 2, {0, 1, 2, 2, 1, 0}, 10}, second{0, 0, 3, 2, {1, 1, 1, 1, 1, 1}, 10};
  WriteFile("C:\\two.gif", GifFileBytes(3, 2, palette, {first, second}));
  LoadPicture(io, "C:\\two.gif");
  ASSERT_EQ(image.Bitmap().Width(), 3);
  const std::uint8_t* top = RowOf(image.Bitmap(), 0);
  EXPECT_EQ(top[2], 255) << "red first";
  EXPECT_EQ(top[4], 255) << "then green";
  EXPECT_EQ(top[6], 255) << "then blue";
}

TEST_F(PictureLoad, AnExtensionWithoutAReaderIsRefused) {
  WriteFile("C:\\logo.jpe", {0xFF, 0xD8});
  WriteFile("C:\\noext", {1});
  EXPECT_EQ(Error("C:\\logo.jpe"), "unrecognized file type");
  EXPECT_EQ(Error("C:\\noext"), "unrecognized file type");
  EXPECT_TRUE(HasPictureReader("a.TIFF"));
  EXPECT_FALSE(HasPictureReader("a.png"));
}

}  // namespace
