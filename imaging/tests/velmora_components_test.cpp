#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "bmp_file_builder.h"
#include "vcl/graphics_images.h"
#include "imaging/velmora_io.h"
#include "imaging/velmora_proc.h"
#include "win32/errors.h"
#include "win32/kernel.h"
#include "test_pictures.h"
#include "win32/machine.h"
#include "win32/testing/machine_root.h"

namespace {

class VelmoraComponentsTest : public ::testing::Test {
 protected:
  VelmoraComponentsTest() {
    proc.SetAttachedVelmora(&image);
    io.SetAttachedVelmora(&image);
    image.OnImageChange = [this](TObject*) { ++changes; };
  }
  TBitmap& Bitmap() { return image.Bitmap(); }
  std::filesystem::path Host(const std::string& windowsPath) { return machine::HostPath(windowsPath); }

  ScopedMachineRoot root;
  TVelmoraTarget image{nullptr};
  TVelmoraProc proc{nullptr};
  TVelmoraIO io{nullptr};
  int changes = 0;
};

TEST_F(VelmoraComponentsTest, ResampleSizesFollowTheAspectRule) {
  struct Case {
    int w, h, width, height, filter, wantW, wantH;
  };
  const Case cases[] = {{400, 300, -1, 200, 5, 266, 200},
                        {640, 480, 215, 269, 0, 215, 269},
                        {400, 300, 100, -1, 1, 100, 75},
                        {40, 30, 40, 30, 5, 40, 30}};
  for (const Case& c : cases) {
    Paint(Bitmap(), c.w, c.h, PhotoLike);
    proc.Resample(c.width, c.height, c.filter);
    EXPECT_EQ(Bitmap().Width(), c.wantW);
    EXPECT_EQ(Bitmap().Height(), c.wantH);
  }
}

TEST_F(VelmoraComponentsTest, ResampleRefusesSizesBelowOneAndEmptyPictures) {
  Paint(Bitmap(), 40, 30, PhotoLike);
  for (auto [w, h] : {std::pair{-1, -1}, {0, 10}, {10, 0}, {-1, 0}, {1, -1}}) {
    proc.Resample(w, h, 5);  // 1 x 30 / 40 is 0 rows high
    EXPECT_EQ(Bitmap().Width(), 40);
    EXPECT_EQ(Bitmap().Height(), 30);
  }
  Bitmap().SetWidth(0);
  proc.Resample(-1, 200, 5);
  proc.Resample(20, 20, 5);
  EXPECT_EQ(Bitmap().Width(), 0);
}

TEST_F(VelmoraComponentsTest, OneBitPicturesAreResampledAsTwentyFourBits) {
  Reshape(Bitmap(), pf1bit, 16, 8);
  for (int y = 0; y < 8; ++y) {
    RowOf(Bitmap(), y)[0] = 0xFF;  // left half white
    RowOf(Bitmap(), y)[1] = 0;
  }
  proc.Resample(32, 16, 1);
  ASSERT_EQ(Bitmap().PixelFormat(), pf24bit);
  ASSERT_EQ(Bitmap().Width(), 32);
  EXPECT_EQ(PixelAt(Bitmap(), 2, 5), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(Bitmap(), 29, 5), RGB(0, 0, 0));
}

TEST_F(VelmoraComponentsTest, UndoRestoresClearAndResampleRepeatedly) {
  Paint(Bitmap(), 20, 10, PhotoLike);
  image.SetBackground(RGB(1, 2, 3));
  proc.Clear();
  EXPECT_EQ(PixelAt(Bitmap(), 5, 5), RGB(1, 2, 3));
  for (int i = 0; i < 2; ++i) {
    proc.Undo();
    EXPECT_EQ(PixelAt(Bitmap(), 5, 5), PhotoLike(5, 5));
  }
  proc.Resample(7, 7, 4);
  proc.Undo();
  EXPECT_EQ(Bitmap().Width(), 20);
  EXPECT_GE(changes, 4);

  Paint(Bitmap(), 1, 10, PhotoLike);  // one pixel wide: no undo
  proc.SaveUndo();
  Paint(Bitmap(), 3, 3, PhotoLike);
  proc.Undo();
  EXPECT_EQ(Bitmap().Width(), 3);
}

TEST_F(VelmoraComponentsTest, FreedImageDetachesBothParts) {
  {
    TVelmoraTarget other(nullptr);
    proc.SetAttachedVelmora(&other);
    io.SetAttachedVelmora(&other);
  }
  EXPECT_EQ(proc.AttachedVelmora(), nullptr);
  EXPECT_EQ(io.AttachedVelmora(), nullptr);
  proc.Resample(10, 10, 5);
  io.LoadFromFile("c:\\nothing.bmp");
}

TEST_F(VelmoraComponentsTest, SavedLogoLoadsBackWithItsRecord) {
  Paint(Bitmap(), 320, 400, PhotoLike);
  io.Params().SamplesPerPixel = 1;
  io.Params().DpiX = io.Params().DpiY = 96;
  io.SaveBMPFile("c:\\logo.sys");
  EXPECT_EQ(std::filesystem::file_size(Host("c:\\logo.sys")), 129078u);
  Paint(Bitmap(), 2, 2, PhotoLike);
  EXPECT_THROW(io.LoadFromFile("c:\\missing.bmp"), EInvalidGraphic);
  io.LoadBMPFile("c:\\logo.sys");
  EXPECT_EQ(Bitmap().Width(), 320);
  EXPECT_EQ(io.Params().FileName, "c:\\logo.sys");
  EXPECT_EQ(io.Params().BitsPerSample, 8);
  EXPECT_EQ(image.DpiX(), 96);
}

TEST_F(VelmoraComponentsTest, FailedSaveLeavesTheOldFile) {
  std::ofstream(Host("c:\\logo.sys")) << "old logo";
  auto entries = [&] { return std::distance(std::filesystem::directory_iterator(Host("c:\\")), {}); };
  const auto before = entries();
  Paint(Bitmap(), 4, 4, PhotoLike);
  TProgressEvent failing = [](TObject*, int per) {
    if (per >= 50) throw EWriteError("Stream write error");
  };
  io.OnProgress = failing;
  EXPECT_THROW(io.SaveBMPFile("c:\\logo.sys"), EWriteError);
  std::ifstream in(Host("c:\\logo.sys"));
  std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(content, "old logo");
  EXPECT_EQ(entries(), before);  // no temporary file left behind
}

TEST_F(VelmoraComponentsTest, AReadOnlyFileIsRefusedAsAFileCreateRefusesItAndKept) {
  std::ofstream(Host("c:\\logo.sys")) << "old logo";
  ASSERT_TRUE(SetFileAttributesA("c:\\logo.sys", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  Paint(Bitmap(), 4, 4, PhotoLike);
  try {
    io.SaveBMPFile("c:\\logo.sys");
    ADD_FAILURE() << "a read-only file was replaced";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message, "Cannot create file c:\\logo.sys");
  }
  std::ifstream in(Host("c:\\logo.sys"));
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "old logo");
  EXPECT_EQ(GetFileAttributesA("c:\\logo.sys"), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
}

TEST_F(VelmoraComponentsTest, LoadFromFileChoosesByExtension) {
  BmpFileBuilder file = BmpFileBuilder::Info(1, 1, 24, 0, 0, 0);
  file.Bytes({9, 8, 7, 0});
  std::ofstream(Host("c:\\pic.BMP"), std::ios::binary)
      .write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
  std::filesystem::copy_file(Host("c:\\pic.BMP"), Host("c:\\pic.jpe"));
  std::filesystem::copy_file(Host("c:\\pic.BMP"), Host("c:\\pic.sys"));
  io.LoadFromFile("c:\\pic.jpe");
  io.LoadFromFile("c:\\pic.sys");
  EXPECT_EQ(changes, 0);
  io.LoadFromFile("c:\\pic.BMP");
  EXPECT_EQ(PixelAt(Bitmap(), 0, 0), RGB(7, 8, 9));
  EXPECT_EQ(changes, 1);

  std::ofstream(Host("c:\\bad.bmp")) << "BA not a bitmap";
  try {
    io.LoadFromFile("c:\\bad.bmp");
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message, "unrecognized BMP");
  }
  try {
    io.LoadFromFile("c:\\picture.wmf");
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message, "unrecognized WMF or EMF");
  }
  EXPECT_THROW(io.LoadFromFile("c:\\none.ico"), EInvalidGraphic);
}

