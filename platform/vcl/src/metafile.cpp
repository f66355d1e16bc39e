// TMetafile: reading the three kinds of metafile file, and drawing through the record player.
#include "vcl/metafile.h"

#include <climits>
#include <cstdint>

#include "win32/kernel.h"
#include "win32/little_endian.h"

namespace {

constexpr DWORD kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr int kHundredthMmPerInch = 2540;

WORD Word(const std::vector<BYTE>& d, std::size_t at) { return ReadLE16(&d[at]); }
DWORD Dword(const std::vector<BYTE>& d, std::size_t at) { return ReadLE32(&d[at]); }

[[noreturn]] void Invalid() { throw EInvalidGraphic("Metafile is not valid"); }

// A frame extent in 0.01 mm as screen pixels, rounded as MulDiv does; worked out in 64 bits, since
// a hostile frame's corners can lie a whole int range apart, and -1 when it does not fit an int.
int FrameToPixels(LONG from, LONG to, int dpi) {
  const std::int64_t product = (std::int64_t{to} - from) * dpi;
  const std::int64_t half = product >= 0 ? kHundredthMmPerInch / 2 : -(kHundredthMmPerInch / 2);
  const std::int64_t pixels = (product + half) / kHundredthMmPerInch;
  return pixels < INT_MIN || pixels > INT_MAX ? -1 : static_cast<int>(pixels);
}

int ScreenPixelsPerInch(int index) {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, index);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

const bool kRegistered = [] {
  TPicture::RegisterFileFormat("wmf", "Metafiles", TGraphicClass::Of<TMetafile>());
  TPicture::RegisterFileFormat("emf", "Enhanced Metafiles", TGraphicClass::Of<TMetafile>());
  return true;
}();

}  // namespace

const TClassInfo& TMetafile::StaticClassInfo() {
  (void)kRegistered;
  static const TClassInfo info("TMetafile", &TGraphic::StaticClassInfo());
  return info;
}

TMetafile::~TMetafile() { Clear(); }

void TMetafile::Clear() {
  if (handle_) DeleteEnhMetaFile(handle_);
  handle_ = nullptr;
  data_.clear();
  width_ = height_ = 0;
  enhanced_ = true;
}

void TMetafile::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TMetafile*>(Source);
  if (!Source || source) {
    if (source == this) return;
    Clear();
    if (source && source->handle_) {
      Load(source->data_);
      width_ = source->width_;
      height_ = source->height_;
    }
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TMetafile::LoadFromStream(TStream* Stream) {
  std::int64_t size = Stream->Size() - Stream->Position();
  if (size <= 0 || size > 0x7FFFFFFF) {
    Clear();
    Invalid();
  }
  std::vector<BYTE> data(static_cast<std::size_t>(size));
  Stream->ReadBuffer(data.data(), size);
  Clear();
  Load(std::move(data));
  Changed(this);
}

// Makes the handle, sets the size and plays the records once into a pixel, so that a file whose
// records do not fit their contents is refused here rather than drawn in part later.
void TMetafile::Load(std::vector<BYTE> data) {
  const int dpiX = ScreenPixelsPerInch(LOGPIXELSX), dpiY = ScreenPixelsPerInch(LOGPIXELSY);
  HENHMETAFILE handle = nullptr;
  int width = 0, height = 0;
  bool enhanced = data.size() >= sizeof(ENHMETAHEADER) && Dword(data, 0) == EMR_HEADER &&
                  Dword(data, 40) == ENHMETA_SIGNATURE;
  if (enhanced) {
    handle = SetEnhMetaFileBits(static_cast<UINT>(data.size()), data.data());
    ENHMETAHEADER h{};
    if (handle && GetEnhMetaFileHeader(handle, sizeof h, &h)) {
      width = FrameToPixels(h.rclFrame.left, h.rclFrame.right, dpiX);
      height = FrameToPixels(h.rclFrame.top, h.rclFrame.bottom, dpiY);
    }
  } else if (data.size() >= kPlaceableSize && Dword(data, 0) == kPlaceableKey) {
    WORD sum = 0;
    for (std::size_t i = 0; i < kPlaceableSize - 2; i += 2) sum ^= Word(data, i);
    auto coordinate = [&](std::size_t at) { return static_cast<int>(static_cast<SHORT>(Word(data, at))); };
    int boxWidth = coordinate(10) - coordinate(6), boxHeight = coordinate(12) - coordinate(8);
    int inch = Word(data, 14);
    if (sum != Word(data, 20) || inch == 0 || boxWidth <= 0 || boxHeight <= 0) Invalid();
    METAFILEPICT picture{MM_ANISOTROPIC, MulDiv(boxWidth, kHundredthMmPerInch, inch),
                         MulDiv(boxHeight, kHundredthMmPerInch, inch), nullptr};
    handle = SetWinMetaFileBits(static_cast<UINT>(data.size() - kPlaceableSize), data.data() + kPlaceableSize, nullptr,
                                &picture);
    width = MulDiv(boxWidth, dpiX, inch);
    height = MulDiv(boxHeight, dpiY, inch);
  } else {
    handle = SetWinMetaFileBits(static_cast<UINT>(data.size()), data.data(), nullptr, nullptr);
    ENHMETAHEADER h{};
    if (handle && GetEnhMetaFileHeader(handle, sizeof h, &h)) {
      width = FrameToPixels(0, h.rclFrame.right, dpiX);
      height = FrameToPixels(0, h.rclFrame.bottom, dpiY);
    }
  }
  if (!handle) Invalid();
  BITMAPINFOHEADER pixel{sizeof pixel, 1, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP probe = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&pixel), DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, probe);
  RECT r{0, 0, 1, 1};
  BOOL played = PlayEnhMetaFile(dc, handle, &r);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(probe);
  if (!played || width <= 0 || height <= 0) {
    DeleteEnhMetaFile(handle);
    Invalid();
  }
  handle_ = handle;
  data_ = std::move(data);
  enhanced_ = enhanced;
  width_ = width;
  height_ = height;
}

void TMetafile::SaveToStream(TStream* Stream) {
  if (!data_.empty()) Stream->WriteBuffer(data_.data(), static_cast<std::int64_t>(data_.size()));
}

void TMetafile::LoadFromClipboardFormat(WORD, HANDLE, HPALETTE) {
  throw EInvalidGraphic("Unsupported clipboard format");
}
void TMetafile::SaveToClipboardFormat(WORD&, HANDLE&, HPALETTE&) {
  throw EInvalidGraphic("Unsupported clipboard format");
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (handle_) PlayEnhMetaFile(ACanvas->Handle(), handle_, &Rect);
}

void TMetafile::SetWidthImpl(int Value) {
  if (Value == width_) return;
  width_ = Value;
  Changed(this);
}

void TMetafile::SetHeightImpl(int Value) {
  if (Value == height_) return;
  height_ = Value;
  Changed(this);
}
