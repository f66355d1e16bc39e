// The bitmap reader: recognises "BM", checks the header size and hands the DIB to ReadDIB.
#include "bmp_header.h"
#include "graphics/bmp_format.h"
#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "vcl/typinfo.h"
#include "win32/little_endian.h"

const TClassInfo& TBMPFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TBMPFileFormatReader", &TFileFormatReader::StaticClassInfo());
  return info;
}
const TClassInfo& TDIBFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TDIBFileFormatReader", &TBMPFileFormatReader::StaticClassInfo());
  return info;
}
const TClassInfo& TRLEFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TRLEFileFormatReader", &TBMPFileFormatReader::StaticClassInfo());
  return info;
}

TBMPFileFormatReader::TBMPFileFormatReader() {
  Extension = "bmp";
  Description = "Bitmap";
  HasSignature = true;
}

bool TBMPFileFormatReader::CheckHeader(const std::uint8_t* Header) { return Header[0] == 'B' && Header[1] == 'M'; }

namespace {

// Reads the file header and peeks at the DIB header's size: true for a core header. PixelsAt
// gets the stream position the file header gives the pixels, -1 for none.
bool ReadHeaderKind(TStream* stream, std::int64_t& PixelsAt) {
  const std::int64_t start = stream->Position();
  std::uint8_t bytes[18] = {};
  stream->Read(bytes, sizeof bytes);
  stream->Seek(-4, soFromCurrent);
  const std::uint32_t offset = ReadLE32(bytes + 10);
  PixelsAt = offset == 0 ? -1 : start + offset;
  const std::uint32_t size = ReadLE32(bytes + 14);
  if (size == bmp::kCoreHeaderSize) return true;
  if (size == bmp::kInfoHeaderSize || size == bmp::kOs2HeaderSize || size == bmp::kV4HeaderSize ||
      size == bmp::kV5HeaderSize)
    return false;
  throw EPGBMPFileFormatReader(kBMPPrefix + PGLangStrS1(pgsInvalidSizeOf, "BitmapInfoHeader/BitmapCoreHeader"));
}

}  // namespace

void TBMPFileFormatReader::Read(TStream* Stream, TPixelGraphic* Graphic, int Index) {
  if (Index != 0) throw EPGBMPFileFormatReader(kBMPPrefix + PGLangStrS1(pgsInvalid, "Index"));
  std::int64_t pixelsAt = -1;
  const bool core = ReadHeaderKind(Stream, pixelsAt);
  Graphic->ReadDIB(Stream, core, pixelsAt);
}

void TBMPFileFormatReader::GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) {
  if (Index != 0) throw EPGBMPFileFormatReader(kBMPPrefix + PGLangStrS1(pgsInvalidValue, "Index"));
  Info = TPGImageInfo{};
  Info.ImageCount = 1;
  std::int64_t pixelsAt = -1;
  const bool core = ReadHeaderKind(Stream, pixelsAt);
  const TBMPHeader header = core ? ReadCoreHeader(Stream) : ReadInfoHeader(Stream);
  if (core || header.Size == bmp::kOs2HeaderSize) {
    Info.SubFormatText = "OS/2";
  } else {
    Info.SubFormatText = "Windows";
    if (header.Compression == BI_RGB) Info.SubFormatText += ", RGB";
    if (header.Compression == BI_RLE8) Info.SubFormatText += ", RLE8";
    if (header.Compression == BI_RLE4) Info.SubFormatText += ", RLE4";
    if (header.Height < 0) Info.SubFormatText += ", Top-Down";
  }
  Info.Width = header.Width;
  Info.Height = header.Height;
  Info.BitsPerPixel = header.BitCount;
  switch (header.BitCount) {
    case 1: Info.ColorsText = "2"; break;
    case 4: Info.ColorsText = "16"; break;
    case 8: Info.ColorsText = "256"; break;
    case 16: Info.ColorsText = "64K"; break;
    default: Info.ColorsText = "16.7M"; break;
  }
}
