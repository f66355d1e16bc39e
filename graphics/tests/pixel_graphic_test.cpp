#include <gtest/gtest.h>

#include <cstring>

#include "graphics/exceptions.h"
#include "graphics/palettes.h"

namespace {

template <class E>
std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message;
  }
  return "no exception";
}

}  // namespace

TEST(PixelGraphicTest, StartsEmptyAtTwentyFourBits) {
  TPixelGraphic g;
  EXPECT_TRUE(g.GetEmpty());
  EXPECT_EQ(g.GetBitCount(), pgbc24);
  EXPECT_EQ(g.PaletteIdent(), pTrueColor);
  EXPECT_EQ(g.GetPaletteEntry(5), 5);
}

TEST(PixelGraphicTest, StrideAndSizeFollowTheFormat) {
  struct Case {
    int width;
    TPGBitCount format;
    int stride;
  } cases[] = {{3, pgbc1, 4}, {33, pgbc1, 8}, {5, pgbc24, 16}, {9, pgbc4, 8}, {5, pgbc8, 8}};
  for (const auto& c : cases) {
    TPixelGraphic g;
    g.SetSize(c.width, 3, c.format);
    EXPECT_EQ(g.GetStride(), c.stride) << c.width;
    EXPECT_EQ(g.ImageSize(), c.stride * 3);
    EXPECT_EQ(g.BitmapInfo()->bmiHeader.biSizeImage, static_cast<DWORD>(c.stride * 3));
  }
  TPixelGraphic empty;
  empty.SetSize(0, 10, pgbc8);
  EXPECT_TRUE(empty.GetEmpty());
  EXPECT_EQ(empty.GetHeight(), 10);
  empty.Clear();  // nothing to clear
}

TEST(PixelGraphicTest, NegativeSizesAndBitCountsAreRefused) {
  TPixelGraphic g;
  EXPECT_EQ(MessageOf<EPGInvalidSize>([&] { g.SetSize(-1, -1, pgbc8); }), "Negative width");
  EXPECT_EQ(MessageOf<EPGInvalidSize>([&] { g.SetSize(1, -1, pgbc8); }), "Negative height");
  EXPECT_EQ(MessageOf<EPGInvalidBitCountNum>([&] { TPixelGraphic::BitCountToFormat(16); }),
            "Invalid value for BitCountNum");
  EXPECT_EQ(TPixelGraphic::BitCountToFormat(8), pgbc8);
}

TEST(PixelGraphicTest, HugeSizesFailAsTheDIBSectionAndLeaveAUsableEmptyImage) {
  struct Case {
    int width, height;
    TPGBitCount format;
  } cases[] = {
      {0x7FFFFFFF, 1, pgbc24},  // the stride alone passes 32 bits
      {70000, 70000, pgbc24},  // stride x height passes 32 bits
      {40000, 30000, pgbc8},  // fits 32 bits, too large to allocate
  };
  for (const auto& c : cases) {
    TPixelGraphic g;
    TPixelGraphic source;
    source.SetSize(4, 4, pgbc24);
    EXPECT_EQ(MessageOf<EPixelGraphic>([&] { g.SetSize(c.width, c.height, c.format); }), "CreateDIBSection failed");
    EXPECT_TRUE(g.GetEmpty());
    EXPECT_EQ(g.GetWidth(), 0);
    EXPECT_EQ(g.GetHeight(), 0);
    EXPECT_EQ(g.ScanLine(0), nullptr);
    g.SetPixel(0, 0, 1);
    EXPECT_EQ(g.GetPixel(0, 0), 0u);
    g.CopyRect(0, 0, &source, 0, 0, 4, 4);
    source.CopyRect(0, 0, &g, 0, 0, 4, 4);
    g.StretchCopy(&source);
    TPixelGraphic copy;
    copy.Assign(&g);
    EXPECT_TRUE(copy.GetEmpty());
    g.SetSize(2, 2, pgbc8);  // still usable
    EXPECT_FALSE(g.GetEmpty());
  }
}

TEST(PixelGraphicTest, PixelsAreStoredBottomUpInTheirFormat) {
  TPixelGraphic g;
  g.SetSize(4, 2, pgbc24);
  g.SetPixel(0, 0, 0x112233);
  EXPECT_EQ(std::memcmp(g.ScanLine(0), "\x11\x22\x33", 3), 0);  // blue, green, red of $00BBGGRR
  EXPECT_EQ(g.ScanLine(0), g.GetBits() + g.GetStride());  // row 0 is the last stored line
  EXPECT_EQ(g.GetPixel(0, 0), 0x112233u);
  g.SetBackGroundValue(77);
  g.SetPixel(-1, 0, 5);
  EXPECT_EQ(g.GetPixel(-1, 0), 77u);
  EXPECT_EQ(g.GetPixel(4, 0), 77u);

  TPixelGraphic four;
  four.SetSize(2, 1, pgbc4);
  four.SetPixel(0, 0, 0xA);
  four.SetPixel(1, 0, 0x15);  // only the low nibble
  EXPECT_EQ(four.GetBits()[0], 0xA5);
  EXPECT_EQ(four.GetPixel(0, 0), 0xAu);

  TPixelGraphic one;
  one.SetSize(9, 1, pgbc1);
  one.SetPixel(0, 0, 1);
  one.SetPixel(8, 0, 1);
  EXPECT_EQ(one.GetBits()[0], 0x80);
  EXPECT_EQ(one.GetBits()[1], 0x80);
  one.SetPixel(0, 0, 2);  // anything but 1 clears
  EXPECT_EQ(one.GetPixel(0, 0), 0u);
}

