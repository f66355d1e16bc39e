#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "vcl/graphics_images.h"
#include "win32/clipboard.h"
#include "win32/globalmem.h"

namespace {

const TPixelFormat kFormats[] = {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};

// A 5x3 bitmap whose pixels show the colours each format can hold exactly.
void Paint(TBitmap& b) {
  const TColor colours[] = {clBlack, clWhite, clRed, clLime, clBlue, clYellow, clAqua};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const TColor c = b.PixelFormat() == pf1bit ? ((x + y) % 2 ? clWhite : clBlack) : colours[(x + 2 * y) % 7];
      b.Canvas()->SetPixels(x, y, c);
    }
}

std::vector<TColor> Pixels(TBitmap& b) {
  std::vector<TColor> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.push_back(b.Canvas()->Pixels(x, y));
  return out;
}

std::vector<BYTE> Bytes(TMemoryStream& s) {
  const auto* p = static_cast<const BYTE*>(s.Memory());
  return {p, p + s.Size()};
}

void Load(TBitmap& b, const std::vector<BYTE>& bytes) {
  TMemoryStream s;
  s.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  s.SetPosition(0);
  b.LoadFromStream(&s);
}

void Put32(std::vector<BYTE>& v, std::size_t at, std::uint32_t x) { std::memcpy(v.data() + at, &x, 4); }

// A file header and 40-byte info header for an 8-bit image with a 2-colour table.
std::vector<BYTE> Header8(int width, int height, DWORD compression, std::size_t imageBytes) {
  std::vector<BYTE> v(14 + 40 + 8, 0);
  v[0] = 'B', v[1] = 'M';
  Put32(v, 10, 14 + 40 + 8);
  Put32(v, 14, 40);
  Put32(v, 18, static_cast<std::uint32_t>(width));
  Put32(v, 22, static_cast<std::uint32_t>(height));
  v[26] = 1, v[28] = 8;
  Put32(v, 30, compression);
  Put32(v, 34, static_cast<std::uint32_t>(imageBytes));
  Put32(v, 46, 2);
  v[54 + 4] = v[54 + 5] = v[54 + 6] = 255;  // entry 1 white
  return v;
}

}  // namespace

TEST(GraphicsBitmap, RoundTripThroughBmpAtEachFormat) {
  for (TPixelFormat f : kFormats) {
    TBitmap b;
    b.SetPixelFormat(f);
    b.SetWidth(5);
    b.SetHeight(3);
    Paint(b);
    TMemoryStream s;
    b.SaveToStream(&s);
    s.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(&s);
    EXPECT_EQ(back.PixelFormat(), f) << f;
    EXPECT_EQ(Pixels(back), Pixels(b)) << f;
    EXPECT_EQ(back.Colors().size(), b.Colors().size()) << f;
    EXPECT_TRUE(std::equal(b.Colors().begin(), b.Colors().end(), back.Colors().begin(), [](RGBQUAD a, RGBQUAD c) {
      return a.rgbRed == c.rgbRed && a.rgbGreen == c.rgbGreen && a.rgbBlue == c.rgbBlue;
    })) << f;
    // Written again, the file is the same byte for byte.
    TMemoryStream again;
    back.SaveToStream(&again);
    EXPECT_EQ(Bytes(again), Bytes(s)) << f;
  }
}

TEST(GraphicsBitmap, PixelFormatConversionsKeepPixels) {
  for (TPixelFormat from : kFormats)
    for (TPixelFormat to : kFormats) {
      if (to == pf1bit && from != pf1bit) continue;  // only black and white survive
      TBitmap b;
      b.SetPixelFormat(from);
      b.SetWidth(5);
      b.SetHeight(3);
      Paint(b);
      const std::vector<TColor> before = Pixels(b);
      b.SetPixelFormat(to);
      EXPECT_EQ(b.PixelFormat(), to);
      EXPECT_EQ(Pixels(b), before) << from << " -> " << to;
    }
}

