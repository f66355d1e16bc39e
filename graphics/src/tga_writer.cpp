// The Targa writer: an 18-byte header, the palette as blue, green, red for 8-bit images, then the
// stored rows as they are, bottom row first.
#include "codec_progress.h"
#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "graphics/palettes.h"
#include "graphics/tga_format.h"
#include "vcl/typinfo.h"
#include "win32/little_endian.h"

const TClassInfo& TTGAFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TTGAFileFormatWriter", &TFileFormatWriter::StaticClassInfo());
  return info;
}

TTGAFileFormatWriter::TTGAFileFormatWriter() {
  Extension = "tga";
  Description = "Truevision Targa";
  CanWriteResolutions = {pgcr256Colors, pgcrTrueColor};
}

void TTGAFileFormatWriter::Write(TStream* Stream, TPixelGraphic* Graphic) {
  const int depth = Graphic->GetBitsPerPixel();
  // Rows of other depths are not whole bytes per pixel.
  if (depth != 8 && depth != 24) throw EPixelGraphic("TGA: " + PGLangStr(pgsInvalidColorResolution));
  const int width = Graphic->GetWidth();
  const int height = Graphic->GetHeight();
  const int entries = depth == 8 ? Graphic->PaletteCount() : 0;
  std::string header(18, '\0');
  header[2] = depth == 24 ? tgaTrueColor : tgaColorMapped;
  if (depth == 8) {
    header[1] = 1;
    header[5] = static_cast<char>(entries & 0xFF);
    header[6] = static_cast<char>(entries >> 8);
    header[7] = 24;
  }
  header[12] = static_cast<char>(width & 0xFF), header[13] = static_cast<char>(width >> 8);
  header[14] = static_cast<char>(height & 0xFF), header[15] = static_cast<char>(height >> 8);
  header[16] = static_cast<char>(depth);
  for (int i = 0; i < entries; ++i) {
    const TColor c = Graphic->GetPaletteEntry(i);
    header += static_cast<char>(BlueOf(c)), header += static_cast<char>(GreenOf(c)),
        header += static_cast<char>(RedOf(c));
  }
  Stream->WriteBuffer(header.data(), static_cast<std::int64_t>(header.size()));
  if (height == 0) return;
  const std::int64_t rowBytes = std::int64_t{width} * (depth / 8);
  TCodecProgress progress(Graphic, Graphic);
  for (int c = 0; c < height; ++c) {
    Stream->WriteBuffer(Graphic->ScanLine(height - 1 - c), rowBytes);
    // Nothing to undo in a half-written file, so an abort is not acted on.
    progress.Aborted(c, height);
  }
  progress.Finish();
}
