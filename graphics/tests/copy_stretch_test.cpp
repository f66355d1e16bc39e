#include <gtest/gtest.h>

#include "graphics/palettes.h"

namespace {

TColor Grey(int v) { return RGBToColor(v, v, v); }

// A 24-bit row of grey levels.
void MakeGreyRow(TPixelGraphic& g, std::initializer_list<int> levels) {
  g.SetSize(static_cast<int>(levels.size()), 1, pgbc24);
  int x = 0;
  for (int v : levels) g.SetPixel(x++, 0, static_cast<std::uint32_t>(Grey(v)));
}

std::vector<int> RedRow(TPixelGraphic& g) {
  std::vector<int> row;
  for (int x = 0; x < g.GetWidth(); ++x) row.push_back(RedOf(g.GetPixelColor(x, 0)));
  return row;
}

}  // namespace

TEST(StretchTest, ResamplesByModeAndDirection) {
  struct Case {
    std::initializer_list<int> source;
    int width;
    TStretchMode mode;
    std::vector<int> expected;
  } cases[] = {
      {{0, 100, 200, 255}, 2, smPrecise, {50, 227}}, {{0, 100, 200, 255}, 2, smMedium, {50, 227}},
      {{0, 100, 200, 255}, 2, smFast, {0, 200}},     {{0, 200}, 4, smFast, {0, 0, 200, 200}},
      {{0, 200}, 4, smPrecise, {0, 50, 150, 200}},   {{0, 200}, 4, smMedium, {0, 0, 200, 200}},
      {{0, 90, 180}, 2, smPrecise, {30, 150}},
  };
  for (const auto& c : cases) {
    TPixelGraphic source, target;
    MakeGreyRow(source, c.source);
    target.SetSize(c.width, 1, pgbc24);
    target.SetStretchMode(c.mode);
    target.StretchCopy(&source);
    EXPECT_EQ(RedRow(target), c.expected) << c.mode << " to " << c.width;
  }
}

TEST(StretchTest, BothAxesAndPaletteSources) {
  TPixelGraphic source, target;
  source.SetSize(2, 2, pgbc8);
  source.SetPaletteIdent(pGray256);
  source.SetPixel(0, 0, 0);
  source.SetPixel(1, 0, 100);
  source.SetPixel(0, 1, 200);
  source.SetPixel(1, 1, 40);
  target.SetSize(1, 1, pgbc24);
  target.StretchCopy(&source);
  EXPECT_EQ(target.GetPixel(0, 0), static_cast<std::uint32_t>(Grey(85)));
}

TEST(StretchTest, EqualSizesCopyAndEmptyBlocksOnlyNotify) {
  TPixelGraphic source, viaStretch, viaCopy;
  MakeGreyRow(source, {10, 20, 30});
  viaStretch.SetSize(3, 1, pgbc24);
  viaCopy.SetSize(3, 1, pgbc24);
  viaStretch.StretchCopyRect(1, 0, 3, 1, &source, 0, 0, 3, 1);
  viaCopy.CopyRect(1, 0, &source, 0, 0, 3, 1);
  EXPECT_EQ(RedRow(viaStretch), RedRow(viaCopy));
  EXPECT_EQ(RedRow(viaCopy), (std::vector<int>{0, 10, 20}));

  int changes = 0;
  viaStretch.OnChange = [&](TObject*) { ++changes; };
  for (auto [dw, dh, sw, sh] :
       {std::array{0, 1, 3, 1}, std::array{2, 1, 0, 1}, std::array{2, -1, 3, 1}, std::array{2, 1, 3, 0}}) {
    viaStretch.StretchCopyRect(0, 0, dw, dh, &source, 0, 0, sw, sh);
  }
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(RedRow(viaStretch), (std::vector<int>{0, 10, 20}));
}

TEST(CopyRectTest, ClipsToBothImagesAndNotifiesEvenWhenNothingLands) {
  TPixelGraphic source, target;
  MakeGreyRow(source, {10, 20, 30, 40});
  target.SetSize(3, 1, pgbc24);
  target.CopyRect(-1, 0, &source, 0, 0, 4, 1);
  EXPECT_EQ(RedRow(target), (std::vector<int>{20, 30, 40}));
  int changes = 0;
  target.OnChange = [&](TObject*) { ++changes; };
  target.CopyRect(10, 0, &source, 0, 0, 4, 1);
  EXPECT_EQ(changes, 1);
  TPixelGraphic empty;
  target.CopyRect(0, 0, &empty, 0, 0, 4, 1);
  EXPECT_EQ(changes, 1);  // an empty source does nothing at all
}

TEST(CopyRectTest, OverlappingCopyWithinOneImageActsAsFromACopy) {
  for (TPGBitCount format : {pgbc24, pgbc8}) {
    TPixelGraphic image, reference;
    image.SetSize(5, 5, format);
    if (format == pgbc8) {
      image.SetPaletteIdent(pGray256);
      image.SetDither(false);
    }
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x) image.SetPixelColor(x, y, Grey(y * 50 + x * 10));
    reference.Assign(&image);
    TPixelGraphic snapshot;
    snapshot.Assign(&image);
    reference.CopyRect(1, 1, &snapshot, 0, 0, 4, 4);
    image.CopyRect(1, 1, &image, 0, 0, 4, 4);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(image.GetPixel(x, y), reference.GetPixel(x, y)) << x << "," << y;
  }
}

