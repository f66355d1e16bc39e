// GIF, TIFF, JPEG and PCX files loaded through the I/O component: chosen by extension, the
// record's decoders used, the background taken from the GIF, and each load's error texts.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "gif_file_writer.h"
#include "imaging/gif_lzw.h"
#include "imaging/tiff_lzw.h"
#include "imaging/velmora_io.h"
#include "jpeg_file_writer.h"
#include "pcx_file_builder.h"
#include "test_pictures.h"
#include "tiff_file_writer.h"
#include "tiff_lzw_encoder.h"
#include "vcl/graphics_images.h"
#include "win32/machine.h"
#include "win32/testing/machine_root.h"

namespace {

class VelmoraIOLoadersTest : public ::testing::Test {
 protected:
  VelmoraIOLoadersTest() {
    io.SetAttachedVelmora(&image);
    image.OnImageChange = [this](TObject*) { ++changes; };
    io.Params().GifLzwDecoder = GifLzwDecode;
    io.Params().TiffLzwDecoder = TiffLzwDecode;
  }
  void Write(const std::string& windowsPath, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(machine::HostPath(windowsPath), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  // The message of the load's exception, which must be the graphic error.
  std::string GraphicError(const std::string& windowsPath) {
    try {
      io.LoadFromFile(windowsPath);
    } catch (const EInvalidGraphic& e) {
      return e.Message;
    }
    return "no graphic error";
  }

  ScopedMachineRoot root;
  TVelmoraTarget image{nullptr};
  TVelmoraIO io{nullptr};
  int changes = 0;
};

const GifColors kFour{10, 20, 30, 200, 0, 0, 0, 200, 0, 0, 0, 200};

std::vector<std::uint8_t> FourColourGif(bool transparent) {
  GifFileBuilder b;
  b.Screen(3, 2, &kFour, 1, 2);
  if (transparent) b.GraphicControl(1, 0, 3);
  return b.Image(0, 0, 3, 2, GifLzwEncode({0, 1, 2, 3, 2, 1}, {.minimumCodeSize = 2})).Trailer().bytes;
}

// 3 x 1 RGB, LZW-coded: red, green, blue.
std::vector<std::uint8_t> LzwTiff() {
  TiffDirectory d;
  d.Set(256, 3, {3}).Set(257, 3, {1}).Set(258, 3, {8, 8, 8}).Set(259, 3, {5}).Set(262, 3, {2}).Set(277, 3, {3});
  d.strips = {TiffLzwEncode({255, 0, 0, 0, 255, 0, 0, 0, 255})};
  return WriteTiff({d}, true);
}

TEST_F(VelmoraIOLoadersTest, EachFormatLoadsByItsExtension) {
  Write("c:\\pic.gif", FourColourGif(false));
  EXPECT_EQ(io.LoadGIFFile("c:\\pic.gif"), 1);
  io.LoadFromFile("c:\\pic.gif");
  EXPECT_EQ(PixelAt(image.Bitmap(), 1, 0), RGB(200, 0, 0));
  EXPECT_EQ(io.Background(), RGB(0, 200, 0)) << "the background index 2";
  Write("c:\\clear.gif", FourColourGif(true));
  io.LoadFromFile("c:\\clear.gif");
  EXPECT_EQ(io.Background(), RGB(0, 0, 200)) << "the transparent index 3";

  Write("c:\\pic.TIFF", LzwTiff());
  io.LoadFromFile("c:\\pic.TIFF");
  EXPECT_EQ(PixelAt(image.Bitmap(), 2, 0), RGB(0, 0, 255));
  EXPECT_EQ(io.Params().TiffCompression, 5);

  Write("c:\\pic.JPG", WriteJpeg({.densityUnit = 1, .xDensity = 200, .yDensity = 100}));
  io.LoadFromFile("c:\\pic.JPG");
  EXPECT_EQ(image.Bitmap().Width(), 24);
  EXPECT_GT(GetRValue(PixelAt(image.Bitmap(), 0, 0)), 200) << "left half red";
  EXPECT_EQ(image.DpiX(), 200);
  EXPECT_EQ(image.DpiY(), 100);
  Write("c:\\pic.jpeg", WriteJpeg({.width = 8, .height = 8}));
  io.LoadFromFile("c:\\pic.jpeg");
  EXPECT_EQ(image.Bitmap().Width(), 8);

  PcxFile pcx(8, 3, 2, 1, 2);
  Write("c:\\pic.pcx", pcx.Data({0xC2, 250, 0xC2, 10, 1, 2}).bytes);
  io.LoadFromFile("c:\\pic.pcx");
  EXPECT_EQ(PixelAt(image.Bitmap(), 1, 0), RGB(250, 10, 2));
  EXPECT_EQ(io.Params().FileName, "c:\\pic.pcx");
  EXPECT_EQ(changes, 7);
}

TEST_F(VelmoraIOLoadersTest, FailuresBecomeEachLoadsGraphicError) {
  const std::vector<std::uint8_t> junk{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e', 0, 0, 0};
  for (const char* name : {"c:\\bad.gif", "c:\\bad.tif", "c:\\bad.jpg", "c:\\bad.pcx"}) Write(name, junk);
  EXPECT_EQ(GraphicError("c:\\bad.gif"), "unrecognized GIF : unrecognized GIF");
  EXPECT_EQ(GraphicError("c:\\bad.tif"), "unrecognized TIFF : unrecognized TIFF");
  Write("c:\\tiled.tif", TiledRgbTiff(40, 20, 16));
  EXPECT_EQ(GraphicError("c:\\tiled.tif"), "unrecognized TIFF : unrecognized TIFF");
  EXPECT_EQ(GraphicError("c:\\bad.jpg"), "unrecognized JPEG");
  EXPECT_EQ(GraphicError("c:\\bad.pcx"), "unrecognized PCX");

  // Missing files: GIF and PCX wrap the stream's error, TIFF and JPEG pass it on.
  const std::string missingGif = GraphicError("c:\\none.gif");
  EXPECT_TRUE(missingGif.ends_with(" : unrecognized GIF")) << missingGif;
  EXPECT_EQ(GraphicError("c:\\none.pcx"), "unrecognized PCX");
  EXPECT_THROW(io.LoadFromFile("c:\\none.tif"), EFOpenError);
  EXPECT_THROW(io.LoadFromFile("c:\\none.jpeg"), EFOpenError);

  // The LZW decoders come from the record.
  Write("c:\\pic.gif", FourColourGif(false));
  Write("c:\\pic.tif", LzwTiff());
  io.Params().GifLzwDecoder = nullptr;
  io.Params().TiffLzwDecoder = nullptr;
  EXPECT_EQ(GraphicError("c:\\pic.gif"), "LZW decompressor not found : unrecognized GIF");
  EXPECT_EQ(GraphicError("c:\\pic.tif"), "LZW Decompressor not found : unrecognized TIFF");
  EXPECT_EQ(changes, 0);
}

}  // namespace
