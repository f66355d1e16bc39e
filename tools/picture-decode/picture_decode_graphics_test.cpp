#include "picture_decode_graphics.h"

#include <gtest/gtest.h>

#include <fstream>

#include "graphics/exceptions.h"
#include "graphics/palettes.h"
#include "win32/testing/machine_root.h"

namespace {

class PictureDecodeGraphics : public MachineRootTest {};

TEST_F(PictureDecodeGraphics, PaletteAndTrueColourPicturesBecomePpm) {
  TPixelGraphic palette;
  palette.SetSize(2, 1, pgbc8);
  palette.SetPaletteCount(2);
  palette.SetPaletteEntry(0, RGBToColor(1, 2, 3));
  palette.SetPaletteEntry(1, RGBToColor(4, 5, 6));
  palette.SetPixel(1, 0, 1);
  palette.SaveToFile("C:\\palette.bmp");
  EXPECT_EQ(DecodeToNetpbmWithGraphics((root.DriveC() / "palette.bmp").string()),
            std::string("P6\n2 1\n255\n\x01\x02\x03\x04\x05\x06"));

  TPixelGraphic colour;
  colour.SetSize(1, 2, pgbc24);
  colour.SetPixel(0, 0, static_cast<std::uint32_t>(RGBToColor(7, 8, 9)));
  colour.SaveToFile("C:\\colour.dib");
  std::filesystem::rename(root.DriveC() / "colour.dib", root.DriveC() / "colour.dat");  // found by signature
  EXPECT_EQ(DecodeToNetpbmWithGraphics((root.DriveC() / "colour.dat").string()),
            std::string("P6\n1 2\n255\n\x07\x08\x09\x00\x00\x00", 17));
}

TEST_F(PictureDecodeGraphics, BlackAndWhiteBecomesPgmAndFailuresCarryTheMessage) {
  TPixelGraphic bw;
  bw.SetSize(3, 1, pgbc1);
  bw.SetPaletteIdent(pBlackWhite);
  bw.SetPixel(1, 0, 1);
  bw.SaveToFile("C:\\bw.bmp");
  EXPECT_EQ(DecodeToNetpbmWithGraphics((root.DriveC() / "bw.bmp").string()),
            std::string("P5\n3 1\n255\n\x00\xff\x00", 14));

  std::ofstream(root.DriveC() / "garbage.bmp") << "not a picture";
  EXPECT_THROW(DecodeToNetpbmWithGraphics((root.DriveC() / "garbage.bmp").string()), EPGUnknownFileFormat);
}

}  // namespace
