#include <gtest/gtest.h>

#include "bmp_test_files.h"
#include "graphics/exceptions.h"
#include "graphics/palettes.h"
#include "win32/clipboard.h"
#include "win32/globalmem.h"
#include "win32/testing/machine_root.h"

namespace {

void MakePaletteImage(TPixelGraphic& image) {
  image.SetSize(5, 3, pgbc4);
  image.SetPaletteCount(3);
  image.SetPaletteEntry(1, RGBToColor(200, 10, 10));
  image.SetPaletteEntry(2, RGBToColor(10, 10, 200));
  image.SetPixel(4, 0, 2);
  image.SetPixel(0, 2, 1);
}

void ExpectSameImage(TPixelGraphic& a, TPixelGraphic& b) {
  ASSERT_EQ(a.GetWidth(), b.GetWidth());
  ASSERT_EQ(a.GetHeight(), b.GetHeight());
  ASSERT_EQ(a.GetBitCount(), b.GetBitCount());
  ASSERT_EQ(a.PaletteCount(), b.PaletteCount());
  for (int y = 0; y < a.GetHeight(); ++y)
    for (int x = 0; x < a.GetWidth(); ++x) EXPECT_EQ(a.GetPixelColor(x, y), b.GetPixelColor(x, y));
}

class PixelGraphicFileTest : public MachineRootTest {};

TEST_F(PixelGraphicFileTest, SaveAndLoadAFileByItsWindowsPath) {
  TPixelGraphic image, again;
  MakePaletteImage(image);
  image.SaveToFile("c:\\Logo.DIB");
  EXPECT_TRUE(std::filesystem::exists(root.DriveC() / "Logo.DIB"));
  int changes = 0;
  again.OnChange = [&](TObject*) { ++changes; };
  again.LoadFromFile("C:\\logo.dib");
  EXPECT_EQ(changes, 1);
  ExpectSameImage(image, again);
  EXPECT_THROW(again.LoadFromFile("C:\\missing.bmp"), EFOpenError);
}

// The "Data" of a form description, reached as the filer reaches it.
struct TStreamedGraphic : TPixelGraphic {
  using TPixelGraphic::ReadData;
  using TPixelGraphic::WriteData;
};

TEST(PixelGraphicStreamTest, WriteDataAndReadDataFrameTheBitmap) {
  TStreamedGraphic image, again;
  MakePaletteImage(image);
  TMemoryStream stream;
  stream.WriteBuffer("head", 4);
  image.WriteData(&stream);
  const std::int64_t end = stream.Position();
  stream.WriteBuffer("tail", 4);
  EXPECT_EQ(end, 4 + 4 + 14 + 40 + 12 + 12);
  stream.SetPosition(4);
  again.ReadData(&stream);
  EXPECT_EQ(stream.Position(), end);
  ExpectSameImage(image, again);
}

TEST(PixelGraphicClipboardTest, ADIBGoesThroughTheClipboardAndBack) {
  TPixelGraphic image, again;
  MakePaletteImage(image);
  WORD format = 0;
  HANDLE data = nullptr;
  HPALETTE palette = reinterpret_cast<HPALETTE>(1);
  image.SaveToClipboardFormat(format, data, palette);
  EXPECT_EQ(format, CF_DIB);
  EXPECT_EQ(palette, nullptr);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  ASSERT_EQ(SetClipboardData(CF_DIB, data), data);
  CloseClipboard();

  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE got = GetClipboardData(CF_DIB);
  again.SetGamma(3);
  again.LoadFromClipboardFormat(CF_DIB, got, nullptr);
  CloseClipboard();
  ExpectSameImage(image, again);
  EXPECT_EQ(again.Gamma(), PGDisplayGamma);
}

TEST(PixelGraphicClipboardTest, OnlyDIBDataIsTaken) {
  TPixelGraphic image;
  HBITMAP bitmap = CreateBitmap(1, 1, 1, 32, nullptr);
  for (std::pair<WORD, HANDLE> wrong :
       {std::pair<WORD, HANDLE>{CF_BITMAP, bitmap}, {CF_DIB, nullptr}, {CF_TEXT, bitmap}}) {
    try {
      image.LoadFromClipboardFormat(wrong.first, wrong.second, nullptr);
      FAIL();
    } catch (const EPGUnknownClipboardFormat& e) {
      EXPECT_EQ(e.Message, "Unknown clipboard format");
    }
  }
  DeleteObject(bitmap);
}

TEST(PixelGraphicClipboardTest, AnEmptyPaletteFitsItsBlock) {
  TPixelGraphic image, again;
  image.SetSize(3, 2, pgbc8);
  image.SetPaletteCount(0);
  WORD format;
  HANDLE data;
  HPALETTE palette;
  image.SaveToClipboardFormat(format, data, palette);
  EXPECT_GE(GlobalSize(data), 40u + 256 * 4 + 8);
  again.LoadFromClipboardFormat(format, data, palette);
  EXPECT_EQ(again.PaletteCount(), 256);
  EXPECT_EQ(again.GetWidth(), 3);
  GlobalFree(data);
}

}  // namespace