TEST(PixelGraphicTest, ClearFillsWithTheBackgroundAndSameSizeClearsOnly) {
  TPixelGraphic g;
  g.SetSize(3, 2, pgbc4);
  g.SetPaletteIdent(pSys16);
  g.SetBackGroundColor(RGBToColor(255, 0, 0));
  EXPECT_EQ(g.BackGroundValue(), 9u);
  std::uint8_t* bits = g.GetBits();
  g.SetSize(3, 2, pgbc4);
  EXPECT_EQ(g.GetBits(), bits);  // not reallocated
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(g.GetPixel(x, y), 9u);
  EXPECT_EQ(g.GetBackGroundColor(), RGBToColor(255, 0, 0));
}

TEST(PixelGraphicTest, PaletteEntriesAreCheckedAndMirroredIntoTheColorTable) {
  TPixelGraphic g;
  g.SetSize(2, 2, pgbc8);
  EXPECT_EQ(MessageOf<EPGNoPalette>([&] { g.SetPaletteEntry(0, 0); }), "No palette");  // still pTrueColor
  g.SetPaletteCount(3);
  g.SetPaletteCount(0);
  EXPECT_EQ(g.PaletteIdent(), pNone);
  g.SetPaletteCount(7);
  EXPECT_EQ(g.PaletteIdent(), pUnknown);
  EXPECT_EQ(g.GetPaletteEntry(6), 0);
  EXPECT_EQ(g.BitmapInfo()->bmiHeader.biClrUsed, 7u);
  g.SetPaletteEntry(3, RGBToColor(1, 2, 3));
  const RGBQUAD& q = g.BitmapInfo()->bmiColors[3];
  EXPECT_EQ(q.rgbRed, 1);
  EXPECT_EQ(q.rgbGreen, 2);
  EXPECT_EQ(q.rgbBlue, 3);
  EXPECT_EQ(MessageOf<EPGInvalidPaletteIndex>([&] { g.SetPaletteEntry(7, 0); }), "Invalid palette index");
  EXPECT_EQ(MessageOf<EPGInvalidPaletteIndex>([&] { g.GetPaletteEntry(-1); }), "Invalid palette index");
  ASSERT_NE(g.GetPalette(), nullptr);
  PALETTEENTRY e;
  ASSERT_EQ(GetPaletteEntries(g.GetPalette(), 3, 1, &e), 1u);
  EXPECT_EQ(e.peRed, 1);
  EXPECT_EQ(e.peBlue, 3);
}

TEST(PixelGraphicTest, PalettesPastTheCapacityNeverWriteOutsideTheColorTable) {
  // A 1-bit image's table holds 2 entries; the palette itself may be larger.
  TPixelGraphic g;
  g.SetSize(4, 4, pgbc1);
  g.SetPaletteIdent(pSpecial252);
  EXPECT_EQ(g.PaletteCount(), 252);
  g.SetPaletteEntry(251, RGBToColor(9, 9, 9));
  EXPECT_EQ(g.BitmapInfo()->bmiHeader.biClrUsed, 2u);
  EXPECT_EQ(g.GetPaletteEntry(251), RGBToColor(9, 9, 9));
  g.SetPaletteCount(-3);
  EXPECT_EQ(g.PaletteCount(), 0);
}

TEST(PixelGraphicTest, FormatChangeCutsThePalette) {
  TPixelGraphic g;
  g.SetSize(2, 2, pgbc8);
  g.SetPaletteIdent(pGray256);
  g.SetBitCount(pgbc4);
  EXPECT_EQ(g.PaletteCount(), 16);
  g.SetBitCount(pgbc24);
  EXPECT_EQ(g.PaletteCount(), 0);
  EXPECT_EQ(g.PaletteIdent(), pTrueColor);
}

TEST(PixelGraphicTest, AssignCopiesPixelsPaletteAndSettingsAndIgnoresItself) {
  TPixelGraphic source;
  source.SetSize(3, 2, pgbc8);
  source.SetPaletteCount(3);
  source.SetPaletteEntry(2, RGBToColor(10, 20, 30));
  source.SetPixel(1, 1, 2);
  source.SetDither(false);
  source.SetStretchMode(smFast);
  TPixelGraphic copy;
  copy.Assign(&source);
  EXPECT_EQ(copy.GetWidth(), 3);
  EXPECT_EQ(copy.GetBitCount(), pgbc8);
  EXPECT_EQ(copy.GetPixel(1, 1), 2u);
  EXPECT_EQ(copy.GetPaletteEntry(2), RGBToColor(10, 20, 30));
  EXPECT_EQ(copy.PaletteIdent(), pUnknown);
  EXPECT_FALSE(copy.Dither());
  EXPECT_EQ(copy.StretchMode(), smFast);

  source.Assign(&source);
  EXPECT_EQ(source.GetPixel(1, 1), 2u);
  EXPECT_EQ(source.GetPaletteEntry(2), RGBToColor(10, 20, 30));

  copy.Assign(nullptr);
  EXPECT_TRUE(copy.GetEmpty());
  EXPECT_EQ(copy.GetBitCount(), pgbc24);
}

TEST(PixelGraphicTest, EndUpdateAlwaysCallsChangedWhichStaysSilentWhileNested) {
  TPixelGraphic g;
  int changes = 0;
  g.OnChange = [&](TObject*) { ++changes; };
  g.BeginUpdate();
  g.BeginUpdate();
  g.Changed();
  g.EndUpdate();
  EXPECT_EQ(changes, 0);
  g.EndUpdate();
  EXPECT_EQ(changes, 1);
  g.SetSize(1, 1, pgbc8);
  EXPECT_EQ(changes, 2);
}
