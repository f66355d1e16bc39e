// The I/O component's GIF, TIFF, JPEG and PCX loads: each runs its reader on the work bitmap and
// the record, then the common after-load updates; failures come out as the load's graphic error.
#include "imaging/gif_reader.h"
#include "imaging/jpeg_reader.h"
#include "imaging/pcx_reader.h"
#include "imaging/tiff_reader.h"
#include "imaging/velmora_io.h"
#include "vcl/graphics_images.h"

namespace {

COLORREF ColorOf(const TColorTriple& c) { return RGB(c.r, c.g, c.b); }

}  // namespace

int TVelmoraIO::LoadGIFFile(const std::string& FileName) {
  TBitmap* bitmap = WorkBitmap();
  if (!bitmap) return 0;
  int count = 0;
  try {
    GIFReadFile(FileName, *bitmap, count, Progress(), params_);
  } catch (const Exception& e) {
    throw EInvalidGraphic(e.Message + " : unrecognized GIF");
  }
  SetBackground(ColorOf(params_.GifTransparent ? params_.GifTranspColor : params_.GifBackground));
  AfterLoad(FileName);
  return count;
}

void TVelmoraIO::LoadTIFFFile(const std::string& FileName) {
  TBitmap* bitmap = WorkBitmap();
  if (!bitmap) return;
  {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    int count = 0;
    try {
      TIFFReadStream(*bitmap, &stream, count, Progress(), params_);
    } catch (const EInvalidGraphic& e) {
      throw EInvalidGraphic(e.Message + " : " + kUnrecognizedTiff);
    }
  }
  AfterLoad(FileName);
}

void TVelmoraIO::LoadJPEGFile(const std::string& FileName) {
  TBitmap* bitmap = WorkBitmap();
  if (!bitmap) return;
  {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    try {
      JPEGReadStream(&stream, *bitmap, params_, Progress());
    } catch (const EInvalidGraphic&) {
      throw EInvalidGraphic("unrecognized JPEG");
    }
  }
  AfterLoad(FileName);
}

void TVelmoraIO::LoadPCXFile(const std::string& FileName) {
  TBitmap* bitmap = WorkBitmap();
  if (!bitmap) return;
  params_.FileName = FileName;
  try {
    PCXReadFile(FileName, *bitmap, params_, Progress());
  } catch (const std::exception&) {
    throw EInvalidGraphic("unrecognized PCX");
  }
  AfterLoad(FileName);
}
