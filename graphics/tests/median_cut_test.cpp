#include <gtest/gtest.h>

#include "graphics/median_cut.h"
#include "graphics/palettes.h"

namespace {

void Fill(TPixelGraphic& g, int width, int height, const std::function<TColor(int, int)>& color) {
  g.SetSize(width, height, pgbc24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) g.SetPixel(x, y, static_cast<std::uint32_t>(color(x, y)));
}

}  // namespace

TEST(MedianCutTest, OneColourGivesItsCellCentreThenTheSystemColours) {
  TPixelGraphic source, target;
  Fill(source, 3, 3, [](int, int) { return RGBToColor(100, 150, 200); });
  target.SetSize(3, 3, pgbc8);
  std::vector<std::uint8_t> before(target.GetBits(), target.GetBits() + target.ImageSize());
  MedianCutQuantize(&target, &source, 256, false);
  ASSERT_EQ(target.PaletteCount(), 1);
  EXPECT_EQ(target.GetPaletteEntry(0), RGBToColor(100, 150, 204));
  EXPECT_EQ(target.PaletteIdent(), pUnknown);
  MedianCutQuantize(&target, &source, 256, true);
  ASSERT_EQ(target.PaletteCount(), 17);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(target.GetPaletteEntry(i + 1), Special252Entry(i));
  EXPECT_EQ(std::vector<std::uint8_t>(target.GetBits(), target.GetBits() + target.ImageSize()), before);
}

TEST(MedianCutTest, NothingToReduceGivesTheSystemColours) {
  TPixelGraphic empty, source, target;
  target.SetSize(1, 1, pgbc8);
  MedianCutQuantize(&target, &empty, 256, false);
  EXPECT_EQ(target.PaletteIdent(), pSys16);
  EXPECT_EQ(target.PaletteCount(), 16);
  MedianCutQuantize(&target, &empty, 8, false);
  EXPECT_EQ(target.PaletteCount(), 8);
  EXPECT_EQ(target.GetPaletteEntry(7), Special252Entry(7));
  Fill(source, 2, 2, [](int x, int) { return RGBToColor(x * 200, 0, 0); });
  MedianCutQuantize(&target, &source, 16, true);  // nothing left after the system colours
  EXPECT_EQ(target.PaletteIdent(), pSys16);
}

TEST(MedianCutTest, ColoursOfOneCellMergeAndCountsAreClamped) {
  TPixelGraphic source, target;
  Fill(source, 2, 1, [](int x, int) { return RGBToColor(x * 7, 0, 0); });
  target.SetSize(1, 1, pgbc8);
  MedianCutQuantize(&target, &source, 256, false);
  EXPECT_EQ(target.PaletteCount(), 1);

  // 300 histogram cells: as many entries as allowed, never more than the target holds.
  Fill(source, 300, 1, [](int x, int) { return RGBToColor((x % 10) * 24, (x / 10) * 8, 0); });
  struct Case {
    TPGBitCount format;
    int count;
    int expected;
  } cases[] = {{pgbc8, 256, 256}, {pgbc8, 1000, 256}, {pgbc4, 256, 16}, {pgbc1, 256, 2}, {pgbc8, 0, 1}, {pgbc8, -5, 1}};
  for (const auto& c : cases) {
    TPixelGraphic t;
    t.SetSize(1, 1, c.format);
    MedianCutQuantize(&t, &source, c.count, false);
    EXPECT_EQ(t.PaletteCount(), c.expected) << c.count;
    EXPECT_LE(t.BitmapInfo()->bmiHeader.biClrUsed, static_cast<DWORD>(t.GetPaletteCapacity()));
  }
}

TEST(MedianCutTest, AbortStopsCountingButStillGivesAPalette) {
  TPixelGraphic source, target;
  Fill(source, 4, 4, [](int, int y) { return y == 0 ? RGBToColor(255, 0, 0) : RGBToColor(0, 0, 255); });
  target.SetSize(1, 1, pgbc8);
  target.OnProgress = [](TObject*, int, int, bool& abort) { abort = true; };
  MedianCutQuantize(&target, &source, 256, false);
  ASSERT_EQ(target.PaletteCount(), 1);
  EXPECT_EQ(target.GetPaletteEntry(0), RGBToColor(252, 2, 4));
}

TEST(MedianCutTest, LargeImagesKeepTheirSumsExact) {
  // 20 million pixels of one colour: the box sums pass 32 bits.
  TPixelGraphic source, target;
  Fill(source, 5000, 4000, [](int, int) { return RGBToColor(255, 255, 255); });
  target.SetSize(1, 1, pgbc8);
  MedianCutQuantize(&target, &source, 16, false);
  ASSERT_EQ(target.PaletteCount(), 1);
  EXPECT_EQ(target.GetPaletteEntry(0), RGBToColor(252, 254, 252));
}

TEST(ColorTreeTest, ReducesAPaletteSourceToItsUsedColours) {
  TPixelGraphic source, target;
  source.SetSize(4, 1, pgbc8);
  source.SetPaletteCount(4);
  source.SetPaletteEntry(0, RGBToColor(255, 0, 0));
  source.SetPaletteEntry(1, RGBToColor(250, 0, 0));
  source.SetPaletteEntry(2, RGBToColor(0, 0, 255));
  source.SetPaletteEntry(3, RGBToColor(0, 255, 0));  // unused
  for (int x = 0; x < 4; ++x) source.SetPixel(x, 0, x < 2 ? 0 : x == 2 ? 1 : 2);
  target.SetSize(1, 1, pgbc8);
  MedianCutQuantize(&target, &source, 256, false);
  ASSERT_EQ(target.PaletteCount(), 3);
  MedianCutQuantize(&target, &source, 2, false);
  ASSERT_EQ(target.PaletteCount(), 2);
  EXPECT_EQ(target.GetPaletteEntry(0), RGBToColor(0, 0, 255));
  EXPECT_EQ(target.GetPaletteEntry(1), RGBToColor(253, 0, 0));  // (2 x 255 + 250) / 3
}

TEST(ColorTreeTest, AlwaysEndsWithinTheWantedCount) {
  // Red, green and blue split at the root and no later colour passes through it: the listed
  // reduction finds nothing.
  for (int wanted : {1, 2}) {
    TPixelGraphic source, target;
    source.SetSize(3, 1, pgbc8);
    source.SetPaletteCount(3);
    source.SetPaletteEntry(0, RGBToColor(255, 0, 0));
    source.SetPaletteEntry(1, RGBToColor(0, 255, 0));
    source.SetPaletteEntry(2, RGBToColor(0, 0, 255));
    for (int x = 0; x < 3; ++x) source.SetPixel(x, 0, static_cast<std::uint32_t>(x));
    target.SetSize(1, 1, pgbc8);
    MedianCutQuantize(&target, &source, wanted, false);
    EXPECT_GE(target.PaletteCount(), 1);
    EXPECT_LE(target.PaletteCount(), wanted);
  }
}

TEST(ColorTreeTest, PixelValuesPastThePaletteAreLeftOut) {
  TPixelGraphic source, target;
  source.SetSize(3, 1, pgbc8);
  source.SetPaletteCount(1);
  source.SetPaletteEntry(0, RGBToColor(10, 20, 30));
  source.SetPixel(1, 0, 200);
  source.SetPixel(2, 0, 255);
  target.SetSize(1, 1, pgbc8);
  MedianCutQuantize(&target, &source, 256, false);
  ASSERT_EQ(target.PaletteCount(), 1);
  EXPECT_EQ(target.GetPaletteEntry(0), RGBToColor(10, 20, 30));
}
