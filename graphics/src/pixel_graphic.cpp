// Storage, sizing, pixel access, palette entries and change notification of TPixelGraphic.
#include "graphics/pixel_graphic.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "graphics/pg_canvas.h"
#include "vcl/scope_exit.h"
#include "vcl/typinfo.h"
#include "win32/dib_limits.h"

namespace {

constexpr int kBitsPerPixel[4] = {1, 4, 8, 24};
constexpr int kCapacity[4] = {2, 16, 256, 0};

RGBQUAD QuadOf(TColor color) {
  auto c = static_cast<std::uint32_t>(color);
  return RGBQUAD{static_cast<BYTE>(c >> 16), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c), 0};
}

}  // namespace

const TClassInfo& TPixelGraphic::StaticClassInfo() {
  static const TClassInfo info("TPixelGraphic", &TGraphic::StaticClassInfo());
  return info;
}

TPixelGraphic::TPixelGraphic() = default;

TPixelGraphic::~TPixelGraphic() {
  FlushGdi();
  FreeDitherBuffers();
  FreeColorMap();
  delete canvas_;  // before the palette and the section it has selected
  if (paletteHandle_) DeleteObject(paletteHandle_);
  DeleteStorage();
}

void TPixelGraphic::FlushGdi() {
  if (!gdiFlushPending_) return;
  GdiFlush();
  gdiFlushPending_ = false;
}

void TPixelGraphic::DeleteStorage() {
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  bits_ = nullptr;
  bitmapInfo_.clear();
}

// ---- Copying ----------------------------------------------------------------------------

void TPixelGraphic::Assign(TPersistent* Source) {
  if (Source == this) return;  // the same-size SetSize below would clear the pixels first
  auto* source = dynamic_cast<TPixelGraphic*>(Source);
  if (Source && !source) {
    TGraphic::Assign(Source);
    return;
  }
  BeginUpdate();
  ScopeExit endUpdate([&] { EndUpdate(); });
  FlushGdi();
  if (!source) {
    SetSize(0, 0, pgbc24);
  } else {
    source->FlushGdi();
    SetSize(source->width_, source->height_, source->format_);
    if (bits_ && source->bits_) std::memcpy(bits_, source->bits_, static_cast<std::size_t>(imageSize_));
    SetPaletteIdent(source->paletteIdent_);
    SetPaletteCount(source->paletteCount_);
    backGroundValue_ = source->backGroundValue_;
    dither_ = source->dither_;
    ditherErrorLimit_ = source->ditherErrorLimit_;
    ditherErrorLimitAuto_ = source->ditherErrorLimitAuto_;
    ditherErrorLimitSoft_ = source->ditherErrorLimitSoft_;
    useColorMap_ = source->useColorMap_;
    gamma_ = source->gamma_;
    rgbWeighting_ = source->rgbWeighting_;
    stretchMode_ = source->stretchMode_;
    readWarningAction_ = source->readWarningAction_;
    transparent_ = source->transparent_;
    saveColorResWarningAction_ = source->saveColorResWarningAction_;
    for (int i = 0; i < source->paletteCount_; ++i) SetPaletteEntry(i, source->palette_[static_cast<std::size_t>(i)]);
    DetectPaletteIdent();
  }
}

void TPixelGraphic::CopyPaletteFrom(TPixelGraphic* Source) {
  SetPaletteCount(Source->paletteCount_);
  for (int i = 0; i < Source->paletteCount_; ++i) SetPaletteEntry(i, Source->palette_[static_cast<std::size_t>(i)]);
  DetectPaletteIdent();
}

// ---- Size and format ----------------------------------------------------------------------

int TPixelGraphic::GetBitsPerPixel() const { return kBitsPerPixel[format_]; }
int TPixelGraphic::GetPaletteCapacity() const { return kCapacity[format_]; }

TPGBitCount TPixelGraphic::BitCountToFormat(int N) {
  switch (N) {
    case 1: return pgbc1;
    case 4: return pgbc4;
    case 8: return pgbc8;
    case 24: return pgbc24;
    default: throw EPGInvalidBitCountNum(PGLangStrS1(pgsInvalidValue, "BitCountNum"));
  }
}

