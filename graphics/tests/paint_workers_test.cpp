#include <gtest/gtest.h>

#include "graphics/palettes.h"
#include "paint_workers.h"

namespace {

// An 8-bit picture with a palette of its own, not one of the named ones.
void OwnPalette(TPixelGraphic& g) {
  g.SetSize(2, 2, pgbc8);
  g.SetPaletteCount(3);
  for (int i = 0; i < 3; ++i) g.SetPaletteEntry(i, RGBToColor(10 * i, 20 * i, 30 * i));
}

}  // namespace

TEST(DisplayReduction, TheFormatFollowsTheScreensDepth) {
  EXPECT_EQ(DisplayFormat(1), pgbc4);
  EXPECT_EQ(DisplayFormat(4), pgbc4);
  EXPECT_EQ(DisplayFormat(7), pgbc4);
  EXPECT_EQ(DisplayFormat(8), pgbc8);
  EXPECT_EQ(DisplayFormat(16), pgbc24);
  EXPECT_EQ(DisplayFormat(32), pgbc24);
}

TEST(DisplayReduction, ThePaletteFollowsTheScreenAndTheChoiceForTheSourcesDepth) {
  struct Case {
    const char* name;
    int displayBits;
    bool trueColourSource;
    TPaletteIdent palette24, palette8;
    bool medianCut;
    TPaletteIdent ident;  // the palette it gets; pNone: the source's own; unread for a median cut
  };
  const Case cases[] = {
      {"16 colours below 8 bits", 4, true, pOptimized252Sys16, pOptimized252Sys16, false, pSys16},
      {"16 colours for an 8-bit source", 4, false, pGray256, pGray256, false, pSys16},
      {"median cut of true colour", 8, true, pOptimized252Sys16, pGray256, true, pNone},
      {"fixed palette for true colour", 8, true, pSpecial216, pOptimized252Sys16, false, pSpecial216},
      {"median cut of 8 bits", 8, false, pGray256, pOptimized252Sys16, true, pNone},
      {"fixed palette for 8 bits", 8, false, pOptimized252Sys16, pGray16, false, pGray16},
      {"the source's own for 8 bits", 8, false, pOptimized252Sys16, pSource, false, pNone},
  };
  for (const Case& c : cases) {
    TPixelGraphic source, target;
    if (c.trueColourSource) source.SetSize(2, 2, pgbc24);
    else
      OwnPalette(source);
    target.SetSize(2, 2, DisplayFormat(c.displayBits));
    const TPaletteIdent before = target.PaletteIdent();
    EXPECT_EQ(SetDisplayPalette(&target, &source, c.displayBits, c.palette24, c.palette8), c.medianCut) << c.name;
    if (c.medianCut) {
      EXPECT_EQ(target.PaletteIdent(), before) << c.name;  // left to the caller's median cut
    } else if (c.ident == pNone) {
      ASSERT_EQ(target.PaletteCount(), 3) << c.name;
      for (int i = 0; i < 3; ++i) EXPECT_EQ(target.GetPaletteEntry(i), source.GetPaletteEntry(i)) << c.name;
    } else {
      EXPECT_EQ(target.PaletteIdent(), c.ident) << c.name;
    }
  }
}

TEST(DisplayReduction, ATrueColourScreenKeepsThePicturesColours) {
  TPixelGraphic source, target;
  OwnPalette(source);
  target.SetSize(2, 2, DisplayFormat(24));
  EXPECT_FALSE(SetDisplayPalette(&target, &source, 24, pOptimized252Sys16, pSource));
  EXPECT_EQ(target.PaletteIdent(), pTrueColor);
}
