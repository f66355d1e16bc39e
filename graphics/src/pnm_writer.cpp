// The portable bitmap writer: the kind its extension names, ASCII unless the binary setting is on.
// The whole header stays in the buffer until the checks have passed.
#include <cstring>

#include "codec_progress.h"
#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "graphics/pnm_format.h"
#include "vcl/typinfo.h"

bool PGPxMWriteBinary = false;

const TClassInfo& TPXMFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TPXMFileFormatWriter", &TFileFormatWriter::StaticClassInfo());
  return info;
}
const TClassInfo& TPBMFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TPBMFileFormatWriter", &TPXMFileFormatWriter::StaticClassInfo());
  return info;
}
const TClassInfo& TPGMFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TPGMFileFormatWriter", &TPXMFileFormatWriter::StaticClassInfo());
  return info;
}
const TClassInfo& TPPMFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TPPMFileFormatWriter", &TPXMFileFormatWriter::StaticClassInfo());
  return info;
}

TPBMFileFormatWriter::TPBMFileFormatWriter() {
  Extension = "pbm";
  Description = "Portable Bitmap";
  CanWriteResolutions = {pgcrBlackWhite};
}
TPGMFileFormatWriter::TPGMFileFormatWriter() {
  Extension = "pgm";
  Description = "Portable Graymap";
  CanWriteResolutions = {pgcr256Grays};
}
TPPMFileFormatWriter::TPPMFileFormatWriter() {
  Extension = "ppm";
  Description = "Portable Pixelmap";
  CanWriteResolutions = {pgcrTrueColor};
}

namespace {

class TPxMOutput {
 public:
  explicit TPxMOutput(TStream* Stream) : stream_(Stream) {}
  void Byte(std::uint8_t b) {
    if (fill_ == sizeof buffer_) Flush();
    buffer_[fill_++] = b;
  }
  void Text(const std::string& s) {
    for (char c : s) Byte(static_cast<std::uint8_t>(c));
  }
  void Number(int v) { Text(std::to_string(v)); }
  void Flush() {
    if (fill_ > 0) stream_->WriteBuffer(buffer_, fill_);
    fill_ = 0;
  }

 private:
  TStream* stream_;
  std::uint8_t buffer_[1024] = {};
  int fill_ = 0;
};

}  // namespace

void TPXMFileFormatWriter::Write(TStream* Stream, TPixelGraphic* Graphic) {
  const std::string prefix = "PBM, PGM, PPM: ";
  int digit = 0;
  int bitsPerPixel = 0;
  std::string kindPrefix;
  if (Extension == "pbm") digit = 1, bitsPerPixel = 1, kindPrefix = "PBM: ";
  if (Extension == "pgm") digit = 2, bitsPerPixel = 8, kindPrefix = "PGM: ";
  if (Extension == "ppm") digit = 3, bitsPerPixel = 24, kindPrefix = "PPM: ";
  if (digit == 0) throw EPGPxMFileFormatWriter(prefix + PGLangStrS1(pgsUnknownExtension, Extension));
  const int width = Graphic->GetWidth();
  const int height = Graphic->GetHeight();
  if (width < 1 || height < 1) throw EPGPxMFileFormatWriter(prefix + PGLangStr(pgsZeroSize));
  const bool binary = PGPxMWriteBinary;

  TPxMOutput out(Stream);
  out.Text("P" + std::to_string(digit + (binary ? 3 : 0)) + "\n" + std::to_string(width) + " " +
           std::to_string(height) + "\n");
  if (digit != 1) out.Text("255\n");
  if (Graphic->GetBitsPerPixel() != bitsPerPixel)
    throw EPGPxMFileFormatWriter(kindPrefix + PGLangStr(pgsInvalidColorResolution));

  TCodecProgress progress(Graphic, Graphic);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = Graphic->ScanLine(y);
    if (digit == 1 && binary) {
      for (int i = 0; i < (width + 7) / 8; ++i) out.Byte(static_cast<std::uint8_t>(~row[i]));
    } else {
      for (int x = 0; x < width; ++x) {
        if (digit == 1) {
          out.Byte(Graphic->GetPixel(x, y) != 0 ? '0' : '1');
        } else if (digit == 2) {
          if (binary) out.Byte(row[x]);
          else
            out.Number(row[x]);
        } else if (binary) {
          out.Byte(row[3 * x + 2]), out.Byte(row[3 * x + 1]), out.Byte(row[3 * x]);
        } else {
          out.Number(row[3 * x + 2]), out.Byte(' '), out.Number(row[3 * x + 1]), out.Byte(' '), out.Number(row[3 * x]);
        }
        if (!binary) out.Byte(x == width - 1 ? '\n' : ' ');
      }
    }
    // The writer has nothing to undo, so an abort is not acted on.
    progress.Aborted(y, height);
  }
  out.Flush();
  progress.Finish();
}
