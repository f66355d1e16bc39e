// The JPEG reader: header, then rows straight into the bottom-up pixel store in blue, green, red
// order.
#include "graphics/exceptions.h"
#include "graphics/jpeg_format.h"
#include "graphics/messages.h"
#include "jpeg_glue.h"
#include "picture_budget.h"
#include "vcl/scope_exit.h"
#include "vcl/typinfo.h"

int PGJPEGReadDCTMethod = JDCT_ISLOW;
int PGJPEGWriteDCTMethod = JDCT_FLOAT;
int PGJPEGWriteQuality = 80;
bool PGJPEGWriteProgressive = false;

std::string JPEGLibraryTag() { return "J6a"; }

const TClassInfo& TJPGFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TJPGFileFormatReader", &TFileFormatReader::StaticClassInfo());
  return info;
}
const TClassInfo& TJPEGFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TJPEGFileFormatReader", &TJPGFileFormatReader::StaticClassInfo());
  return info;
}
const TClassInfo& TJIFFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TJIFFileFormatReader", &TJPGFileFormatReader::StaticClassInfo());
  return info;
}

TJPGFileFormatReader::TJPGFileFormatReader() {
  Extension = "jpg";
  Description = "JPEG (JFIF compliant)";
  HasSignature = true;
}

bool TJPGFileFormatReader::CheckHeader(const std::uint8_t* Header) { return Header[0] == 0xFF && Header[1] == 0xD8; }

namespace {

[[noreturn]] void Refuse(const std::string& text) { throw EPGJPGFileFormatReaderWriter(kJPGPrefix + text); }

void SetDecompressionParameters(jpeg_decompress_struct& info, J_DCT_METHOD method) {
  info.scale_num = 1;
  info.scale_denom = 1;
  info.dct_method = method;
  info.quantize_colors = FALSE;
  info.two_pass_quantize = FALSE;
  info.dither_mode = JDITHER_NONE;
  // The pixel store's byte order.
  if (info.out_color_space == JCS_RGB) info.out_color_space = JCS_EXT_BGR;
}

// OnProgressEnd for a started bracket, once.
class TProgressBracket {
 public:
  TProgressBracket(TPixelGraphic* graphic, TObject* sender) : graphic_(graphic), sender_(sender) {}
  void Start() {
    started_ = true;
    if (graphic_->OnProgressStart) graphic_->OnProgressStart(sender_);
  }
  void End() {
    if (!started_) return;
    started_ = false;
    if (graphic_->OnProgressEnd) graphic_->OnProgressEnd(sender_);
  }

 private:
  TPixelGraphic* graphic_;
  TObject* sender_;
  bool started_ = false;
};

}  // namespace

void TJPGFileFormatReader::Read(TStream* Stream, TPixelGraphic* Graphic, int Index) {
  if (Index != 0) Refuse(PGLangStrS1(pgsInvalid, "Index"));
  if (JPEGLibraryTag().rfind("J6a", 0) != 0) Refuse("Invalid library version");
  Graphic->SetGamma(PGDisplayGamma);
  TJPEGDecompressor decompressor(Stream, Graphic->ReadWarningAction());
  jpeg_decompress_struct& info = decompressor.Info();
  const J_DCT_METHOD method = static_cast<J_DCT_METHOD>(Graphic->JPEGFastDCT() ? JDCT_IFAST : PGJPEGReadDCTMethod);
  decompressor.Run([&] {
    jpeg_read_header(&info, TRUE);
    SetDecompressionParameters(info, method);
    jpeg_calc_output_dimensions(&info);
  });
  if (info.output_components != 1 && info.output_components != 3) Refuse(PGLangStr(pgsNotSupportedSubformat));
  // A file that ends early only warns, and the library makes up the rest of the picture; the
  // whole file must still be able to stand for the picture it declares.
  const TPGBitCount format = info.output_components == 1 ? pgbc8 : pgbc24;
  if (!DataCanFill(PictureBytes(info.image_width, info.image_height, format), Stream->Size(), kCompressedExpansion))
    Refuse(PGLangStr(pgsUnexpectedEndOfFile));
  // Sized before the library allocates for the whole picture, so the image's limit decides.
  if (info.output_components == 1) Graphic->SetPaletteIdent(pGray256);
  Graphic->SetSize(static_cast<int>(info.output_width), static_cast<int>(info.output_height), format);
  decompressor.Run([&] { jpeg_start_decompress(&info); });

  TProgressBracket progress(Graphic, this);
  progress.Start();
  {
    ScopeExit endProgress([&] { progress.End(); });
    const int height = static_cast<int>(info.output_height);
    std::uint8_t* bits = Graphic->GetBits();
    const int stride = Graphic->GetStride();
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = bits + static_cast<std::ptrdiff_t>(stride) * (height - static_cast<int>(info.output_scanline) - 1);
      decompressor.Run([&] { jpeg_read_scanlines(&info, &row, 1); });
      bool abort = false;
      if (Graphic->OnProgress) Graphic->OnProgress(this, static_cast<int>(info.output_scanline), height, abort);
      if (abort) break;
    }
  }
  decompressor.Run([&] { jpeg_finish_decompress(&info); });
}

namespace {

std::string ColorSpaceText(J_COLOR_SPACE space) {
  switch (space) {
    case JCS_UNKNOWN: return "unknown";
    case JCS_GRAYSCALE: return "GrayScale";
    case JCS_RGB: return "RGB";
    case JCS_YCbCr: return "YCbCr";
    case JCS_CMYK: return "CMYK";
    case JCS_YCCK: return "YCbCrK";
    default: return "";
  }
}

std::string ComponentColorsText(int components) {
  switch (components) {
    case 1: return "256";
    case 2: return "64K";
    case 3: return "16.7M";
    case 4: return "4294.9M";
    default: return "?";
  }
}

}  // namespace

void TJPGFileFormatReader::GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) {
  TFileFormatReader::GetInfo(Stream, Index, Info);
  if (Index != 0) Refuse(PGLangStrS1(pgsInvalidValue, "Index"));
  TJPEGDecompressor decompressor(Stream, pgwaRaise);
  jpeg_decompress_struct& info = decompressor.Info();
  decompressor.Run([&] {
    jpeg_read_header(&info, TRUE);
    SetDecompressionParameters(info, JDCT_IFAST);
  });
  Info.Width = static_cast<int>(info.image_width);
  Info.Height = static_cast<int>(info.image_height);
  std::string sub = ColorSpaceText(info.jpeg_color_space);
  if (info.progressive_mode) sub += ", Progressive";
  if (info.saw_Adobe_marker) sub = "Adope, " + sub;
  if (info.saw_JFIF_marker) sub = "JFIF, " + sub;
  Info.SubFormatText = sub;
  Info.ColorsText = ComponentColorsText(info.num_components);
  Info.BitsPerPixel = info.num_components * 8;
}
