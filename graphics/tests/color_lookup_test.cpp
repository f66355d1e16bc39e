#include <gtest/gtest.h>

#include "graphics/exceptions.h"
#include "graphics/palettes.h"
#include "palette252_cells.h"

namespace {

int LookUp(TPaletteIdent ident, TColor color, bool weighted = false) {
  TPixelGraphic g;
  g.SetSize(1, 1, pgbc8);
  g.SetPaletteIdent(ident);
  g.SetRGBWeighting(weighted);
  return g.ColorToIndex(color);
}

TColor Grey(int v) { return RGBToColor(v, v, v); }

int Distance(TColor a, TColor b) {
  int dr = RedOf(a) - RedOf(b), dg = GreenOf(a) - GreenOf(b), db = BlueOf(a) - BlueOf(b);
  return dr * dr + dg * dg + db * db;
}

}  // namespace

TEST(ColorLookupTest, ArithmeticKindsMeetTheirBoundaries) {
  struct Case {
    TPaletteIdent ident;
    TColor color;
    int index;
  } cases[] = {
      {pBlackWhite, RGBToColor(127, 127, 128), 0},  // brightness 382
      {pBlackWhite, RGBToColor(127, 128, 128), 1},  // 383
      {pSysGray4, Grey(64), 0},  // 192
      {pSysGray4, RGBToColor(64, 64, 65), 1},  // 193
      {pSysGray4, RGBToColor(223, 223, 224), 2},  // 670
      {pSysGray4, RGBToColor(223, 224, 224), 3},  // 671
      {pSpecial125, RGBToColor(223, 0, 0), 75},  // level 3
      {pSpecial125, RGBToColor(224, 0, 0), 100},  // 224 counts as 225: level 4
      {pSpecial125, RGBToColor(0, 32, 33), 1},  // 32 -> 0, 33 -> 1
      {pSpecial216, RGBToColor(0, 26, 27), 1},  // 26 -> 0, 27 -> 1
      {pGray236, Grey(0), 0},
      {pGray236, Grey(255), 235},
      {pGray4, Grey(85), 1},
      {pGray256, Grey(200), 200},
      {pSys16, RGBToColor(250, 10, 5), 9},
      {pSys16, RGBToColor(190, 190, 190), 7},
  };
  for (const auto& c : cases) EXPECT_EQ(LookUp(c.ident, c.color), c.index) << c.ident << " " << std::hex << c.color;
  EXPECT_EQ(LookUp(pGray16, RGBToColor(0, 255, 0), true), 9);
  EXPECT_EQ(LookUp(pGray16, RGBToColor(0, 255, 0), false), 5);
  EXPECT_EQ(Brightness(RGBToColor(0, 255, 0), true), 449);
}

TEST(ColorLookupTest, StandardPalettesHaveTheirEntries) {
  auto gray4 = StandardPaletteEntries(pGray4);
  EXPECT_EQ(gray4, (std::vector<TColor>{Grey(0), Grey(85), Grey(170), Grey(255)}));
  EXPECT_EQ(StandardPaletteEntries(pSpecial125)[1 * 25 + 2 * 5 + 4], RGBToColor(64, 128, 255));
  EXPECT_EQ(StandardPaletteEntries(pSpecial216)[215], Grey(255));
  EXPECT_EQ(StandardPaletteEntries(pGray236)[1], Grey(1));
  EXPECT_EQ(StandardPaletteEntries(pGray236)[234], Grey(254));
  EXPECT_EQ(StandardPaletteEntries(pSys16)[1], RGBToColor(0x80, 0, 0));
  EXPECT_EQ(Special252Entry(251), RGBToColor(0xE0, 0x60, 0xC0));
}

TEST(ColorLookupTest, DetectPaletteIdentRecognisesStandardPalettes) {
  struct Case {
    std::vector<TColor> entries;
    TPaletteIdent ident;
    bool allGray;
  } cases[] = {
      {{Grey(0), Grey(85), Grey(170), Grey(255)}, pGray4, true},
      {{Grey(0), Grey(128), Grey(192), Grey(255)}, pSysGray4, true},
      {{Grey(0), Grey(85), Grey(170), Grey(254)}, pUnknown, true},
      {StandardPaletteEntries(pSpecial252), pSpecial252, false},
      {StandardPaletteEntries(pSys16), pSys16, false},
      {{}, pNone, true},
  };
  for (const auto& c : cases) {
    TPixelGraphic g;
    g.SetSize(1, 1, pgbc8);
    g.SetPaletteCount(static_cast<int>(c.entries.size()));
    for (std::size_t i = 0; i < c.entries.size(); ++i) g.SetPaletteEntry(static_cast<int>(i), c.entries[i]);
    g.DetectPaletteIdent();
    EXPECT_EQ(g.PaletteIdent(), c.ident);
    EXPECT_EQ(g.AllGray(), c.allGray);
  }
}