TEST(GraphicsBitmap, FreshlySizedAreaIsWhiteAndTopLeftStays) {
  for (TPixelFormat f : kFormats) {
    TBitmap b;
    b.SetPixelFormat(f);
    b.SetWidth(3);
    b.SetHeight(2);
    b.Canvas()->SetPixels(0, 0, clBlack);
    b.Canvas()->SetPixels(2, 1, clBlack);
    b.SetWidth(11);
    b.SetHeight(4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 11; ++x) {
        const bool black = (x == 0 && y == 0) || (x == 2 && y == 1);
        EXPECT_EQ(b.Canvas()->Pixels(x, y), black ? clBlack : clWhite) << f << " " << x << "," << y;
      }
  }
}

// Width 0 keeps the height but frees the pixels; growing again starts from a white picture.
TEST(GraphicsBitmap, NoColumnsAndBackAgainGivesAWhitePicture) {
  for (TPixelFormat f : kFormats) {
    TBitmap b;
    b.SetPixelFormat(f);
    b.SetWidth(4);
    b.SetHeight(3);
    b.Canvas()->SetPixels(1, 1, clBlack);
    b.SetWidth(0);
    EXPECT_TRUE(b.Empty()) << f;
    EXPECT_EQ(b.Height(), 3) << f;
    b.SetWidth(5);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(b.Canvas()->Pixels(x, y), clWhite) << f << " " << x << "," << y;
  }
}

TEST(GraphicsBitmap, ScanLineCountsRowsFromTheTop) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetWidth(2);
  b.SetHeight(3);
  b.Canvas()->SetPixels(0, 0, clRed);
  b.Canvas()->SetPixels(0, 2, clBlue);
  const auto* top = static_cast<const BYTE*>(b.ScanLine(0));
  const auto* bottom = static_cast<const BYTE*>(b.ScanLine(2));
  EXPECT_EQ(top[2], 255);  // blue, green, red
  EXPECT_EQ(top[0], 0);
  EXPECT_EQ(bottom[0], 255);
  EXPECT_EQ(bottom[2], 0);
  static_cast<BYTE*>(b.ScanLine(1))[1] = 0;  // green off in (0, 1)
  EXPECT_EQ(b.Canvas()->Pixels(0, 1), static_cast<TColor>(RGB(255, 0, 255)));
  EXPECT_THROW(b.ScanLine(3), EInvalidGraphicOperation);
}

TEST(GraphicsBitmap, CanvasDrawsThroughTheGdi) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetWidth(8);
  b.SetHeight(8);
  b.Canvas()->Brush()->SetColor(clNavy);
  b.Canvas()->FillRect({2, 2, 5, 4});
  EXPECT_EQ(b.Canvas()->Pixels(2, 2), clNavy);
  EXPECT_EQ(b.Canvas()->Pixels(4, 3), clNavy);
  EXPECT_EQ(b.Canvas()->Pixels(5, 3), clWhite);  // right edge excluded
  b.Canvas()->Pen()->SetColor(clRed);
  b.Canvas()->MoveTo(0, 7);
  b.Canvas()->LineTo(4, 7);
  EXPECT_EQ(b.Canvas()->Pixels(3, 7), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(4, 7), clWhite);  // end point excluded
  EXPECT_EQ(b.Canvas()->PenPos().x, 4);
}

TEST(GraphicsBitmap, TextInAColourOnAPalettedBitmapLandsOnAPaletteEntry) {
  TBitmap b;
  b.SetPixelFormat(pf8bit);
  b.SetWidth(40);
  b.SetHeight(20);
  b.Canvas()->Brush()->SetStyle(bsClear);
  b.Canvas()->Font()->SetColor(static_cast<TColor>(RGB(200, 10, 10)));
  b.Canvas()->TextOut(2, 2, "HW");
  // The nearest entry of the table to (200, 10, 10).
  RGBQUAD want{10, 10, 200, 0};
  int best = 0, bestDistance = 1 << 30;
  for (std::size_t i = 0; i < b.Colors().size(); ++i) {
    const RGBQUAD& c = b.Colors()[i];
    const int d = (c.rgbRed - want.rgbRed) * (c.rgbRed - want.rgbRed) +
                  (c.rgbGreen - want.rgbGreen) * (c.rgbGreen - want.rgbGreen) +
                  (c.rgbBlue - want.rgbBlue) * (c.rgbBlue - want.rgbBlue);
    if (d < bestDistance) best = static_cast<int>(i), bestDistance = d;
  }
  int text = 0, other = 0;
  for (int y = 0; y < 20; ++y) {
    const auto* row = static_cast<const BYTE*>(b.ScanLine(y));
    for (int x = 0; x < 40; ++x) {
      const RGBQUAD& c = b.Colors()[row[x]];
      const bool white = c.rgbRed == 255 && c.rgbGreen == 255 && c.rgbBlue == 255;
      if (row[x] == best) ++text;
      else if (!white)
        ++other;
    }
  }
  EXPECT_GT(text, 10);
  EXPECT_EQ(other, 0);  // no blended shades: the background stayed, the text is one entry
}

