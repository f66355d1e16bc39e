// The PNG writer: the image's own depth, not interlaced, rows straight from the bottom-up pixel
// store.
#include <vector>

#include "graphics/exceptions.h"
#include "graphics/palettes.h"
#include "graphics/png_format.h"
#include "png_glue.h"
#include "vcl/scope_exit.h"
#include "vcl/typinfo.h"

const TClassInfo& TPNGFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TPNGFileFormatWriter", &TFileFormatWriter::StaticClassInfo());
  return info;
}

TPNGFileFormatWriter::TPNGFileFormatWriter() {
  Extension = "png";
  Description = "Portable Network Graphics";
  CanWriteResolutions = {pgcrBlackWhite, pgcr2Colors,  pgcr16Grays,   pgcrSys16,
                         pgcr16Colors,   pgcr256Grays, pgcr256Colors, pgcrTrueColor};
}

void TPNGFileFormatWriter::Write(TStream* Stream, TPixelGraphic* Graphic) {
  if (PNGLibraryTag().rfind("P090", 0) != 0 || ZLibLibraryTag().rfind("Z104", 0) != 0)
    throw EPGPNGFileFormatReaderWriter(kPNGPrefix + "Invalid library version");
  TPNGRecords png(true, Stream, Graphic->ReadWarningAction());
  const bool trueColor = Graphic->GetBitCount() == pgbc24;
  const int colorType = trueColor                             ? PNG_COLOR_TYPE_RGB
                        : Graphic->PaletteIdent() == pGray256 ? PNG_COLOR_TYPE_GRAY
                                                              : PNG_COLOR_TYPE_PALETTE;
  std::vector<png_color> palette;
  if (colorType == PNG_COLOR_TYPE_PALETTE)
    for (int i = 0; i < Graphic->PaletteCount(); ++i) {
      const TColor c = Graphic->GetPaletteEntry(i);
      palette.push_back(png_color{static_cast<png_byte>(RedOf(c)), static_cast<png_byte>(GreenOf(c)),
                                  static_cast<png_byte>(BlueOf(c))});
    }
  const double gamma = static_cast<double>(1 / Graphic->Gamma());
  png.Run([&] {
    png_structp p = png.Png();
    png_infop i = png.Info();
    png_set_IHDR(p, i, static_cast<png_uint_32>(Graphic->GetWidth()), static_cast<png_uint_32>(Graphic->GetHeight()),
                 trueColor ? 8 : Graphic->GetBitsPerPixel(), colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(p, i, palette.data(), static_cast<int>(palette.size()));
    if (PGPNGWriteGamma) png_set_gAMA(p, i, gamma);
    png_write_info(p, i);
    png_set_bgr(p);
  });

  if (Graphic->OnProgressStart) Graphic->OnProgressStart(this);
  {
    ScopeExit endProgress([&] {
      if (Graphic->OnProgressEnd) Graphic->OnProgressEnd(this);
    });
    const int height = Graphic->GetHeight();
    std::uint8_t* bits = Graphic->GetBits();
    const int stride = Graphic->GetStride();
    for (int n = 0; n < height; ++n) {
      png_bytep row = bits + static_cast<std::ptrdiff_t>(stride) * (height - n - 1);
      png.Run([&] { png_write_rows(png.Png(), &row, 1); });
      bool abort = false;
      if (Graphic->OnProgress) Graphic->OnProgress(this, n, height - 1, abort);
    }
  }
  png.Run([&] { png_write_end(png.Png(), nullptr); });
}