// A one-entry icon (kind 1) or cursor (kind 2) file of a size x size 24-bit image of one colour
// whose left half is masked out (transparent).
std::vector<std::uint8_t> IconFileOf(int kind, int size, COLORREF colour) {
  BmpFileBuilder f;
  const int xorStride = (size * 3 + 3) / 4 * 4, andStride = (size + 31) / 32 * 4;
  const auto imageBytes = static_cast<std::uint32_t>(40 + (xorStride + andStride) * size);
  f.U16(0).U16(static_cast<std::uint32_t>(kind)).U16(1);
  f.U8(static_cast<std::uint32_t>(size)).U8(static_cast<std::uint32_t>(size)).U8(0).U8(0);
  f.U16(kind == 2 ? 3 : 1).U16(kind == 2 ? 4 : 24).U32(imageBytes).U32(22);
  f.U32(40).U32(static_cast<std::uint32_t>(size)).U32(static_cast<std::uint32_t>(2 * size)).U16(1).U16(24);
  f.U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const COLORREF c = x < size / 2 ? 0 : colour;  // black under the mask, as icon files have it
      f.U8(GetBValue(c)).U8(GetGValue(c)).U8(GetRValue(c));
    }
    for (int pad = size * 3; pad < xorStride; ++pad) f.U8(0);
  }
  for (int y = 0; y < size; ++y)
    for (int i = 0; i < andStride; ++i) {
      int bits = 0;  // 1: transparent
      for (int b = 0; b < 8; ++b)
        if (i * 8 + b < size / 2) bits |= 0x80 >> b;
      f.U8(static_cast<std::uint32_t>(bits));
    }
  return f.bytes;
}

