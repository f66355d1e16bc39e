#include <gtest/gtest.h>

#include "graphics/palettes.h"
#include "graphics/pg_canvas.h"

namespace {

// An 8-bit image whose entries 0..2 are black, red and blue.
void MakeThreeColourImage(TPixelGraphic& image) {
  image.SetSize(4, 3, pgbc8);
  image.SetPaletteCount(3);
  image.SetPaletteEntry(0, RGBToColor(0, 0, 0));
  image.SetPaletteEntry(1, RGBToColor(255, 0, 0));
  image.SetPaletteEntry(2, RGBToColor(0, 0, 255));
}

void FillRed(TPGCanvas* canvas, const TRect& rect) {
  canvas->Brush()->SetColor(RGBToColor(255, 0, 0));
  canvas->FillRect(rect);
}

TEST(PGCanvasTest, DrawingIsSeenByPixelAccessAndTellsOnChange) {
  TPixelGraphic image;
  MakeThreeColourImage(image);
  int changes = 0;
  image.OnChange = [&](TObject*) { ++changes; };
  FillRed(image.GetCanvas(), TRect{1, 0, 3, 2});
  EXPECT_GT(changes, 0);
  EXPECT_EQ(image.GetPixel(0, 0), 0u);
  EXPECT_EQ(image.GetPixel(1, 0), 1u);
  EXPECT_EQ(image.GetPixel(2, 1), 1u);
  EXPECT_EQ(image.GetPixel(2, 2), 0u);

  TPixelGraphic colour;
  colour.SetSize(2, 2, pgbc24);
  FillRed(colour.GetCanvas(), TRect{0, 0, 1, 1});
  EXPECT_EQ(colour.GetPixelColor(0, 0), RGBToColor(255, 0, 0));
  EXPECT_EQ(colour.GetPixelColor(1, 1), RGBToColor(0, 0, 0));
}

TEST(PGCanvasTest, PaletteAndSizeChangesLetTheContextGo) {
  TPixelGraphic image;
  MakeThreeColourImage(image);
  TPGCanvas* canvas = image.GetCanvas();
  canvas->Handle();
  EXPECT_NE(PGLiveCanvases->IndexOf(canvas), -1);

  // Red moves from entry 1 to entry 2: only a context with the new colour table draws index 2.
  image.SetPaletteEntry(1, RGBToColor(0, 255, 0));
  EXPECT_FALSE(canvas->HandleAllocated());
  EXPECT_EQ(PGLiveCanvases->IndexOf(canvas), -1);
  image.SetPaletteEntry(2, RGBToColor(255, 0, 0));
  FillRed(canvas, TRect{0, 0, 1, 1});
  EXPECT_EQ(image.GetPixel(0, 0), 2u);

  canvas->Handle();
  image.SetPaletteCount(16);
  EXPECT_FALSE(canvas->HandleAllocated());

  canvas->Handle();
  image.SetSize(8, 8, pgbc8);
  EXPECT_FALSE(canvas->HandleAllocated());
  FillRed(canvas, TRect{7, 7, 8, 8});  // the new section is the one drawn on
  EXPECT_EQ(image.GetPixel(7, 7), 2u);
}

TEST(PGCanvasTest, FreeAllCanvasesEmptiesTheLiveList) {
  TPixelGraphic a, b;
  a.SetSize(2, 2, pgbc24);
  b.SetSize(2, 2, pgbc24);
  a.GetCanvas()->Handle();
  b.GetCanvas()->Handle();
  EXPECT_EQ(PGLiveCanvases->Count(), 2);
  FreeAllCanvases();
  EXPECT_EQ(PGLiveCanvases->Count(), 0);
  EXPECT_FALSE(a.GetCanvas()->HandleAllocated());
  FillRed(a.GetCanvas(), TRect{0, 0, 2, 2});  // a new context is made on demand
  EXPECT_EQ(a.GetPixelColor(1, 1), RGBToColor(255, 0, 0));
}

TEST(PGCanvasTest, AnImageWithoutPixelsStillGivesACanvas) {
  TPixelGraphic empty;
  EXPECT_NE(empty.GetCanvas()->Handle(), nullptr);
  EXPECT_TRUE(empty.GetEmpty());
}

}  // namespace
