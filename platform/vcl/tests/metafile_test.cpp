// TMetafile: sizes of the three file kinds at the screen's 96 dpi, drawing on a bitmap's canvas,
// refusal of broken files, and the picture registry.
#include <gtest/gtest.h>

#include "vcl/metafile.h"
#include "win32/testing/machine_root.h"
#include "win32/testing/metafile_writer.h"

using namespace metafile_test;

namespace {

// A red rectangle over the whole window of `ext` units.
WmfWriter RedWindow(int extX, int extY) {
  WmfWriter w;
  w.Record(META_SETWINDOWORG, {0, 0});
  w.Record(META_SETWINDOWEXT, {extY, extX});
  auto red = WmfWriter::Dword(RGB(255, 0, 0));
  w.Record(META_CREATEBRUSHINDIRECT, {BS_SOLID, red[0], red[1], 0});
  w.Record(META_SELECTOBJECT, {0});
  w.Record(META_RECTANGLE, {extY, extX, 0, 0});
  return w;
}

void LoadBytes(TMetafile& mf, const std::vector<BYTE>& bytes) {
  TMemoryStream s;
  s.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  s.SetPosition(0);
  mf.LoadFromStream(&s);
}

struct SizeCase {
  const char* name;
  std::vector<BYTE> bytes;
  int width, height;
  bool enhanced;
};

TEST(TMetafile, SizeFollowsTheFileAtScreenResolution) {
  EmfWriter emf;
  const SizeCase cases[] = {
      {"placeable in twips", RedWindow(1440, 720).FinishPlaceable({0, 0, 1440, 720}, 1440), 96, 48, false},
      {"placeable in pixels, moved box", RedWindow(100, 50).FinishPlaceable({10, 20, 110, 70}, 96), 100, 50, false},
      {"placeable in thousandths", RedWindow(1000, 500).FinishPlaceable({0, 0, 1000, 500}, 1000), 96, 48, false},
      {"plain by its window", RedWindow(120, 60).Finish(), 120, 60, false},
      {"enhanced by its frame", emf.Finish({0, 0, 2540, 1270}), 96, 48, true},
  };
  for (const SizeCase& c : cases) {
    TMetafile mf;
    LoadBytes(mf, c.bytes);
    EXPECT_FALSE(mf.Empty()) << c.name;
    EXPECT_EQ(mf.Width(), c.width) << c.name;
    EXPECT_EQ(mf.Height(), c.height) << c.name;
    EXPECT_EQ(mf.Enhanced(), c.enhanced) << c.name;
  }
}

TEST(TMetafile, DrawsAtItsOwnSizeOrStretched) {
  TMetafile mf;
  LoadBytes(mf, RedWindow(1000, 500).FinishPlaceable({0, 0, 1000, 500}, 1000));
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetWidth(200);
  b.SetHeight(100);
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect({0, 0, 200, 100});
  b.Canvas()->Draw(0, 0, &mf);
  EXPECT_EQ(b.Canvas()->Pixels(50, 24), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(100, 24), clWhite);
  EXPECT_EQ(b.Canvas()->Pixels(50, 60), clWhite);
  b.Canvas()->StretchDraw({0, 0, 200, 100}, &mf);
  EXPECT_EQ(b.Canvas()->Pixels(150, 80), clRed);
}

TEST(TMetafile, BrokenFilesAreRefused) {
  auto badChecksum = RedWindow(10, 10).FinishPlaceable({0, 0, 10, 10}, 96);
  badChecksum[20] ^= 1;
  WmfWriter badIndex = RedWindow(10, 10);
  badIndex.Record(META_SELECTOBJECT, {200});
  auto truncated = RedWindow(10, 10).FinishPlaceable({0, 0, 10, 10}, 96);
  truncated.resize(truncated.size() - 10);
  EmfWriter emf;
  emf.Record(EMR_POLYGON16, {0, 0, 0, 0, 0x10000000});
  const std::pair<const char*, std::vector<BYTE>> cases[] = {
      {"not a metafile", {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}},
      {"placeable with a wrong checksum", badChecksum},
      {"placeable with an empty box", RedWindow(10, 10).FinishPlaceable({0, 0, 0, 10}, 96)},
      {"placeable with zero units per inch", RedWindow(10, 10).FinishPlaceable({0, 0, 10, 10}, 0)},
      {"object index out of range", badIndex.FinishPlaceable({0, 0, 10, 10}, 96)},
      {"last record cut short", truncated},
      {"enhanced with a huge count", emf.Finish({0, 0, 2540, 2540})},
  };
  for (const auto& [name, bytes] : cases) {
    TMetafile mf;
    try {
      LoadBytes(mf, bytes);
      ADD_FAILURE() << name << " loaded";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.Message, "Metafile is not valid") << name;
    }
    EXPECT_TRUE(mf.Empty()) << name;
  }
}

TEST(TMetafile, AFrameSpanningMoreThanAnIntIsMeasuredWithoutOverflow) {
  TMetafile mf;
  LoadBytes(mf, EmfWriter().Finish({INT32_MIN, 0, 2540, 2540}));
  EXPECT_EQ(mf.Width(), 81164832);  // (2540 + 2^31) hundredths of a millimetre at 96 dpi
  EXPECT_EQ(mf.Height(), 96);
}

TEST(TMetafile, SavesWhatItReadAndCopies) {
  auto bytes = RedWindow(1000, 500).FinishPlaceable({0, 0, 1000, 500}, 1000);
  TMetafile mf;
  LoadBytes(mf, bytes);
  TMemoryStream out;
  mf.SaveToStream(&out);
  ASSERT_EQ(out.Size(), static_cast<std::int64_t>(bytes.size()));
  std::vector<BYTE> written(bytes.size());
  out.SetPosition(0);
  out.ReadBuffer(written.data(), out.Size());
  EXPECT_EQ(written, bytes);
  TMetafile copy;
  copy.Assign(&mf);
  EXPECT_EQ(copy.Width(), 96);
  EXPECT_NE(copy.Handle(), mf.Handle());
}

TEST(TMetafile, PicturesLoadBothExtensions) {
  ScopedMachineRoot root;
  EXPECT_EQ(TPicture::FileFormatClass("wmf"), TGraphicClass::Of<TMetafile>());
  EXPECT_EQ(TPicture::FileFormatClass("EMF"), TGraphicClass::Of<TMetafile>());
  TMetafile mf;
  LoadBytes(mf, RedWindow(1000, 500).FinishPlaceable({0, 0, 1000, 500}, 1000));
  mf.SaveToFile("c:\\clip.wmf");
  TPicture picture;
  picture.LoadFromFile("c:\\clip.wmf");
  auto* loaded = dynamic_cast<TMetafile*>(picture.Graphic());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Width(), 96);
}

}  // namespace
