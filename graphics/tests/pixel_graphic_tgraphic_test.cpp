#include <gtest/gtest.h>

#include "graphics/palettes.h"
#include "graphics/pixel_graphic.h"

namespace {

TEST(PixelGraphicAsTGraphicTest, SizeEmptinessAndPaletteThroughTheBaseClass) {
  TPixelGraphic image;
  TGraphic* graphic = &image;
  EXPECT_TRUE(graphic->Empty());
  graphic->SetWidth(5);
  graphic->SetHeight(3);
  EXPECT_FALSE(graphic->Empty());
  EXPECT_EQ(graphic->Width(), 5);
  EXPECT_EQ(graphic->Height(), 3);
  EXPECT_EQ(image.GetStride(), 16);
  EXPECT_EQ(graphic->Palette(), nullptr);  // true colour
  image.SetBitCount(pgbc8);
  image.SetPaletteCount(2);
  EXPECT_NE(graphic->Palette(), nullptr);
  EXPECT_EQ(graphic->ClassName(), "TPixelGraphic");
}

TEST(PixelGraphicAsTGraphicTest, ChangesReachOnChangeAndModifiedButTransparentIsOnlyStored) {
  TPixelGraphic image;
  TGraphic* graphic = &image;
  int changes = 0;
  graphic->OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &image);
    ++changes;
  };
  graphic->SetModified(true);  // the base class's own notification goes through Changed
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(graphic->Modified());
  graphic->SetModified(false);

  graphic->SetTransparent(true);
  EXPECT_TRUE(graphic->Transparent());
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(graphic->Modified());

  image.BeginUpdate();
  image.SetSize(2, 2, pgbc24);
  EXPECT_EQ(changes, 1);
  image.EndUpdate();
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(graphic->Modified());

  TPixelGraphic copy;
  copy.Assign(&image);
  EXPECT_TRUE(copy.Transparent());
}

TEST(PixelGraphicAsTGraphicTest, DrawsOntoAClassLibraryCanvasStretched) {
  TPixelGraphic image;
  image.SetSize(2, 1, pgbc24);
  image.SetPixel(0, 0, static_cast<std::uint32_t>(RGBToColor(255, 0, 0)));
  image.SetPixel(1, 0, static_cast<std::uint32_t>(RGBToColor(0, 0, 255)));
  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetWidth(4);
  target.SetHeight(2);
  target.Canvas()->StretchDraw(TRect{0, 0, 4, 2}, &image);
  EXPECT_EQ(target.Canvas()->Pixels(1, 1), RGBToColor(255, 0, 0));
  EXPECT_EQ(target.Canvas()->Pixels(2, 0), RGBToColor(0, 0, 255));
}

TEST(PixelGraphicAsTGraphicTest, TheViewerCursorsAreMadeAtSetUp) {
  const HCURSOR cursors[] = {PGCursorOpenHand, PGCursorGrabbingHand, PGCursorCross, PGCursorMove};
  for (HCURSOR c : cursors) {
    ASSERT_NE(c, nullptr);
    SetCursor(c);
    EXPECT_EQ(GetCursor(), c);
  }
  EXPECT_NE(cursors[0], cursors[1]);
  EXPECT_NE(cursors[2], cursors[3]);
  SetCursor(nullptr);
}

}  // namespace
