// The tagged image reader: rows strip by strip, uncompressed or PackBits, into the pixel store.
#include <algorithm>
#include <cstring>
#include <vector>

#include "codec_progress.h"
#include "formats/tiff_names.h"
#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "graphics/palettes.h"
#include "graphics/tiff_format.h"
#include "picture_budget.h"
#include "tiff_directory.h"
#include "vcl/dialogs.h"
#include "vcl/typinfo.h"

const TClassInfo& TTIFFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TTIFFileFormatReader", &TFileFormatReader::StaticClassInfo());
  return info;
}
const TClassInfo& TTIFFFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TTIFFFileFormatReader", &TTIFFileFormatReader::StaticClassInfo());
  return info;
}

TTIFFileFormatReader::TTIFFileFormatReader() {
  Extension = "tif";
  Description = "Tagged Image File Format";
  HasSignature = true;
}

bool TTIFFileFormatReader::CheckHeader(const std::uint8_t* Header) {
  return (Header[0] == 'I' && Header[1] == 'I' && Header[2] == 0x2A && Header[3] == 0) ||
         (Header[0] == 'M' && Header[1] == 'M' && Header[2] == 0 && Header[3] == 0x2A);
}

namespace {

[[noreturn]] void Refuse(const std::string& text) { throw EPGTIFFileFormatReader(kTIFFPrefix + text); }

void CheckCompression(std::uint32_t compression) {
  switch (compression) {
    case tiff::kUncompressed:
    case tiff::kPackBits: return;
    case tiff::kCcittRle: Refuse("Unsupported compression CCITT 1D");
    case tiff::kCcittFax3: Refuse("Unsupported compression Group 3 Fax");
    case tiff::kCcittFax4: Refuse("Unsupported compression Group 4 Fax");
    case tiff::kLzw: Refuse("Unsupported compression LZW");
    case tiff::kOldJpeg: Refuse("Unsupported compression JPEG");
    default: Refuse("Unsupported compression " + std::to_string(compression));
  }
}

// A single strip too short for the image: the image's warning action decides.
void CheckStripCount(const TTIFFDirectory& d, TPGWarningAction action) {
  const std::uint64_t strips = (std::uint64_t{d.Height} + d.RowsPerStrip - 1) / d.RowsPerStrip;
  if (strips == d.StripOffsets.size()) return;
  const std::string text = "NumStripOffsets<>(ImageLength+RowsPerStrip-1) div RowsPerStrip";
  if (d.StripOffsets.size() != 1 || action == pgwaRaise) Refuse(text);
  if (action == pgwaOKBox) MessageBox(text, "TIFF-Warning", MB_ICONWARNING | MB_OK);
  if (action == pgwaOKCancelBox && MessageBox(text, "TIFF-Warning", MB_ICONWARNING | MB_OKCANCEL) != IDOK) Refuse(text);
}

void SetPalette(const TTIFFDirectory& d, int bits, TPixelGraphic* Graphic) {
  if (bits == 1) {
    Graphic->SetPaletteIdent(pBlackWhite);
    return;
  }
  if (d.Photometric == tiff::kWhiteIsZero || d.Photometric == tiff::kBlackIsZero) {
    Graphic->SetPaletteIdent(bits == 4 ? pGray16 : pGray256);
    return;
  }
  if (d.Photometric != tiff::kPalette) Refuse("Unsupported " + std::to_string(bits) + " Bits/Pixel");
  const std::size_t third = d.ColorMap.size() / 3;
  // A map larger than the format holds gives only the entries that fit.
  const int count = static_cast<int>(std::min<std::size_t>(third, std::size_t{1} << bits));
  Graphic->SetPaletteCount(count);
  for (int i = 0; i < count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    Graphic->SetPaletteEntry(
        i, RGBToColor(static_cast<int>(d.ColorMap[at] / 256), static_cast<int>(d.ColorMap[third + at] / 256),
                      static_cast<int>(d.ColorMap[2 * third + at] / 256)));
  }
}

// Strip bytes from the header start on; PackBits reads through a 4096-byte cache.
class TStripReader {
 public:
  TStripReader(TStream* Stream, const TTIFFDirectory& d) : stream_(Stream), d_(d), size_(Stream->Size()) {
    for (std::size_t i = 0; i < d.StripOffsets.size(); ++i)
      if (d.Start + d.StripOffsets[i] < size_) lastStripWithData_ = static_cast<std::int64_t>(i);
  }

