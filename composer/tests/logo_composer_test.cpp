#include <gtest/gtest.h>

#include <vector>

#include "composer/logo_composer.h"
#include "composer_test_support.h"
#include "win32/testing/machine_root.h"

namespace {

class LogoComposerTest : public MachineRootTest {
 protected:
  TLogoComposer composer;
  TColor At(int x, int y) { return static_cast<TColor>(composer.Composite()->GetPixel(x, y)); }
  // Colours of the pixels of rows 0..379 that differ from the background colour.
  int TextPixels(TColor background, int fromRow, int toRow) {
    int count = 0;
    for (int y = fromRow; y < toRow; ++y)
      for (int x = 0; x < 640; ++x) count += At(x, y) != background;
    return count;
  }
};

TEST_F(LogoComposerTest, GradientStepsByFourHundredthsTruncated) {
  composer.State.rgBackground = bkDegraded;
  composer.State.cbFromColor = clBlack;
  composer.State.cbToColor = clWhite;
  composer.BuildBackground();
  TPixelGraphic* bg = composer.Background();
  EXPECT_EQ(static_cast<TColor>(bg->GetPixel(5, 0)), RGB(0, 0, 0));
  EXPECT_EQ(static_cast<TColor>(bg->GetPixel(5, 200)), RGB(127, 127, 127));
  EXPECT_EQ(static_cast<TColor>(bg->GetPixel(5, 379)), RGB(241, 241, 241));
  composer.State.cbFromColor = clWhite;
  composer.State.cbToColor = clBlack;
  composer.BuildBackground();
  EXPECT_EQ(static_cast<TColor>(bg->GetPixel(639, 1)), RGB(255, 255, 255));
  EXPECT_EQ(static_cast<TColor>(bg->GetPixel(639, 379)), RGB(14, 14, 14));
}

TEST_F(LogoComposerTest, AnimationColoursBarAndRotation) {
  composer.BuildAnimationPalette();
  const std::vector<TColor> blues{RGB(0, 0, 255), RGB(0, 0, 224), RGB(0, 0, 192), RGB(0, 0, 160)};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(composer.AnimationColors()[size_t(c)], blues[size_t(c)]);

  composer.State.seSections = 8;
  composer.DrawAnimationBar();
  const int numbers[] = {1, 2, 3, 4, 3, 2, 1, 2};
  for (int i = 0; i < 8; ++i)
    for (int y : {380, 399}) {
      EXPECT_EQ(At(i * 80, y), blues[size_t(numbers[i] - 1)]) << i;
      EXPECT_EQ(At(i * 80 + 79, y), blues[size_t(numbers[i] - 1)]) << i;
    }

  composer.TimerTimer();
  for (int c = 0; c < 4; ++c) EXPECT_EQ(composer.ShownColors()[size_t(c)], blues[size_t((c + 1) % 4)]);
  EXPECT_EQ(At(0, 390), blues[1]);
  for (int t = 0; t < 3; ++t) composer.TimerTimer();
  EXPECT_EQ(composer.ShownColors(), composer.AnimationColors());
}

TEST_F(LogoComposerTest, StoredCountsOutsideTheSpinRangesAreHeldToThem) {
  composer.State.seAnimation = 1000;
  composer.State.seSections = 0;
  composer.BuildAnimationPalette();
  composer.DrawAnimationBar();  // 32 colours in 4 sections
  EXPECT_EQ(AnimationColorCount(composer.State), 32);
  EXPECT_EQ(AnimationSectionCount(composer.State), 4);
  composer.State.seAnimation = -5;
  composer.State.seSections = 1000;
  EXPECT_EQ(AnimationColorCount(composer.State), 4);
  EXPECT_EQ(AnimationSectionCount(composer.State), 64);
}

TEST_F(LogoComposerTest, TypedFontSizesAreHeldToTheSpinRange) {
  auto composeWith = [&](int first, int last) {
    composer.State.First.Size = first;
    composer.State.Last.Size = last;
    composer.RefreshTexts();
    composer.BuildBackground();
    std::vector<TColor> pixels;
    for (int y = 0; y < 380; ++y)
      for (int x = 0; x < 640; ++x) pixels.push_back(At(x, y));
    return pixels;
  };
  EXPECT_EQ(composeWith(9999999, -40), composeWith(124, 8));
  EXPECT_EQ(TextSize(TTextStyle{"Arial", 3, false, false, clRed, teNothing, clBlack}), kMinTextSize);
}

TEST_F(LogoComposerTest, ThreeDEffectDrawsLightAndDarkEdges) {
  composer.State.cbSingleColor = clBlack;
  composer.State.First.Effect = te3D;
  composer.State.First.Color = clYellow;
  composer.State.edFirst = "I";
  composer.State.edLast = "";
  composer.RefreshTexts();
  composer.BuildBackground();
  int light = 0, dark = 0, yellow = 0, other = 0;
  for (int y = 0; y < 380; ++y)
    for (int x = 0; x < 640; ++x) {
      const TColor c = At(x, y);
      if (c == RGB(255, 255, 204)) ++light;
      else if (c == RGB(51, 51, 0))
        ++dark;
      else if (c == RGB(255, 255, 0))
        ++yellow;
      else if (c != clBlack)
        ++other;
    }
  EXPECT_GT(light, 0);
  EXPECT_GT(dark, 0);
  EXPECT_GT(yellow, 0);
  EXPECT_EQ(other, 0);
}

TEST_F(LogoComposerTest, LongTextsShrinkAndNeverReachTheBar) {
  // Hundreds of lines stay taller than the box even at 1 point.
  std::string longText = "A first line long enough to wrap at word breaks within the box, long enough";
  for (int i = 0; i < 300; ++i) longText += "\r\nx";
  composer.State.cbSingleColor = clBlack;
  composer.State.First.Size = 124;
  composer.State.Last.Size = 124;
  composer.State.Last.Effect = teShadow;
  composer.State.Last.ShadowColor = clWhite;
  composer.State.edFirst = longText;
  composer.State.edLast = longText + longText;
  composer.RefreshTexts();
  composer.State.StartColor = clBlack;  // a black bar: any other pixel there would be text
  composer.State.EndColor = clBlack;
  composer.BuildAnimationPalette();
  composer.BuildBackground();  // ends although the texts fit at no size
  EXPECT_GT(TextPixels(clBlack, 0, 380), 0);
  EXPECT_EQ(TextPixels(clBlack, 380, 400), 0);
}

TEST_F(LogoComposerTest, MissingOrBrokenPictureStillComposesOnBlack) {
  composer.State.rgBackground = bkBitmap;
  composer.State.btBitmap = "c:\\none.bmp";
  composer.RefreshTexts();
  composer.BuildBackground();
  EXPECT_EQ(At(0, 0), clBlack);
  EXPECT_GT(TextPixels(clBlack, 0, 380), 0);  // the default texts

  WriteLines(root.DriveC() / "broken.bmp", {"BM not a bitmap"});
  composer.State.btBitmap = "c:\\broken.bmp";
  composer.State.edFirst = "Other";
  composer.RefreshTexts();
  EXPECT_ANY_THROW(composer.BuildBackground());
  EXPECT_EQ(At(0, 0), clBlack);
  EXPECT_GT(TextPixels(clBlack, 0, 380), 0);
}

TEST_F(LogoComposerTest, SmallPictureIsTiledAndClippedAtTheEdges) {
  TPixelGraphic tile;
  tile.SetSize(100, 100, pgbc24);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) tile.SetPixel(x, y, static_cast<std::uint32_t>(RGB(BYTE(x), BYTE(y), 7)));
  tile.SaveToFile("c:\\tile.bmp");
  composer.State.rgBackground = bkBitmap;
  composer.State.btBitmap = "c:\\tile.bmp";
  composer.State.cbTiled = true;
  composer.BuildBackground();
  TPixelGraphic* bg = composer.Background();
  for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {123, 45}, {639, 379}, {600, 300}, {350, 99}})
    EXPECT_EQ(static_cast<TColor>(bg->GetPixel(x, y)), RGB(BYTE(x % 100), BYTE(y % 100), 7)) << x << "," << y;
}

}  // namespace