TEST_F(VelmoraComponentsTest, IconsAndCursorsLoadAtTheirRecordSizeThroughTheMask) {
  auto save = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(Host(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  };
  save("c:\\app.ico", IconFileOf(1, 32, RGB(200, 30, 60)));
  save("c:\\pointer.cur", IconFileOf(2, 32, RGB(10, 220, 40)));
  io.Params().ColorMap = {{1, 2, 3}};
  io.Params().BitsPerSample = 4;
  struct Case {
    const char* file;
    int width, height;
    COLORREF colour;
  };
  io.Params().CurWidth = io.Params().CurHeight = 32;
  for (const Case& c :
       {Case{"c:\\app.ico", 16, 16, RGB(200, 30, 60)}, Case{"c:\\pointer.cur", 32, 32, RGB(10, 220, 40)}}) {
    SCOPED_TRACE(c.file);
    changes = 0;
    image.SetDpi(50, 60);
    io.LoadFromFile(c.file);
    ASSERT_EQ(Bitmap().Width(), c.width);
    ASSERT_EQ(Bitmap().Height(), c.height);
    EXPECT_EQ(Bitmap().PixelFormat(), pf24bit);
    EXPECT_EQ(PixelAt(Bitmap(), c.width - 1, c.height / 2), c.colour);
    EXPECT_EQ(PixelAt(Bitmap(), 0, c.height / 2), RGB(0, 0, 0)) << "under the mask";
    EXPECT_EQ(io.Params().FileName, c.file);
    EXPECT_EQ(io.Params().BitsPerSample, 8);
    EXPECT_EQ(io.Params().SamplesPerPixel, 3);
    EXPECT_EQ(io.Params().Width, c.width);
    EXPECT_EQ(io.Params().ColorMapCount(), 0);
    EXPECT_EQ(image.DpiX(), ScreenDpiX());
    EXPECT_EQ(changes, 1);
  }

  auto damaged = IconFileOf(1, 32, RGB(1, 1, 1));
  damaged[2] = 3;  // neither icon nor cursor
  save("c:\\bad.ico", damaged);
  try {
    io.LoadICOFile("c:\\bad.ico");
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message, "unrecognized ICO");
  }
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  try {
    io.LoadCURFile("c:\\bad.ico");
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message, "unrecognized CUR");
  }
}