TEST(GraphicsBitmap, CopyRectHonoursCopyMode) {
  TBitmap source, dest;
  for (TBitmap* b : {&source, &dest}) {
    b->SetPixelFormat(pf24bit);
    b->SetWidth(4);
    b->SetHeight(1);
  }
  source.Canvas()->SetPixels(0, 0, 0x0000F0);
  dest.Canvas()->SetPixels(0, 0, 0x00000F);
  const struct {
    TCopyMode mode;
    TColor result;
  } cases[] = {{cmSrcCopy, 0x0000F0},    {cmSrcPaint, 0x0000FF},  {cmSrcAnd, 0x000000},   {cmSrcInvert, 0x0000FF},
               {cmNotSrcCopy, 0xFFFF0F}, {cmBlackness, 0x000000}, {cmDstInvert, 0xFFFFF0}};
  for (const auto& c : cases) {
    dest.Canvas()->SetPixels(0, 0, 0x00000F);
    dest.Canvas()->SetCopyMode(c.mode);
    dest.Canvas()->CopyRect({0, 0, 1, 1}, source.Canvas(), {0, 0, 1, 1});
    EXPECT_EQ(dest.Canvas()->Pixels(0, 0), c.result) << std::hex << c.mode;
  }
}

TEST(GraphicsBitmap, TransparentDrawLeavesTheTransparentColourUndrawn) {
  TBitmap sprite, back;
  for (TBitmap* b : {&sprite, &back}) {
    b->SetPixelFormat(pf24bit);
    b->SetWidth(3);
    b->SetHeight(1);
  }
  sprite.Canvas()->SetPixels(0, 0, clRed);
  sprite.Canvas()->SetPixels(1, 0, clLime);
  sprite.Canvas()->SetPixels(2, 0, clRed);
  EXPECT_EQ(sprite.TransparentColor(), clRed);  // the bottom-left pixel
  back.Canvas()->Brush()->SetColor(clBlue);
  back.Canvas()->FillRect({0, 0, 3, 1});
  sprite.SetTransparent(true);
  back.Canvas()->Draw(0, 0, &sprite);
  EXPECT_EQ(back.Canvas()->Pixels(0, 0), clBlue);
  EXPECT_EQ(back.Canvas()->Pixels(1, 0), clLime);
  EXPECT_EQ(back.Canvas()->Pixels(2, 0), clBlue);
  // BrushCopy: the colour's pixels take the brush.
  back.Canvas()->Brush()->SetColor(clYellow);
  back.Canvas()->BrushCopy({0, 0, 3, 1}, &sprite, {0, 0, 3, 1}, clRed);
  EXPECT_EQ(back.Canvas()->Pixels(0, 0), clYellow);
  EXPECT_EQ(back.Canvas()->Pixels(1, 0), clLime);
}

