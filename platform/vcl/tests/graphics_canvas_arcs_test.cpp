#include <gtest/gtest.h>

#include "vcl/graphics_images.h"

namespace {

// The upper-right quarter of a 40 by 40 circle, from the 3 o'clock radial to the 12 o'clock one.
TEST(GraphicsCanvas, ArcChordAndPieDrawTheirPartsOfTheEllipse) {
  enum TShape { Arc, Chord, Pie };
  struct Case {
    TShape shape;
    TColor nearTheCurve, nearTheCentre, otherQuarter;
  };
  const Case cases[] = {
      {Arc, clWhite, clWhite, clWhite},
      {Chord, clRed, clWhite, clWhite},
      {Pie, clRed, clRed, clWhite},
  };
  for (const Case& c : cases) {
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetWidth(40);
    b.SetHeight(40);
    TCanvas& canvas = *b.Canvas();
    canvas.Pen()->SetColor(clBlack);
    canvas.Brush()->SetColor(clRed);
    int changes = 0;
    canvas.OnChange = [&](TObject*) { ++changes; };
    if (c.shape == Arc) canvas.Arc(0, 0, 40, 40, 40, 20, 20, 0);
    if (c.shape == Chord) canvas.Chord(0, 0, 40, 40, 40, 20, 20, 0);
    if (c.shape == Pie) canvas.Pie(0, 0, 40, 40, 40, 20, 20, 0);
    EXPECT_EQ(changes, 1) << c.shape;
    EXPECT_EQ(canvas.Pixels(33, 7), c.nearTheCurve) << c.shape;
    EXPECT_EQ(canvas.Pixels(24, 16), c.nearTheCentre) << c.shape;
    EXPECT_EQ(canvas.Pixels(12, 28), c.otherQuarter) << c.shape;
    int ink = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 20; x < 40; ++x) ink += canvas.Pixels(x, y) == clBlack;
    EXPECT_GT(ink, 20) << "the pen draws the curve, " << c.shape;
    EXPECT_EQ(canvas.Pixels(5, 35), clWhite) << c.shape;
  }
}

}  // namespace
