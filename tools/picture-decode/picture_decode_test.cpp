#include "picture_decode.h"

#include <gtest/gtest.h>

#include <fstream>

#include "imaging/velmora_io.h"
#include "win32/testing/machine_root.h"

namespace {

class PictureDecode : public MachineRootTest {
 protected:
  // A bitmap file written by the imaging library's own writer; returns its host path.
  std::string SaveBitmap(int bits, int width, int height, void (*paint)(TBitmap&)) {
    TVelmoraTarget image(nullptr);
    TVelmoraIO io(nullptr);
    io.SetAttachedVelmora(&image);
    image.Bitmap().SetPixelFormat(bits == 1 ? pf1bit : pf24bit);
    image.Bitmap().SetWidth(width);
    image.Bitmap().SetHeight(height);
    paint(image.Bitmap());
    io.Params().BitsPerSample = bits == 1 ? 1 : 8;
    io.Params().SamplesPerPixel = bits == 1 ? 1 : 3;
    io.SaveBMPFile("C:\\picture.bmp");
    return (root.DriveC() / "picture.bmp").string();
  }
};

TEST_F(PictureDecode, TrueColourBecomesPpmInRgbOrderTopRowFirst) {
  const auto path = SaveBitmap(24, 2, 2, [](TBitmap& b) {
    const std::uint8_t top[] = {1, 2, 3, 4, 5, 6}, bottom[] = {7, 8, 9, 10, 11, 12};  // BGR
    std::copy(std::begin(top), std::end(top), static_cast<std::uint8_t*>(b.ScanLine(0)));
    std::copy(std::begin(bottom), std::end(bottom), static_cast<std::uint8_t*>(b.ScanLine(1)));
  });
  EXPECT_EQ(DecodeToNetpbmWithImaging(path), std::string("P6\n2 2\n255\n") +
                                                 "\x03\x02\x01\x06\x05\x04"
                                                 "\x09\x08\x07\x0c\x0b\x0a");
}

TEST_F(PictureDecode, BlackAndWhiteBecomesPgm) {
  const auto path =
      SaveBitmap(1, 3, 1, [](TBitmap& b) { *static_cast<std::uint8_t*>(b.ScanLine(0)) = 0xA0; });  // 1 0 1
  EXPECT_EQ(DecodeToNetpbmWithImaging(path), std::string("P5\n3 1\n255\n") + std::string("\xff\x00\xff", 3));
}

TEST_F(PictureDecode, FailuresCarryTheReadersMessage) {
  const auto garbage = (root.DriveC() / "garbage.bmp").string();
  std::ofstream(garbage, std::ios::binary) << "not a bitmap at all";
  try {
    DecodeToNetpbmWithImaging(garbage);
    FAIL() << "garbage decoded";
  } catch (const Exception& e) {
    EXPECT_FALSE(e.Message.empty());
  }
  const auto unknown = (root.DriveC() / "picture.xyz").string();
  std::ofstream(unknown) << "x";
  EXPECT_THROW(DecodeToNetpbmWithImaging(unknown), Exception);
}

}  // namespace