TEST(GraphicsBitmap, HostileBmpIsRefusedCleanly) {
  std::vector<BYTE> good = Header8(4, 2, BI_RGB, 8);
  good.resize(good.size() + 8, 1);
  TBitmap ok;
  Load(ok, good);
  EXPECT_EQ(ok.Width(), 4);

  std::vector<std::vector<BYTE>> bad;
  bad.push_back({'B', 'M', 0, 0});  // truncated file header
  bad.push_back(std::vector<BYTE>(good.begin(), good.begin() + 30));  // truncated info header
  bad.push_back(std::vector<BYTE>(good.begin(), good.end() - 3));  // pixels cut short
  bad.push_back(Header8(0x7FFFFFFF, 0x7FFFFFFF, BI_RGB, 0));  // huge size, no data
  bad.push_back(Header8(-4, 2, BI_RGB, 0));  // negative width
  std::vector<BYTE> notBmp = good;
  notBmp[0] = 'X';
  bad.push_back(notBmp);
  std::vector<BYTE> depth = good;
  depth[28] = 7;
  bad.push_back(depth);
  // RLE8: a run past the end of the row, a delta out of the image, a literal past the data,
  // no end marker.
  for (const std::vector<BYTE>& rle :
       std::vector<std::vector<BYTE>>{{5, 1, 0, 1}, {0, 2, 9, 9, 0, 1}, {0, 200, 1, 1}, {2, 1}}) {
    std::vector<BYTE> v = Header8(4, 2, BI_RLE8, rle.size());
    v.insert(v.end(), rle.begin(), rle.end());
    bad.push_back(v);
  }
  for (std::size_t i = 0; i < bad.size(); ++i) {
    TBitmap b;
    try {
      Load(b, bad[i]);
      ADD_FAILURE() << "case " << i << " accepted";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "Bitmap image is not valid") << i;
    }
  }
}

TEST(GraphicsBitmap, ReadsRleAndTopDownBitmaps) {
  // RLE8 4x2: bottom row a run of 4 of index 1, top row a literal 1 0 1 0.
  const std::vector<BYTE> rle = {4, 1, 0, 0, 0, 4, 1, 0, 1, 0, 0, 1};
  std::vector<BYTE> v = Header8(4, 2, BI_RLE8, rle.size());
  v.insert(v.end(), rle.begin(), rle.end());
  TBitmap b;
  Load(b, v);
  EXPECT_EQ(Pixels(b), (std::vector<TColor>{clWhite, clBlack, clWhite, clBlack, clWhite, clWhite, clWhite, clWhite}));
  // The same picture top-down, uncompressed.
  std::vector<BYTE> t = Header8(4, -2, BI_RGB, 8);
  t.insert(t.end(), {1, 0, 1, 0, 1, 1, 1, 1});
  TBitmap top;
  Load(top, t);
  EXPECT_EQ(Pixels(top), Pixels(b));
}

TEST(GraphicsBitmap, ResourcesByNameAndTheMissingOne) {
  static std::vector<BYTE> bytes = [] {
    std::vector<BYTE> v = Header8(2, 1, BI_RGB, 4);
    v.insert(v.end(), {1, 0, 0, 0});
    return v;
  }();
  RegisterBitmapResource("TESTGLYPH", bytes.data(), bytes.size());
  TBitmap b;
  b.LoadFromResourceName(nullptr, "TestGlyph");
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clWhite);
  EXPECT_EQ(b.Canvas()->Pixels(1, 0), clBlack);
  try {
    b.LoadFromResourceName(nullptr, "NOPE");
    ADD_FAILURE();
  } catch (const EResNotFound& e) {
    EXPECT_STREQ(e.what(), "Resource NOPE not found");
  }
}

TEST(GraphicsBitmap, AssignCopiesDeeplyAndClipboardRoundTrips) {
  TBitmap a;
  a.SetPixelFormat(pf8bit);
  a.SetWidth(3);
  a.SetHeight(2);
  Paint(a);
  TBitmap b;
  b.Assign(&a);
  a.Canvas()->SetPixels(0, 0, clBlue);
  EXPECT_EQ(b.PixelFormat(), pf8bit);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clBlack);
  WORD format = 0;
  HANDLE data = nullptr;
  HPALETTE palette = nullptr;
  a.SaveToClipboardFormat(format, data, palette);
  EXPECT_EQ(format, CF_DIB);
  TBitmap c;
  c.LoadFromClipboardFormat(format, data, palette);
  GlobalFree(data);
  EXPECT_EQ(Pixels(c), Pixels(a));
  EXPECT_THROW(c.LoadFromClipboardFormat(CF_TEXT, nullptr, nullptr), EInvalidGraphic);
}