TEST(CopyRectTest, AbortOnTheFirstRowLeavesOnlyThatRow) {
  TPixelGraphic source, target;
  source.SetSize(4, 3, pgbc24);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) source.SetPixel(x, y, 0xFFFFFF);
  target.SetSize(4, 3, pgbc8);
  target.SetPaletteIdent(pBlackWhite);
  int starts = 0, ends = 0, steps = 0;
  target.OnProgressStart = [&](TObject*) { ++starts; };
  target.OnProgressEnd = [&](TObject*) { ++ends; };
  target.OnProgress = [&](TObject*, int step, int max, bool& abort) {
    EXPECT_EQ(step, 0);
    EXPECT_EQ(max, 2);
    ++steps;
    abort = true;
  };
  target.CopyRect(0, 0, &source, 0, 0, 4, 3);
  EXPECT_EQ(steps, 1);
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(ends, 1);
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(target.GetPixel(x, 0), 1u);
    EXPECT_EQ(target.GetPixel(x, 1), 0u);
  }
}

TEST(DitherTest, MidGreyIntoBlackAndWhiteGivesAPattern) {
  for (bool dither : {true, false}) {
    TPixelGraphic source, target;
    source.SetSize(16, 16, pgbc24);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) source.SetPixel(x, y, static_cast<std::uint32_t>(Grey(128)));
    target.SetSize(16, 16, pgbc1);
    target.SetPaletteIdent(pBlackWhite);
    target.SetDither(dither);
    target.CopyRect(0, 0, &source, 0, 0, 16, 16);
    int white = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) white += static_cast<int>(target.GetPixel(x, y));
    if (dither) {
      EXPECT_GT(white, 256 * 4 / 10);
      EXPECT_LT(white, 256 * 6 / 10);
    } else {
      EXPECT_EQ(white, 256);  // brightness 384 rounds to white everywhere
    }
  }
}

TEST(DitherTest, ErrorLimitFollowsThePaletteKindOrTheSettings) {
  // Grey 100 into black and white: the full carried error (auto limit 255) gives about 100/255
  // white; a zero limit carries nothing, so every pixel stays black.
  struct Case {
    bool autoLimit;
    int limit;
    int minWhite, maxWhite;
  } cases[] = {{true, 0, 80, 120}, {false, 0, 0, 0}};
  for (const auto& c : cases) {
    TPixelGraphic source, target;
    source.SetSize(16, 16, pgbc24);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) source.SetPixel(x, y, static_cast<std::uint32_t>(Grey(100)));
    target.SetSize(16, 16, pgbc1);
    target.SetPaletteIdent(pBlackWhite);
    target.SetDitherErrorLimitAuto(c.autoLimit);
    target.SetDitherErrorLimit(static_cast<std::uint8_t>(c.limit));
    target.SetDitherErrorLimitSoft(false);
    target.CopyRect(0, 0, &source, 0, 0, 16, 16);
    int white = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) white += static_cast<int>(target.GetPixel(x, y));
    EXPECT_GE(white, c.minWhite) << c.autoLimit;
    EXPECT_LE(white, c.maxWhite) << c.autoLimit;
  }
}

TEST(DitherTest, SoftKneeHalvesMidSizedErrors) {
  // Greys 0, 150, 255 (an unknown palette: limit 32). Pixel 0 at 60 becomes 0 and carries
  // 7/16 x 60 = 26 levels; the soft knee passes 26 / 2 + 8 = 21 of them, so pixel 1 at 50 wants
  // 71 and stays 0, while a hard limit passes all 26 and pixel 1 (wanting 76) becomes 150.
  struct Case {
    bool autoLimit;
    bool soft;
    std::uint32_t second;
  } cases[] = {{true, false, 0}, {false, true, 0}, {false, false, 1}};
  for (const auto& c : cases) {
    TPixelGraphic target;
    target.SetSize(2, 1, pgbc8);
    target.SetPaletteCount(3);
    target.SetPaletteEntry(0, Grey(0));
    target.SetPaletteEntry(1, Grey(150));
    target.SetPaletteEntry(2, Grey(255));
    target.SetUseColorMap(false);
    target.SetDitherErrorLimitAuto(c.autoLimit);
    target.SetDitherErrorLimitSoft(c.soft);
    target.BuildDitherTables();
    ASSERT_TRUE(target.AllGray());
    target.DitherPixel(0, 0, 60, 60, 60);
    target.DitherPixel(1, 0, 50, 50, 50);
    EXPECT_EQ(target.GetPixel(0, 0), 0u);
    EXPECT_EQ(target.GetPixel(1, 0), c.second) << c.autoLimit << c.soft;
    target.FreeDitherBuffers();
  }
}