  // Uncompressed rows from y on lie past the end of the file, so all of them read as zeros.
  bool RestIsPastTheData(std::uint32_t y) const {
    if (d_.Compression != tiff::kUncompressed) return false;
    const std::uint32_t strip = y / d_.RowsPerStrip;
    const std::int64_t at = y % d_.RowsPerStrip == 0 ? d_.Start + d_.StripOffsets[strip] : position_;
    return std::int64_t{strip} >= lastStripWithData_ && at >= size_;
  }

  void Row(std::uint32_t y, std::uint8_t* out, std::int64_t bytes) {
    if (y % d_.RowsPerStrip == 0) position_ = d_.Start + d_.StripOffsets[y / d_.RowsPerStrip];
    if (d_.Compression == tiff::kUncompressed) {
      stream_->SetPosition(position_);
      const std::int64_t got = std::max<std::int64_t>(stream_->Read(out, bytes), 0);
      std::memset(out + got, 0, static_cast<std::size_t>(bytes - got));
      position_ += bytes;
      return;
    }
    for (std::int64_t n = 0; n < bytes;) {
      const int control = static_cast<std::int8_t>(Next());
      if (control == -128) continue;
      const std::int64_t count = control >= 0 ? control + 1 : 1 - control;
      if (n + count > bytes) Refuse_("TIFF (PackBits): Invalid count of bytes in row " + std::to_string(y));
      if (control >= 0) {
        for (std::int64_t i = 0; i < count; ++i) out[n++] = Next();
      } else {
        std::memset(out + n, Next(), static_cast<std::size_t>(count));
        n += count;
      }
    }
  }

 private:
  [[noreturn]] static void Refuse_(const std::string& text) { throw EPGTIFFileFormatReader(text); }

  std::uint8_t Next() {
    if (position_ < cacheStart_ || position_ >= cacheStart_ + cacheFill_) {
      const std::int64_t left = std::min<std::int64_t>(sizeof cache_, size_ - position_);
      if (left <= 0) Refuse(PGLangStr(pgsUnexpectedEndOfFile));
      stream_->SetPosition(position_);
      cacheFill_ = stream_->Read(cache_, left);
      cacheStart_ = position_;
      if (cacheFill_ <= 0) Refuse(PGLangStr(pgsUnexpectedEndOfFile));
    }
    return cache_[position_++ - cacheStart_];
  }

  TStream* stream_;
  const TTIFFDirectory& d_;
  std::int64_t size_;
  std::int64_t position_ = 0;
  std::uint8_t cache_[4096] = {};
  std::int64_t cacheStart_ = 0;
  std::int64_t cacheFill_ = 0;
  std::int64_t lastStripWithData_ = -1;
};

void StoreRow(const TTIFFDirectory& d, int bits, int width, const std::uint8_t* in, std::uint8_t* row) {
  const bool whiteIsZero = d.Photometric == tiff::kWhiteIsZero;
  switch (bits) {
    case 1:
    case 4:
    case 8: {
      const int bytes = (width * bits + 7) / 8;
      for (int i = 0; i < bytes; ++i) row[i] = whiteIsZero ? static_cast<std::uint8_t>(~in[i]) : in[i];
      break;
    }
    case 24:
      for (int x = 0; x < width; ++x)
        row[3 * x] = in[3 * x + 2], row[3 * x + 1] = in[3 * x + 1], row[3 * x + 2] = in[3 * x];
      break;
    default:
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* s = in + 4 * x;
        if (d.Photometric == tiff::kSeparated) {
          row[3 * x] = static_cast<std::uint8_t>(std::max(255 - s[2] - s[3], 0));
          row[3 * x + 1] = static_cast<std::uint8_t>(std::max(255 - s[1] - s[3], 0));
          row[3 * x + 2] = static_cast<std::uint8_t>(std::max(255 - s[0] - s[3], 0));
        } else {
          row[3 * x] = s[2], row[3 * x + 1] = s[1], row[3 * x + 2] = s[0];
        }
      }
  }
}

// Rows below y become copies of row y. Rows are stored bottom-up, so they are one block below
// row y, filled by doubling copies.
void CopyRowDown(TPixelGraphic* Graphic, int y) {
  const int height = Graphic->GetHeight();
  if (y + 1 >= height) return;
  const auto stride = static_cast<std::size_t>(Graphic->GetStride());
  const std::uint8_t* row = Graphic->ScanLine(y);
  std::uint8_t* block = Graphic->ScanLine(height - 1);
  const std::size_t size = stride * static_cast<std::size_t>(height - 1 - y);
  std::memcpy(block, row, stride);
  for (std::size_t done = stride; done < size;) {
    const std::size_t n = std::min(done, size - done);
    std::memcpy(block + done, block, n);
    done += n;
  }
}

}  // namespace

