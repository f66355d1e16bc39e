#pragma once
// TVelmoraIOParams: what the last file loaded said about itself, and what the bitmap writer is to
// produce. Readers overwrite only their own format's fields, so earlier loads' fields stay.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "vcl/objects.h"
#include "vcl/streams.h"
#include "win32/types.h"

class TVelmoraIO;

// Blue, green, red, as in the rows of a 24-bit bitmap.
struct TColorTriple {
  std::uint8_t b = 0, g = 0, r = 0;
  bool operator==(const TColorTriple&) const = default;
};
// The colour value $00BBGGRR of a triple.
constexpr COLORREF TripleToColor(TColorTriple t) { return RGB(t.r, t.g, t.b); }
// A palette whose first two entries are black and white, the colours a 1-bit bitmap shows: a
// two-colour picture in them can stay at 1 bit a pixel, any other gets its colours at 24 bits.
inline bool StartsBlackAndWhite(const TColorTriple* Map, std::size_t Count) {
  return Count >= 2 && Map[0] == TColorTriple{0, 0, 0} && Map[1] == TColorTriple{255, 255, 255};
}

// Decodes a GIF image's LZW data from the stream's code-size byte into Width x Height indexes,
// rows top to bottom.
using TGifLzwDecoder = std::function<void(TStream* Source, int Height, int Width, bool Interlaced, std::uint8_t* Dest)>;
// Decodes the next RequestSize bytes of an LZW strip of DataSize bytes; State starts empty and is
// freed by a call with no data. Nothing when the strip ends.
using TTiffLzwDecoder =
    std::function<const std::uint8_t*(const std::uint8_t* Data, std::size_t DataSize, int RequestSize, void*& State)>;

// The fields of the record with their defaults.
struct TVelmoraIOFields {
  std::int32_t BitsPerSample = 8;
  std::int32_t SamplesPerPixel = 3;
  std::int32_t DpiX = 0, DpiY = 0;

  std::uint8_t TiffCompression = 0;
  std::int32_t TiffImageIndex = 0;
  std::uint8_t TiffPhotometric = 2;
  std::int32_t TiffPlanarConfig = 1;
  std::int32_t TiffXPos = 0, TiffYPos = 0;
  std::string TiffDocumentName, TiffImageDescription, TiffPageName;
  std::int32_t TiffPageNumber = 0, TiffPageCount = 0;
  TTiffLzwDecoder TiffLzwDecoder;

  std::string GifVersion = "GIF89a";
  std::int32_t GifImageIndex = 0;
  std::int32_t GifXPos = 0, GifYPos = 0;
  std::int32_t GifDelay = 0;
  bool GifTransparent = false;
  TColorTriple GifTranspColor;
  bool GifInterlaced = false;
  std::int32_t GifWinWidth = 0, GifWinHeight = 0;
  TColorTriple GifBackground;
  std::int32_t GifRatio = 0;
  TGifLzwDecoder GifLzwDecoder;

  std::uint8_t JpegColorSpace = 0;
  std::uint8_t JpegDCTMethod = 0;
  bool JpegProgressive = false;

  std::int32_t PcxVersion = 5;

  // 0 another header size, 1 40 bytes, 2 the 12-byte core header, 3 64 bytes.
  std::uint8_t BmpHeaderKind = 1;
  // 0 uncompressed, 1 run-length.
  std::uint8_t BmpCompression = 0;

  std::int32_t IcoWidth = 16, IcoHeight = 16;
  std::int32_t CurWidth = 16, CurHeight = 16;

  std::string FileName;
  std::int32_t Width = 0, Height = 0;
  std::vector<TColorTriple> ColorMap;  // the file's palette; empty when it has none
};

class TVelmoraIOParams : public TObject, public TVelmoraIOFields {
 public:
  explicit TVelmoraIOParams(TVelmoraIO* Owner);
  // The defaults; the size and resolution come from the owner's bitmap and view where it has them.
  void SetDefaults();
  void Assign(const TVelmoraIOParams& Source);
  int ColorMapCount() const { return static_cast<int>(ColorMap.size()); }
  void FreeColorMap() { ColorMap.clear(); }

 private:
  TVelmoraIO* owner_;
};