TEST(ColorLookupTest, ArbitraryPalettesPickTheNearestEntryTheLowerOnTies) {
  for (bool useMap : {false, true}) {
    TPixelGraphic g;
    g.SetSize(1, 1, pgbc8);
    g.SetPaletteCount(3);
    g.SetPaletteEntry(0, Grey(0));
    g.SetPaletteEntry(1, Grey(200));
    g.SetPaletteEntry(2, Grey(100));
    g.SetUseColorMap(useMap);
    EXPECT_EQ(g.ColorToIndex(Grey(50)), 0) << useMap;  // as near to 0 as to 2
    EXPECT_EQ(g.ColorToIndex(Grey(190)), 1) << useMap;
    EXPECT_EQ(g.ColorToIndex(Grey(110)), 2) << useMap;
    g.SetPaletteEntry(2, Grey(180));  // a palette change drops the map and the cached answer
    EXPECT_EQ(g.ColorToIndex(Grey(186)), 2) << useMap;
  }
  TPixelGraphic one;
  one.SetSize(1, 1, pgbc8);
  one.SetPaletteCount(1);
  one.SetPaletteEntry(0, RGBToColor(1, 2, 3));
  EXPECT_EQ(one.ColorToIndex(RGBToColor(255, 0, 255)), 0);
}

TEST(ColorLookupTest, ColorMapMatchesTheSearchOutsideTheFilledCells) {
  // Far from every entry the map answers by exhaustive search, so it must agree with it.
  TPixelGraphic map, search;
  for (TPixelGraphic* g : {&map, &search}) {
    g->SetSize(1, 1, pgbc8);
    g->SetPaletteCount(4);
    g->SetPaletteEntry(0, RGBToColor(0, 0, 0));
    g->SetPaletteEntry(1, RGBToColor(255, 0, 0));
    g->SetPaletteEntry(2, RGBToColor(0, 255, 0));
    g->SetPaletteEntry(3, RGBToColor(0, 0, 255));
  }
  search.SetUseColorMap(false);
  for (int v = 0; v < 256; v += 17)
    for (TColor c : {RGBToColor(v, 128, 255 - v), RGBToColor(128, v, 128), RGBToColor(200, 200, v)})
      EXPECT_EQ(map.ColorToIndex(c), search.ColorToIndex(c)) << std::hex << c;
}

TEST(ColorLookupTest, NoPaletteRaisesOnEveryLookup) {
  TPixelGraphic none;
  none.SetSize(1, 1, pgbc8);
  none.SetPaletteCount(1);
  none.SetPaletteCount(0);
  ASSERT_EQ(none.PaletteIdent(), pNone);
  TPixelGraphic unknownEmpty;
  unknownEmpty.SetSize(1, 1, pgbc8);
  unknownEmpty.SetPaletteIdent(pUnknown);
  ASSERT_EQ(unknownEmpty.PaletteCount(), 0);
  for (TPixelGraphic* g : {&none, &unknownEmpty})
    for (int i = 0; i < 2; ++i) EXPECT_THROW(g->ColorToIndex(RGBToColor(1, 2, 3)), EPGNoPalette);
  EXPECT_THROW(none.SetBackGroundColor(0), EPGNoPalette);
}

TEST(ColorLookupTest, Special252CellListsHoldANearestEntryForEveryColour) {
  // Brute force over a sample of colours, including every cell's corners and centre.
  std::vector<TColor> palette = StandardPaletteEntries(pSpecial252);
  TPixelGraphic g;
  g.SetSize(1, 1, pgbc8);
  g.SetPaletteIdent(pSpecial252);
  auto check = [&](TColor c) {
    int best = 1 << 30;
    for (TColor e : palette) best = std::min(best, Distance(c, e));
    int found = g.ColorToIndex(c);
    ASSERT_EQ(Distance(c, palette[static_cast<std::size_t>(found)]), best) << std::hex << c;
  };
  const int edges[] = {0,   15,  16,  31,  47,  48,  63,  64,  79,  80,  111, 112, 127, 128,
                       143, 144, 175, 176, 191, 192, 207, 208, 223, 224, 239, 240, 255};
  for (int r : edges)
    for (int g2 : edges)
      for (int b : edges) check(RGBToColor(r, g2, b));
  std::uint32_t seed = 12345;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 1103515245u + 12345u;
    check(static_cast<TColor>(seed >> 8 & 0xFFFFFF));
  }
  int longest = 0;
  for (int cell = 0; cell < 729; ++cell)
    longest = std::max<int>(longest, Special252CellStarts[cell + 1] - Special252CellStarts[cell]);
  EXPECT_EQ(longest, 8);
  EXPECT_EQ(Special252CellStarts[729], 1928);
}
