// TImageList: replacing an image in place and appending empty ones keep every other index.
#include <gtest/gtest.h>

#include "vcl/imglist.h"

namespace {

// A w x h bitmap of one colour with a single pixel of another at (1, 0).
std::unique_ptr<TBitmap> Picture(int w, int h, TColor fill, TColor dot) {
  auto b = std::make_unique<TBitmap>();
  b->SetWidth(w);
  b->SetHeight(h);
  b->Canvas()->Brush()->SetColor(fill);
  b->Canvas()->FillRect({0, 0, w, h});
  b->Canvas()->SetPixels(1, 0, dot);
  return b;
}

TEST(ImageList, ReplaceAndAddEmptyKeepTheOtherIndexes) {
  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(2);
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  auto red = Picture(4, 2, clRed, clRed), blue = Picture(4, 2, clBlue, clLime);
  EXPECT_EQ(list.Add(red.get(), nullptr), 0);
  EXPECT_EQ(list.AddEmpty(), 1);
  EXPECT_EQ(list.Add(red.get(), nullptr), 2);
  EXPECT_FALSE(list.Covers(1, 0, 0));
  list.ReplaceMasked(1, blue.get(), clLime);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_TRUE(list.Covers(1, 0, 0));
  EXPECT_FALSE(list.Covers(1, 1, 0));  // the mask colour
  EXPECT_EQ(list.PixelOf(1, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(list.PixelOf(2, 0, 0), RGB(255, 0, 0));
  list.Replace(0, blue.get(), nullptr);
  EXPECT_TRUE(list.Covers(0, 1, 0));
  EXPECT_EQ(list.PixelOf(0, 1, 0), RGB(0, 255, 0));
  EXPECT_EQ(changes, 5);
  EXPECT_THROW(list.Replace(3, blue.get(), nullptr), EInvalidOperation);
}

TEST(ImageList, AStripReplacesWithItsFirstImageOnly) {
  TImageList list(nullptr);
  list.SetWidth(2);
  list.SetHeight(2);
  list.AddEmpty();
  auto strip = Picture(4, 2, clRed, clRed);
  strip->Canvas()->SetPixels(2, 0, clBlue);
  list.Replace(0, strip.get(), nullptr);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.PixelOf(0, 0, 0), RGB(255, 0, 0));
}

TEST(CanvasHandle, CarriesTheFontPenAndBrushForDirectDrawing) {
  TBitmap bitmap;
  bitmap.SetWidth(40);
  bitmap.SetHeight(20);
  TCanvas* c = bitmap.Canvas();
  c->Font()->SetColor(clRed);
  c->Pen()->SetColor(clBlue);
  c->Brush()->SetStyle(bsClear);
  HDC dc = c->Handle();
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), c->Font()->Handle());
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), c->Pen()->Handle());
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  // A later change reaches the next Handle too.
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clLime);
  dc = c->Handle();
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetBkColor(dc), RGB(0, 255, 0));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), c->Brush()->Handle());
}

}  // namespace
