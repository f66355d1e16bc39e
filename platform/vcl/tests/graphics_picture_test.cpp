#include <gtest/gtest.h>

#include "vcl/graphics_images.h"
#include "win32/testing/machine_root.h"

namespace {

// A graphic class of its own, to see the registry pick classes by extension.
class TTestGraphic : public TBitmap {
 public:
  VCL_CLASS_INFO
};

const TClassInfo& TTestGraphic::StaticClassInfo() {
  static const TClassInfo info("TTestGraphic", &TBitmap::StaticClassInfo());
  return info;
}

}  // namespace

TEST(GraphicsPicture, LoadFromFileByExtension) {
  ScopedMachineRoot root;
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetWidth(2);
  b.SetHeight(2);
  b.Canvas()->SetPixels(1, 1, clRed);
  b.SaveToFile("c:\\pic.bmp");
  b.SaveToFile("c:\\pic.tst");

  TPicture::RegisterFileFormat("TST", "Test pictures", TGraphicClass::Of<TTestGraphic>());
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  picture.LoadFromFile("C:\\PIC.BMP");
  EXPECT_EQ(picture.Graphic()->ClassName(), "TBitmap");
  EXPECT_EQ(picture.Bitmap()->Canvas()->Pixels(1, 1), clRed);
  picture.LoadFromFile("c:\\pic.tst");
  EXPECT_NE(dynamic_cast<TTestGraphic*>(picture.Graphic()), nullptr);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(TPicture::GraphicFilter(TGraphicClass::Of<TBitmap>()),
            "All (*.bmp;*.tst)|*.bmp;*.tst|Bitmaps (*.bmp)|*.bmp|Test pictures (*.tst)|*.tst");

  TPicture::UnregisterGraphicClass(TGraphicClass::Of<TTestGraphic>());
  try {
    picture.LoadFromFile("c:\\pic.tst");
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "Unknown picture file extension (.tst)");
  }
  EXPECT_NE(dynamic_cast<TTestGraphic*>(picture.Graphic()), nullptr);  // the old graphic stays
}

TEST(GraphicsPicture, AssignCopiesTheGraphicAndDataRoundTrips) {
  TBitmap b;
  b.SetPixelFormat(pf4bit);
  b.SetWidth(3);
  b.SetHeight(1);
  b.Canvas()->SetPixels(2, 0, clRed);
  TPicture a;
  a.SetGraphic(&b);
  ASSERT_NE(a.Graphic(), &b);
  TPicture c;
  c.Assign(&a);
  EXPECT_EQ(c.Bitmap()->PixelFormat(), pf4bit);
  EXPECT_EQ(c.Bitmap()->Canvas()->Pixels(2, 0), clRed);
  // The "Data" of a bitmap: length, then the file.
  struct TDataBitmap : TBitmap {
    using TBitmap::ReadData;
    using TBitmap::WriteData;
  };
  TDataBitmap written, read;
  written.Assign(c.Bitmap());
  TMemoryStream data;
  written.WriteData(&data);
  data.SetPosition(0);
  read.ReadData(&data);
  EXPECT_EQ(read.Canvas()->Pixels(2, 0), clRed);
  EXPECT_EQ(data.Position(), data.Size());
}
