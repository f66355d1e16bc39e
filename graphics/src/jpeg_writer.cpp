// The JPEG writer: rows straight from the bottom-up pixel store, 24-bit ones in blue, green, red
// order.
#include "graphics/exceptions.h"
#include "graphics/jpeg_format.h"
#include "graphics/messages.h"
#include "jpeg_glue.h"
#include "vcl/scope_exit.h"
#include "vcl/typinfo.h"

const TClassInfo& TJPGFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TJPGFileFormatWriter", &TFileFormatWriter::StaticClassInfo());
  return info;
}
const TClassInfo& TJPEGFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TJPEGFileFormatWriter", &TJPGFileFormatWriter::StaticClassInfo());
  return info;
}
const TClassInfo& TJIFFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TJIFFileFormatWriter", &TJPGFileFormatWriter::StaticClassInfo());
  return info;
}

TJPGFileFormatWriter::TJPGFileFormatWriter() {
  Extension = "jpg";
  Description = "JPEG (JFIF compliant)";
  CanWriteResolutions = {pgcr256Grays, pgcrTrueColor};
}

namespace {

// A compressor over a stream, destroyed whichever way its use ends.
class TJPEGCompressor {
 public:
  TJPEGCompressor(TStream* stream, TPGWarningAction action) {
    info_.err = InstallJPEGErrors(errors_, action);
    info_.client_data = &errors_;
    Run([&] {
      jpeg_create_compress(&info_);
      AttachJPEGDestination(&info_, destination_, stream);
    });
  }
  ~TJPEGCompressor() { jpeg_destroy_compress(&info_); }
  TJPEGCompressor(const TJPEGCompressor&) = delete;
  TJPEGCompressor& operator=(const TJPEGCompressor&) = delete;

  jpeg_compress_struct& Info() { return info_; }
  template <class Body>
  void Run(Body&& body) {
    if (RunBelowJump(errors_, body)) return;
    jpeg_destroy_compress(&info_);
    RaiseJPEGFault(errors_);
  }

 private:
  jpeg_compress_struct info_{};
  TJPEGErrors errors_;
  TJPEGStreamDestination destination_{};
};

}  // namespace

void TJPGFileFormatWriter::Write(TStream* Stream, TPixelGraphic* Graphic) {
  if (JPEGLibraryTag().rfind("J6a", 0) != 0) throw EPGJPGFileFormatReaderWriter(kJPGPrefix + "Invalid library version");
  TJPEGCompressor compressor(Stream, Graphic->ReadWarningAction());
  jpeg_compress_struct& info = compressor.Info();
  const bool gray = Graphic->GetBitCount() == pgbc8 && Graphic->PaletteIdent() == pGray256;
  if (!gray && Graphic->GetBitCount() != pgbc24)
    throw EPGJPGFileFormatReaderWriter(kJPGPrefix + PGLangStrS1(pgsInvalidValue, "BitCount"));
  const int height = Graphic->GetHeight();
  compressor.Run([&] {
    info.image_width = static_cast<JDIMENSION>(Graphic->GetWidth());
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = gray ? 1 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    if (PGJPEGWriteProgressive) jpeg_simple_progression(&info);
    jpeg_set_quality(&info, PGJPEGWriteQuality, TRUE);
    info.dct_method = static_cast<J_DCT_METHOD>(PGJPEGWriteDCTMethod);
    jpeg_start_compress(&info, TRUE);
  });
  if (Graphic->OnProgressStart) Graphic->OnProgressStart(this);
  {
    ScopeExit endProgress([&] {
      if (Graphic->OnProgressEnd) Graphic->OnProgressEnd(this);
    });
    std::uint8_t* bits = Graphic->GetBits();
    const int stride = Graphic->GetStride();
    while (info.next_scanline < info.image_height) {
      JSAMPROW row = bits + static_cast<std::ptrdiff_t>(stride) * (height - static_cast<int>(info.next_scanline) - 1);
      compressor.Run([&] { jpeg_write_scanlines(&info, &row, 1); });
      bool abort = false;
      if (Graphic->OnProgress) Graphic->OnProgress(this, static_cast<int>(info.next_scanline), height, abort);
    }
  }
  compressor.Run([&] { jpeg_finish_compress(&info); });
}