void TTIFFileFormatReader::Read(TStream* Stream, TPixelGraphic* Graphic, int Index) {
  TTIFFDirectory d = ReadTIFFDirectory(Stream, Index);
  CheckCompression(d.Compression);
  CheckStripCount(d, Graphic->ReadWarningAction());
  // A single strip holds every row.
  if (d.StripOffsets.size() == 1) d.RowsPerStrip = d.Height;
  const int bits = static_cast<int>(d.BitsPerSample[0] * d.SamplesPerPixel);
  if (d.Width > 0x7FFFFFFF || d.Height > 0x7FFFFFFF) Refuse(PGLangStrS1(pgsInvalid, "ImageWidth"));
  const int width = static_cast<int>(d.Width);
  const int height = static_cast<int>(d.Height);
  const TPGBitCount format = d.SamplesPerPixel == 1 ? TPixelGraphic::BitCountToFormat(bits) : pgbc24;
  // Strips may lie anywhere in the file, so the whole file is what can stand for the picture.
  // PackBits data that ends early is an error, and a row takes two bytes per 128 of its bytes;
  // uncompressed rows past the end of the file read as zeros, while the file can stand for them.
  const std::int64_t inBytes = (std::int64_t{bits} * width + 7) / 8;
  const std::int64_t picture = PictureBytes(width, height, format);
  if (d.Compression == tiff::kPackBits ? TooShortFor(picture, (inBytes + 127) / 128 * 2 * height, Stream->Size())
                                       : !DataCanFill(picture, Stream->Size(), kUncompressedExpansion))
    Refuse(PGLangStr(pgsUnexpectedEndOfFile));
  Graphic->SetSize(width, height, format);
  if (format != pgbc24) SetPalette(d, bits, Graphic);

  std::vector<std::uint8_t> in(static_cast<std::size_t>(inBytes), 0);
  TStripReader strips(Stream, d);
  TCodecProgress progress(Graphic, this);
  for (int y = 0; y < height; ++y) {
    if (strips.RestIsPastTheData(static_cast<std::uint32_t>(y))) {
      // A huge height over a short file would otherwise be read row by row for minutes.
      std::fill(in.begin(), in.end(), std::uint8_t{0});
      StoreRow(d, bits, width, in.data(), Graphic->ScanLine(y));
      CopyRowDown(Graphic, y);
      break;
    }
    strips.Row(static_cast<std::uint32_t>(y), in.data(), static_cast<std::int64_t>(in.size()));
    StoreRow(d, bits, width, in.data(), Graphic->ScanLine(y));
    if (progress.Aborted(y, height)) break;
  }
  progress.Finish();
}

void TTIFFileFormatReader::GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) {
  Info = TPGImageInfo{};
  Info.ImageCount = 1;
  const TTIFFDirectory d = ReadTIFFDirectory(Stream, Index);
  Info.ImageCount = d.ImageCount;
  std::string text = d.BigEndian ? "M, " : "I, ";
  switch (d.Compression) {
    case tiff::kUncompressed: text += "Uncompr."; break;
    case tiff::kCcittRle: text += "CCITT 1D"; break;
    case tiff::kCcittFax3: text += "Group 3 F."; break;
    case tiff::kCcittFax4: text += "Group 4 F."; break;
    case tiff::kLzw: text += "LZW"; break;
    case tiff::kOldJpeg: text += "JPEG"; break;
    case tiff::kPackBits: text += "PackBits"; break;
    default: break;
  }
  if (d.Compression >= tiff::kCcittRle && d.Compression <= tiff::kOldJpeg)
    Info.DetailsText = "(Unsupported compression)";
  switch (d.Photometric) {
    case tiff::kWhiteIsZero: text += ", WhiteIsZero"; break;
    case tiff::kBlackIsZero: text += ", BlackIsZero"; break;
    case tiff::kRgb: text += ", RGB"; break;
    case tiff::kPalette: text += ", RGB Palette"; break;
    case tiff::kSeparated: text += ", CMYK"; break;
    default: Refuse("Unsupported photometric interpretation " + std::to_string(d.Photometric));
  }
  Info.SubFormatText = text;
  Info.Width = static_cast<int>(d.Width);
  Info.Height = static_cast<int>(d.Height);
  int sum = 0;
  for (std::uint32_t b : d.BitsPerSample) sum += static_cast<int>(b);
  Info.BitsPerPixel = sum;
  Info.ColorsText = sum > 23 ? "16.7 M" : std::to_string(1 << sum);
}
