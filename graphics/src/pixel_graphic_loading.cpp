// Loading through the reader list, with gamma correction afterwards, and the TGraphic "Data".
#include <algorithm>
#include <cmath>
#include <memory>

#include "graphics/exceptions.h"
#include "graphics/file_formats.h"
#include "graphics/messages.h"
#include "graphics/palettes.h"
#include "vcl/scope_exit.h"
#include "win32/little_endian.h"

void TPixelGraphic::LoadFromFile(const std::string& FileName) { LoadFromFileIndex(FileName, 0); }

void TPixelGraphic::LoadFromFileIndex(const std::string& FileName, int Index) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStreamExt(&stream, ExtractFileFormatExt(FileName), Index);
}

void TPixelGraphic::LoadFromStream(TStream* Stream) { LoadFromStreamExt(Stream, "", 0); }

void TPixelGraphic::LoadFromStreamExt(TStream* Stream, std::string Ext, int Index) {
  FlushGdi();
  BeginUpdate();
  ScopeExit endUpdate([&] { EndUpdate(); });
  SetSize(0, 0, pgbc24);
  gamma_ = PGDisplayGamma;
  TFileFormatReader* reader = FindFileFormatReader(Stream, Ext);
  if (!reader) throw EPGUnknownFileFormat(PGLangStr(pgsUnknownFileFormat));
  reader->Read(Stream, this, Index);
  ApplyGammaCorrection();
  DetectPaletteIdent();
}

void TPixelGraphic::ApplyGammaCorrection() {
  const long double ratio = gamma_ / PGDisplayGamma;
  // A gamma that is not a positive number has nothing to correct by.
  if (!PGGammaCorrection || !std::isfinite(ratio) || !(ratio > 0) || std::fabs(ratio - 1) <= 0.05L) return;
  std::uint8_t table[256];
  for (int i = 0; i < 256; ++i) {
    const long double v = 255 * Power(i / 255.0L, ratio);
    table[i] = static_cast<std::uint8_t>(std::clamp<long double>(std::nearbyint(v), 0, 255));
  }
  if (format_ == pgbc24) {
    if (bits_)
      for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = bits_ + static_cast<std::ptrdiff_t>(stride_) * y;
        for (int i = 0; i < 3 * width_; ++i) row[i] = table[row[i]];
      }
  } else {
    for (int i = 0; i < paletteCount_; ++i) {
      const TColor c = palette_[static_cast<std::size_t>(i)];
      SetPaletteEntry(i, RGBToColor(table[RedOf(c)], table[GreenOf(c)], table[BlueOf(c)]));
    }
  }
  gamma_ = PGDisplayGamma;
}

void TPixelGraphic::ReadData(TStream* Stream) {
  std::uint8_t length[4] = {};
  Stream->ReadBuffer(length, 4);
  const std::int64_t n = ReadLE32(length);
  const std::int64_t start = Stream->Position();
  LoadFromStreamExt(Stream, "bmp", 0);
  Stream->SetPosition(start + n);
}