// Only two colours go into a 1-bit file; a picture of more is written at 24 bits, and the record's
// palette is then the one it had.
TEST_F(VelmoraComponentsTest, OneBitSaveFallsBackToTwentyFourBitsKeepingTheColorMap) {
  io.Params().BitsPerSample = 1;
  io.Params().ColorMap = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  Paint(Bitmap(), 5, 3, [](int x, int) { return x == 0 ? RGB(255, 0, 0) : x == 1 ? RGB(0, 255, 0) : RGB(0, 0, 255); });
  io.SaveBMPFile("c:\\three.bmp");
  EXPECT_EQ(io.Params().ColorMap, (std::vector<TColorTriple>{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
  Paint(Bitmap(), 5, 3, [](int x, int) { return x < 2 ? RGB(250, 250, 250) : RGB(0, 0, 90); });
  io.SaveBMPFile("c:\\two.bmp");
  EXPECT_EQ(io.Params().ColorMap, (std::vector<TColorTriple>{{90, 0, 0}, {250, 250, 250}})) << "darker first";
  io.LoadBMPFile("c:\\three.bmp");
  EXPECT_EQ(io.Params().BitsPerSample, 8);
  EXPECT_EQ(io.Params().SamplesPerPixel, 3);
  EXPECT_EQ(PixelAt(Bitmap(), 1, 2), RGB(0, 255, 0));
}

TEST_F(VelmoraComponentsTest, ATImageIsTheAlternativeTarget) {
  TImage timage(nullptr);
  int changed = 0;
  timage.Picture()->OnChange = [&](TObject*) { ++changed; };
  proc.SetAttachedTImage(&timage);
  io.SetAttachedTImage(&timage);
  EXPECT_EQ(proc.AttachedVelmora(), nullptr) << "one target at a time";
  io.Params().SamplesPerPixel = 1;
  Paint(*timage.Picture()->Bitmap(), 40, 30, PhotoLike);
  changed = 0;
  proc.Resample(20, 15, 5);
  EXPECT_EQ(timage.Picture()->Bitmap()->Width(), 20);
  EXPECT_GE(changed, 1);
  io.SaveBMPFile("c:\\small.bmp");
  Paint(*timage.Picture()->Bitmap(), 2, 2, PhotoLike);
  io.LoadFromFile("c:\\small.bmp");
  EXPECT_EQ(timage.Picture()->Bitmap()->Height(), 15);
  EXPECT_EQ(changes, 0) << "the image component is no longer attached";

  proc.SetAttachedVelmora(&image);
  EXPECT_EQ(proc.AttachedTImage(), nullptr);
  {
    TImage gone(nullptr);
    io.SetAttachedTImage(&gone);
  }
  EXPECT_EQ(io.AttachedTImage(), nullptr);
  io.LoadFromFile("c:\\small.bmp");  // no working bitmap: nothing
}

TEST_F(VelmoraComponentsTest, PreviewFontsAreCopies) {
  TFont font;
  font.SetName("Arial");
  font.SetSize(14);
  io.SetPreviewFont(&font);
  proc.SetPreviewFont(&font);
  font.SetName("Courier New");
  EXPECT_EQ(io.PreviewFont()->Name(), "Arial");
  EXPECT_EQ(proc.PreviewFont()->Size(), 14);
  EXPECT_NE(io.PreviewFont(), proc.PreviewFont());
}

TEST_F(VelmoraComponentsTest, RecordKeepsBitmapFieldsAcrossLoadsAndCopiesOnAssign) {
  TVelmoraIOParams& p = io.Params();
  EXPECT_EQ(p.BmpHeaderKind, 1);
  EXPECT_EQ(p.IcoWidth, 16);
  EXPECT_EQ(p.GifVersion, "GIF89a");
  EXPECT_EQ(p.Width, 0);
  p.BmpCompression = 1;
  p.ColorMap = {{1, 2, 3}};
  p.GifLzwDecoder = [](TStream*, int, int, bool, std::uint8_t*) {};
  TVelmoraIO other(nullptr);
  other.AssignParams(&io);
  EXPECT_EQ(other.Params().BmpCompression, 1);
  EXPECT_EQ(other.Params().ColorMapCount(), 1);
  EXPECT_TRUE(static_cast<bool>(other.Params().GifLzwDecoder));
  EXPECT_EQ(TripleToColor({1, 2, 3}), RGB(3, 2, 1));
}

}  // namespace
