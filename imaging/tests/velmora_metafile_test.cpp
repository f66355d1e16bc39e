// Metafiles loaded through the I/O component: a bitmap one pixel smaller than the metafile, the
// background under the drawing, the record, and the one error text.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

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
