#include <gtest/gtest.h>

#include <string>

#include "vcl/graphics_images.h"
#include "vcl/streams.h"
#include "win32/testing/machine_root.h"

namespace {

void Put16(std::string& b, unsigned v) { b += {char(v), char(v >> 8)}; }
void Put32(std::string& b, unsigned v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// An icon file with one 24-bit entry of Size: red above, blue below, and the bottom-left quarter
// masked out.
std::string IconFile(int size) {
  std::string image;
  Put32(image, 40);
  Put32(image, size);
  Put32(image, 2 * size);
  Put16(image, 1);
  Put16(image, 24);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  const int xorStride = (size * 3 + 3) / 4 * 4, maskStride = (size + 31) / 32 * 4;
  for (int y = 0; y < size; ++y) {  // bottom-up
    std::string row(xorStride, '\0');
    for (int x = 0; x < size; ++x) {
      if (y < size / 2 && x < size / 2) continue;  // masked: black keeps the background
      const bool below = y < size / 2;
      row[3 * x] = below ? '\xFF' : '\0';  // blue
      row[3 * x + 2] = below ? '\0' : '\xFF';  // red
    }
    image += row;
  }
  for (int y = 0; y < size; ++y) {
    std::string row(maskStride, '\0');
    if (y < size / 2)
      for (int x = 0; x < size / 2; ++x) row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
    image += row;
  }
  std::string file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, 1);
  file += {char(size), char(size), '\0', '\0'};
  Put16(file, 1);
  Put16(file, 24);
  Put32(file, static_cast<unsigned>(image.size()));
  Put32(file, 22);
  return file + image;
}

void LoadFrom(TIcon& icon, const std::string& bytes, TMemoryStream& stream) {
  stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  icon.LoadFromStream(&stream);
}

std::string Saved(TIcon& icon) {
  TMemoryStream out;
  icon.SaveToStream(&out);
  return std::string(static_cast<const char*>(out.Memory()), static_cast<std::size_t>(out.Size()));
}

TEST(GraphicsIcon, LoadsAnIconFileAndWritesTheSameBytesBack) {
  const std::string file = IconFile(16);
  TIcon icon;
  int changes = 0;
  icon.OnChange = [&](TObject*) { ++changes; };
  TMemoryStream stream;
  LoadFrom(icon, file + "next property", stream);
  EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(file.size())) << "the icon's data only";
  EXPECT_EQ(changes, 1);
  ASSERT_FALSE(icon.Empty());
  EXPECT_EQ(icon.Width(), 16);
  EXPECT_EQ(icon.Height(), 16);
  EXPECT_EQ(Saved(icon), file);

  TIcon copy;
  copy.Assign(&icon);
  EXPECT_EQ(Saved(copy), file);
  // A handle of its own has no file behind it any more.
  copy.SetHandle(CopyIcon(icon.Handle()));
  EXPECT_THROW(Saved(copy), EInvalidGraphicOperation);
  TIcon empty;
  EXPECT_EQ(Saved(empty), "");
}

TEST(GraphicsIcon, DrawsThroughItsMask) {
  TIcon icon;
  TMemoryStream stream;
  LoadFrom(icon, IconFile(16), stream);
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetWidth(20);
  b.SetHeight(20);
  b.Canvas()->Brush()->SetColor(clLime);
  b.Canvas()->FillRect({0, 0, 20, 20});
  b.Canvas()->Draw(2, 2, &icon);
  EXPECT_EQ(b.Canvas()->Pixels(3, 3), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(17, 17), clBlue);
  EXPECT_EQ(b.Canvas()->Pixels(3, 17), clLime) << "masked out";
  EXPECT_EQ(b.Canvas()->Pixels(19, 19), clLime) << "beyond the icon";
}

TEST(GraphicsIcon, DamagedDataIsAnInvalidGraphic) {
  const std::string file = IconFile(16);
  std::string badKind = file;
  badKind[2] = 7;
  std::string hugeCount = file;
  hugeCount[4] = hugeCount[5] = '\xFF';
  for (const std::string& bytes :
       {file.substr(0, 4), file.substr(0, 30), file.substr(0, file.size() - 1), badKind, hugeCount}) {
    TIcon icon;
    TMemoryStream stream;
    EXPECT_THROW(LoadFrom(icon, bytes, stream), EInvalidGraphic) << bytes.size();
    EXPECT_TRUE(icon.Empty());
  }
}

TEST(GraphicsIcon, PicturesLoadIconFilesByExtension) {
  ScopedMachineRoot root;
  const std::string file = IconFile(32);
  {
    TFileStream out("c:\\logo.ico", fmCreate);
    out.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
  }
  TPicture picture;
  picture.LoadFromFile("C:\\LOGO.ICO");
  ASSERT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 32);
  EXPECT_EQ(TPicture::FileFormatClass("ICO"), TGraphicClass::Of<TIcon>());
  EXPECT_EQ(TPicture::GraphicFilter(TGraphicClass::Of<TIcon>()), "All (*.ico)|*.ico|Icons (*.ico)|*.ico");
}

}  // namespace
