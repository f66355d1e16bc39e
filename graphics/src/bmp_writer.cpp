// The bitmap writer: a 14-byte file header, then the packed DIB of the image as it is stored.
#include "graphics/bmp_format.h"
#include "vcl/typinfo.h"
#include "win32/little_endian.h"

const TClassInfo& TBMPFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TBMPFileFormatWriter", &TFileFormatWriter::StaticClassInfo());
  return info;
}
const TClassInfo& TDIBFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TDIBFileFormatWriter", &TBMPFileFormatWriter::StaticClassInfo());
  return info;
}

TBMPFileFormatWriter::TBMPFileFormatWriter() {
  Extension = "bmp";
  Description = "Bitmap";
  CanWriteResolutions = {pgcrBlackWhite, pgcr2Colors,  pgcr16Grays,   pgcrSys16,
                         pgcr16Colors,   pgcr256Grays, pgcr256Colors, pgcrTrueColor};
}

void TBMPFileFormatWriter::Write(TStream* Stream, TPixelGraphic* Graphic) {
  const std::uint32_t offBits = 54 + 4 * static_cast<std::uint32_t>(Graphic->DIBColorTableEntries());
  std::string header = "BM";
  AppendLE32(header, offBits + static_cast<std::uint32_t>(Graphic->ImageSize()));
  AppendLE32(header, 0);
  AppendLE32(header, offBits);
  Stream->WriteBuffer(header.data(), static_cast<std::int64_t>(header.size()));
  Graphic->WriteDIB(Stream);
}

int TPixelGraphic::DIBColorTableEntries() const {
  if (format_ == pgbc24) return 0;
  // An empty table would be read as one of the capacity's entries: write those, black.
  return paletteCount_ > 0 ? paletteCount_ : GetPaletteCapacity();
}

void TPixelGraphic::WriteDIB(TStream* Stream) {
  FlushGdi();
  const int entries = DIBColorTableEntries();
  std::string out;
  out.reserve(40 + 4 * static_cast<std::size_t>(entries));
  AppendLE32(out, 40);
  AppendLE32(out, static_cast<std::uint32_t>(width_));
  AppendLE32(out, static_cast<std::uint32_t>(height_));
  AppendLE16(out, 1);
  AppendLE16(out, static_cast<std::uint32_t>(GetBitsPerPixel()));
  AppendLE32(out, BI_RGB);
  AppendLE32(out, static_cast<std::uint32_t>(imageSize_));
  AppendLE32(out, 0);
  AppendLE32(out, 0);
  AppendLE32(out, static_cast<std::uint32_t>(entries));
  AppendLE32(out, 0);
  for (int i = 0; i < entries; ++i) {
    auto c = static_cast<std::uint32_t>(i < paletteCount_ ? palette_[static_cast<std::size_t>(i)] : 0);
    out += static_cast<char>((c >> 16) & 0xFF);
    out += static_cast<char>((c >> 8) & 0xFF);
    out += static_cast<char>(c & 0xFF);
    out += '\0';
  }
  Stream->WriteBuffer(out.data(), static_cast<std::int64_t>(out.size()));
  if (imageSize_ > 0 && bits_) Stream->WriteBuffer(bits_, imageSize_);
}
