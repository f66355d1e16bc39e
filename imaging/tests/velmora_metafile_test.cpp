// Metafiles loaded through the I/O component: a bitmap one pixel smaller than the metafile, the
// background under the drawing, the record, and the one error text.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "gif_file_writer.h"
#include "imaging/gif_lzw.h"
#include "imaging/gif_writer.h"
#include "gif_file_writer.h"
#include "imaging/gif_lzw.h"
#include "imaging/gif_writer.h"
#include "imaging/screen_dpi.h"
#include "imaging/velmora_io.h"
#include "test_pictures.h"
#include "win32/machine.h"
#include "win32/testing/machine_root.h"
#include "win32/testing/metafile_writer.h"

using namespace metafile_test;

namespace {

constexpr COLORREF kBackground = RGB(0, 128, 255);

class VelmoraMetafileTest : public ::testing::Test {
 protected:
  VelmoraMetafileTest() {
    io.SetAttachedVelmora(&image);
    image.OnImageChange = [this](TObject*) { ++changes; };
    io.SetBackground(kBackground);
  }
  void Write(const std::string& windowsPath, const std::vector<BYTE>& bytes) {
    std::ofstream(machine::HostPath(windowsPath), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  TBitmap& Bitmap() { return image.Bitmap(); }

  ScopedMachineRoot root;
  TVelmoraTarget image{nullptr};
  TVelmoraIO io{nullptr};
  int changes = 0;
};

// 100 by 50 units at 96 per inch: a red rectangle from (10, 10) whose right edge, drawn by the
// default black pen, is column 98, the last of a 99-pixel bitmap.
std::vector<BYTE> PlaceableRedRectangle() {
  WmfWriter w;
  w.Record(META_SETWINDOWORG, {0, 0});
  w.Record(META_SETWINDOWEXT, {50, 100});
  auto red = WmfWriter::Dword(RGB(255, 0, 0));
  w.Record(META_CREATEBRUSHINDIRECT, {BS_SOLID, red[0], red[1], 0});
  w.Record(META_SELECTOBJECT, {0});
  w.Record(META_RECTANGLE, {40, 99, 10, 10});
  return w.FinishPlaceable({0, 0, 100, 50}, 96);
}

TEST_F(VelmoraMetafileTest, DrawsAtItsOwnSizeOnABitmapOnePixelSmaller) {
  Write("c:\\clip.wmf", PlaceableRedRectangle());
  io.LoadFromFile("c:\\clip.WMF");
  ASSERT_EQ(Bitmap().Width(), 99);
  ASSERT_EQ(Bitmap().Height(), 49);
  EXPECT_EQ(Bitmap().PixelFormat(), pf24bit);
  EXPECT_EQ(PixelAt(Bitmap(), 30, 25), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(Bitmap(), 98, 25), RGB(0, 0, 0)) << "the right edge, not stretched in";
  EXPECT_EQ(PixelAt(Bitmap(), 97, 25), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(Bitmap(), 5, 5), kBackground);
  EXPECT_EQ(PixelAt(Bitmap(), 50, 45), kBackground);

  const TVelmoraIOParams& p = io.Params();
  EXPECT_EQ(p.FileName, "c:\\clip.WMF");
  EXPECT_EQ(p.Width, 99);
  EXPECT_EQ(p.Height, 49);
  EXPECT_EQ(p.BitsPerSample, 8);
  EXPECT_EQ(p.SamplesPerPixel, 3);
  EXPECT_EQ(p.DpiX, ScreenDpiX());
  EXPECT_EQ(p.DpiY, ScreenDpiY());
  EXPECT_EQ(image.DpiX(), ScreenDpiX());
  EXPECT_EQ(changes, 1);
}

TEST_F(VelmoraMetafileTest, EnhancedFilesLoadByTheirFrame) {
  EmfWriter w;
  w.Record(EMR_CREATEBRUSHINDIRECT, {1, BS_SOLID, RGB(0, 0, 200), 0});
  w.Record(EMR_SELECTOBJECT, {1});
  w.Record(EMR_RECTANGLE, {5, 5, 40, 30});
  Write("c:\\chart.emf", w.Finish({0, 0, 2540, 1270}));  // 96 by 48 pixels
  io.LoadFromFile("c:\\chart.emf");
  EXPECT_EQ(Bitmap().Width(), 95);
  EXPECT_EQ(Bitmap().Height(), 47);
  EXPECT_EQ(PixelAt(Bitmap(), 20, 15), RGB(0, 0, 200));
  EXPECT_EQ(PixelAt(Bitmap(), 60, 40), kBackground);
}

// The whole picture is the background with the drawing on it, to its last column, whatever
// picture the bitmap held before.
TEST_F(VelmoraMetafileTest, EveryPixelOutsideTheDrawingIsTheBackground) {
  EmfWriter w;
  w.Record(EMR_CREATEBRUSHINDIRECT, {1, BS_SOLID, RGB(0, 0, 200), 0});
  w.Record(EMR_SELECTOBJECT, {1});
  w.Record(EMR_CREATEPEN, {2, PS_NULL, 0, 0, 0});
  w.Record(EMR_SELECTOBJECT, {2});
  w.Record(EMR_RECTANGLE, {5, 5, 40, 30});
  Write("c:\\shape.emf", w.Finish({0, 0, 2540, 1270}));
  const auto expectBackgroundAround = [&](COLORREF background) {
    ASSERT_EQ(Bitmap().Width(), 95);
    int drawn = 0;
    for (int y = 0; y < Bitmap().Height(); ++y)
      for (int x = 0; x < Bitmap().Width(); ++x) {
        const COLORREF c = PixelAt(Bitmap(), x, y);
        if (c == RGB(0, 0, 200)) ++drawn;
        else
          ASSERT_EQ(c, background) << x << ", " << y;
      }
    EXPECT_GT(drawn, 0);
  };
  io.LoadFromFile("c:\\shape.emf");
  expectBackgroundAround(kBackground);

  // After a GIF, whose background colour becomes the component's.
  const GifColors colours{250, 250, 0, 0, 250, 0};
  std::vector<std::uint8_t> indexes(static_cast<std::size_t>(120 * 60), 0);
  Write("c:\\yellow.gif",
        GifFileBuilder{}.Screen(120, 60, &colours, 0, 1).Image(0, 0, 120, 60, GifLzwEncode(indexes)).Trailer().bytes);
  io.Params().GifLzwDecoder = GifLzwDecode;
  io.LoadFromFile("c:\\yellow.gif");
  ASSERT_EQ(PixelAt(Bitmap(), 119, 59), RGB(250, 250, 0));
  io.LoadFromFile("c:\\shape.emf");
  expectBackgroundAround(RGB(0, 250, 0));
}

// An enhanced file as an office suite writes one: the 108-byte header, whose reference device is
// 189 x 89 pixels of 49 x 23 millimetres, rounded from its 49.94 x 23.48 in micrometres; the
// drawing in hundredths of a millimetre, clipped to the frame, a red square over all of it and a
// blue disc.
std::vector<BYTE> OfficeSuiteShapes() {
  EmfWriter w;
  w.Record(EMR_SETMAPMODE, {MM_ANISOTROPIC});
  w.Record(EMR_SETVIEWPORTEXTEX, {96, 96});
  w.Record(EMR_SETWINDOWEXTEX, {2540, 2540});
  w.Record(EMR_INTERSECTCLIPRECT, {0, 0, 4993, 2347});
  w.Record(EMR_CREATEBRUSHINDIRECT, {1, BS_SOLID, RGB(255, 0, 0), 0});
  w.Record(EMR_SELECTOBJECT, {1});
  w.Record(EMR_CREATEPEN, {2, PS_NULL, 0, 0, 0});
  w.Record(EMR_SELECTOBJECT, {2});
  w.Record(EMR_RECTANGLE, {EmfWriter::I(-149), EmfWriter::I(-149), 5142, 2496});
  w.Record(EMR_CREATEBRUSHINDIRECT, {3, BS_SOLID, RGB(0, 0, 255), 0});
  w.Record(EMR_SELECTOBJECT, {3});
  w.Record(EMR_ELLIPSE, {1703, 380, 3290, 1967});
  return w.Finish(
      {0, 0, 4993, 2347},
      {.bounds = {0, 0, 188, 88}, .pixels = {189, 89}, .millimetres = {49, 23}, .micrometres = {49940, 23480}});
}

// A drawing over all of its frame covers the whole picture, on a fresh load and after a GIF whose
// background colour is its only one: no pixel of the GIF is left.
TEST_F(VelmoraMetafileTest, ADrawingOverItsWholeFrameCoversThePicture) {
  Write("c:\\shapes.emf", OfficeSuiteShapes());
  const GifColors green{0, 250, 0, 0, 0, 0};
  Write("c:\\green.gif", GifFileBuilder{}
                             .Screen(300, 200, &green, 0, 0)
                             .Image(0, 0, 300, 200, GifLzwEncode(std::vector<std::uint8_t>(300 * 200, 0)))
                             .Trailer()
                             .bytes);
  io.Params().GifLzwDecoder = GifLzwDecode;
  for (bool afterGif : {false, true}) {
    SCOPED_TRACE(afterGif ? "after a GIF" : "a fresh load");
    if (afterGif) {
      io.LoadFromFile("c:\\green.gif");
      ASSERT_EQ(io.Background(), RGB(0, 250, 0));
    }
    io.LoadFromFile("c:\\shapes.emf");
    ASSERT_EQ(Bitmap().Width(), 188);
    ASSERT_EQ(Bitmap().Height(), 88);
    int blue = 0;
    for (int y = 0; y < 88; ++y)
      for (int x = 0; x < 188; ++x) {
        const COLORREF c = PixelAt(Bitmap(), x, y);
        blue += c == RGB(0, 0, 255);
        ASSERT_TRUE(c == RGB(255, 0, 0) || c == RGB(0, 0, 255)) << x << ", " << y << ": " << std::hex << c;
      }
    EXPECT_GT(blue, 1500) << "the disc";
  }
}

// A drawing may be as large as an A0 page (841 x 1189 mm), either way up, at the screen's
// resolution; one larger is refused, since a few bytes can declare any size.
TEST_F(VelmoraMetafileTest, AnA0PageLoadsEitherWayUpAndALargerOneIsRefused) {
  ASSERT_EQ(ScreenDpiX(), 96);
  ASSERT_EQ(ScreenDpiY(), 96);
  struct Case {
    const char* name;
    RECTL frame;
    int width, height;  // 0: refused
  };
  const Case cases[] = {
      {"portrait", {0, 0, 84100, 118900}, 3178, 4493},
      {"landscape", {0, 0, 118900, 84100}, 4493, 3178},
      {"a millimetre too tall", {0, 0, 84100, 119000}, 0, 0},
      {"a square of the long side", {0, 0, 118900, 118900}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmfWriter w;
    w.Record(EMR_RECTANGLE, {10, 10, 100, 100});
    Write("c:\\page.emf", w.Finish(c.frame));
    Reshape(Bitmap(), pf24bit, 2, 2);
    if (c.width == 0) {
      EXPECT_THROW(
          {
            try {
              io.LoadFromFile("c:\\page.emf");
            } catch (const EInvalidGraphic& e) {
              EXPECT_EQ(e.Message, "unrecognized WMF or EMF");
              throw;
            }
          },
          EInvalidGraphic);
      EXPECT_EQ(Bitmap().Width(), 2) << "refused before the picture is sized";
      continue;
    }
    io.LoadFromFile("c:\\page.emf");
    EXPECT_EQ(Bitmap().Width(), c.width);
    EXPECT_EQ(Bitmap().Height(), c.height);
  }
}

TEST_F(VelmoraMetafileTest, AnUnreadableFileRaisesTheMetafileError) {
  auto truncated = PlaceableRedRectangle();
  truncated.resize(truncated.size() - 10);
  WmfWriter badIndex;
  badIndex.Record(META_SELECTOBJECT, {200});
  Write("c:\\text.emf", {'n', 'o', 't', ' ', 'a', ' ', 'm', 'e', 't', 'a', 'f', 'i', 'l', 'e'});
  Write("c:\\cut.wmf", truncated);
  Write("c:\\index.wmf", badIndex.FinishPlaceable({0, 0, 10, 10}, 96));
  for (const char* file : {"c:\\text.emf", "c:\\cut.wmf", "c:\\index.wmf", "c:\\missing.wmf"}) {
    try {
      io.LoadFromFile(file);
      ADD_FAILURE() << file << " loaded";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.Message, "unrecognized WMF or EMF") << file;
    }
  }
  EXPECT_EQ(changes, 0);
}

}  // namespace