void TPixelGraphic::SetSize(int AWidth, int AHeight, TPGBitCount AFormat) {
  if (AWidth < 0) throw EPGInvalidSize(PGLangStr(pgsNegativeWidth));
  if (AHeight < 0) throw EPGInvalidSize(PGLangStr(pgsNegativeHeight));
  if (AFormat > pgbc24) throw EPGInvalidBitCountNum(PGLangStrS1(pgsInvalidValue, "BitCountNum"));
  if (AWidth == width_ && AHeight == height_ && AFormat == format_) {
    Clear();
    return;
  }
  width_ = AWidth;
  height_ = AHeight;
  format_ = AFormat;
  FlushGdi();
  ReleaseCanvasHandle();
  DeleteStorage();
  const std::int64_t stride = DibStride(width_, kBitsPerPixel[format_]);
  // The DIB section's limit is the image's; checked here too so that the sizes below fit 32 bits.
  if (!FitsDib(width_, height_, kBitsPerPixel[format_])) {
    width_ = height_ = stride_ = imageSize_ = 0;
    throw EPixelGraphic(PGLangStrS1(pgsFailed, "CreateDIBSection"));
  }
  stride_ = static_cast<int>(stride);
  imageSize_ = static_cast<int>(stride * height_);
  if (imageSize_ > 0) {
    if (paletteCount_ > GetPaletteCapacity()) SetPaletteCount(GetPaletteCapacity());
    if (format_ == pgbc24) paletteIdent_ = pTrueColor;
    BuildBitmapInfo();
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(bitmapInfo_.data()), DIB_RGB_COLORS, &bits,
                               nullptr, 0);
    if (!bitmap_ || !bits) {
      // Leave a usable empty image rather than a size without pixels.
      DeleteStorage();
      width_ = height_ = stride_ = imageSize_ = 0;
      throw EPixelGraphic(PGLangStrS1(pgsFailed, "CreateDIBSection"));
    }
    bits_ = static_cast<std::uint8_t*>(bits);
  }
  Changed();
}

void TPixelGraphic::BuildBitmapInfo() {
  int capacity = GetPaletteCapacity();
  bitmapInfo_.assign(sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * static_cast<std::size_t>(capacity), 0);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = width_;
  header.biHeight = height_;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(GetBitsPerPixel());
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(imageSize_);
  header.biClrUsed = static_cast<DWORD>(capacity);
  std::memcpy(bitmapInfo_.data(), &header, sizeof header);
  for (int i = 0; i < capacity; ++i) {
    TColor color = i < paletteCount_ ? palette_[static_cast<std::size_t>(i)] : paletteCount_ > 0 ? palette_[0] : 0;
    RGBQUAD quad = QuadOf(color);
    std::memcpy(bitmapInfo_.data() + sizeof header + sizeof(RGBQUAD) * static_cast<std::size_t>(i), &quad, sizeof quad);
  }
}

const BITMAPINFO* TPixelGraphic::BitmapInfo() const {
  return bitmapInfo_.empty() ? nullptr : reinterpret_cast<const BITMAPINFO*>(bitmapInfo_.data());
}

void TPixelGraphic::SetWidthImpl(int Value) {
  if (Value != width_) SetSize(Value, height_, format_);
}

void TPixelGraphic::SetHeightImpl(int Value) {
  if (Value != height_) SetSize(width_, Value, format_);
}

void TPixelGraphic::SetBitCount(TPGBitCount Value) {
  if (Value != format_) SetSize(width_, height_, Value);
}

std::uint8_t* TPixelGraphic::GetBits() {
  FlushGdi();
  return bits_;
}

std::uint8_t* TPixelGraphic::ScanLine(int Y) {
  FlushGdi();
  if (!bits_) return nullptr;
  return bits_ + static_cast<std::ptrdiff_t>(stride_) * (height_ - 1 - Y);
}

// ---- Pixels ---------------------------------------------------------------------------------

std::uint32_t TPixelGraphic::GetPixel(int X, int Y) {
  FlushGdi();
  if (!bits_ || X < 0 || X >= width_ || Y < 0 || Y >= height_) return backGroundValue_;
  const std::uint8_t* row = bits_ + static_cast<std::ptrdiff_t>(stride_) * (height_ - 1 - Y);
  switch (format_) {
    case pgbc1: return (row[X >> 3] >> (7 - (X & 7))) & 1;
    case pgbc4: return X & 1 ? row[X >> 1] & 0x0F : row[X >> 1] >> 4;
    case pgbc8: return row[X];
    default: {
      const std::uint8_t* p = row + 3 * X;
      return std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
    }
  }
}

void TPixelGraphic::SetPixel(int X, int Y, std::uint32_t Value) {
  FlushGdi();
  if (!bits_ || X < 0 || X >= width_ || Y < 0 || Y >= height_) return;
  std::uint8_t* row = bits_ + static_cast<std::ptrdiff_t>(stride_) * (height_ - 1 - Y);
  switch (format_) {
    case pgbc1: {
      auto mask = static_cast<std::uint8_t>(0x80 >> (X & 7));
      if (Value == 1) row[X >> 3] |= mask;
      else
        row[X >> 3] &= static_cast<std::uint8_t>(~mask);
      break;
    }
    case pgbc4: {
      std::uint8_t& b = row[X >> 1];
      auto nibble = static_cast<std::uint8_t>(Value & 0x0F);
      b = X & 1 ? static_cast<std::uint8_t>((b & 0xF0) | nibble) : static_cast<std::uint8_t>((b & 0x0F) | nibble << 4);
      break;
    }
    case pgbc8: row[X] = static_cast<std::uint8_t>(Value); break;
    default: {
      std::uint8_t* p = row + 3 * X;
      p[0] = static_cast<std::uint8_t>(Value >> 16);
      p[1] = static_cast<std::uint8_t>(Value >> 8);
      p[2] = static_cast<std::uint8_t>(Value);
    }
  }
}

TColor TPixelGraphic::GetPixelColor(int X, int Y) {
  std::uint32_t value = GetPixel(X, Y);
  return format_ == pgbc24 ? static_cast<TColor>(value) : GetPaletteEntry(static_cast<int>(value));
}

void TPixelGraphic::SetPixelColor(int X, int Y, TColor Color) {
  SetPixel(X, Y,
           format_ == pgbc24 ? static_cast<std::uint32_t>(Color) : static_cast<std::uint32_t>(ColorToIndex(Color)));
}

// ---- Palette entries ------------------------------------------------------------------------

TColor TPixelGraphic::GetPaletteEntry(int Index) const {
  if (paletteIdent_ == pTrueColor) return Index;
  if (Index < 0 || Index >= paletteCount_) throw EPGInvalidPaletteIndex(PGLangStr(pgsInvalidPaletteIndex));
  return palette_[static_cast<std::size_t>(Index)];
}

void TPixelGraphic::SetPaletteCount(int Count) {
  Count = std::max(Count, 0);
  if (Count != paletteCount_) {
    FlushGdi();
    ReleaseCanvasHandle();
    palette_.resize(static_cast<std::size_t>(Count), 0);
    paletteCount_ = Count;
    paletteIdent_ = Count > 0 ? pUnknown : pNone;
    InvalidateLastQuery();
    if (!bitmapInfo_.empty()) {
      // The colour table has room for the format's capacity only.
      DWORD used = static_cast<DWORD>(std::min(Count, GetPaletteCapacity()));
      std::memcpy(bitmapInfo_.data() + offsetof(BITMAPINFOHEADER, biClrUsed), &used, sizeof used);
    }
  }
  paletteChanged_ = true;
  FreeColorMap();
}

void TPixelGraphic::SetPaletteEntry(int Index, TColor Color) {
  if (paletteIdent_ == pNone || paletteIdent_ == pTrueColor) throw EPGNoPalette(PGLangStr(pgsNoPalette));
  if (Index < 0 || Index >= paletteCount_) throw EPGInvalidPaletteIndex(PGLangStr(pgsInvalidPaletteIndex));
  ReleaseCanvasHandle();  // the next canvas use installs the new colour table
  if (!bitmapInfo_.empty() && Index < GetPaletteCapacity()) {
    RGBQUAD quad = QuadOf(Color);
    std::memcpy(bitmapInfo_.data() + sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * static_cast<std::size_t>(Index),
                &quad, sizeof quad);
  }
  palette_[static_cast<std::size_t>(Index)] = Color;
  paletteIdent_ = pUnknown;
  InvalidateLastQuery();
  paletteChanged_ = true;
  FreeColorMap();
}

HPALETTE TPixelGraphic::GetPalette() {
  if (paletteChanged_) {
    if (paletteHandle_) DeleteObject(paletteHandle_);
    paletteHandle_ = nullptr;
    if (paletteIdent_ != pTrueColor && paletteCount_ > 0) {
      std::vector<std::uint8_t> block(offsetof(LOGPALETTE, palPalEntry) +
                                      sizeof(PALETTEENTRY) * static_cast<std::size_t>(paletteCount_));
      auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
      log->palVersion = 0x300;
      log->palNumEntries = static_cast<WORD>(paletteCount_);
      for (int i = 0; i < paletteCount_; ++i) {
        auto c = static_cast<std::uint32_t>(palette_[static_cast<std::size_t>(i)]);
        PALETTEENTRY entry{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0};
        std::memcpy(
            block.data() + offsetof(LOGPALETTE, palPalEntry) + sizeof(PALETTEENTRY) * static_cast<std::size_t>(i),
            &entry, sizeof entry);
      }
      paletteHandle_ = CreatePalette(log);
    }
    paletteChanged_ = false;
  }
  return paletteHandle_;
}

// ---- Background and clearing ----------------------------------------------------------------

void TPixelGraphic::SetBackGroundColor(TColor Color) {
  backGroundValue_ = format_ == pgbc24 ? static_cast<std::uint32_t>(Color)
                                       : static_cast<std::uint32_t>(ColorToIndex(Color));
}

TColor TPixelGraphic::GetBackGroundColor() const {
  return format_ == pgbc24 ? static_cast<TColor>(backGroundValue_)
                           : GetPaletteEntry(static_cast<int>(backGroundValue_));
}

void TPixelGraphic::Clear() {
  FlushGdi();
  if (!bits_ || width_ <= 0 || height_ <= 0) return;
  if (backGroundValue_ == 0) {
    std::memset(bits_, 0, static_cast<std::size_t>(imageSize_));
  } else if (format_ == pgbc8) {
    for (int y = 0; y < height_; ++y)
      std::memset(bits_ + static_cast<std::ptrdiff_t>(stride_) * y, static_cast<std::uint8_t>(backGroundValue_),
                  static_cast<std::size_t>(width_));
  } else {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) SetPixel(x, y, backGroundValue_);
  }
  Changed();
}

// ---- Change notification --------------------------------------------------------------------

void TPixelGraphic::EndUpdate() {
  --updateCount_;
  Changed();
}

void TPixelGraphic::Changed() {
  if (updateCount_ == 0) TGraphic::Changed(this);
}
