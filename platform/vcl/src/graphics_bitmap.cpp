// TBitmap: an image in one DIB section, with a canvas over a memory DC.
#include <algorithm>
#include <cstring>
#include <map>

#include "graphics_dib.h"
#include "vcl/graphics_images.h"
#include "vcl/scope_exit.h"
#include "win32/clipboard.h"
#include "win32/globalmem.h"

const TTypeInfo TypeInfo_TPixelFormat{
    "TPixelFormat",
    tkEnumeration,
    {"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit", "pf32bit", "pfCustom"}};
const TTypeInfo TypeInfo_TTransparentMode{"TTransparentMode", tkEnumeration, {"tmAuto", "tmFixed"}};

// The canvas of a bitmap: a memory DC with the DIB section (and its palette) selected.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* Bitmap) : bitmap_(Bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }

  void FreeContext() {
    if (!HandleAllocated()) return;
    HDC dc = Handle();
    SetHandle(nullptr);
    if (oldBitmap_) SelectObject(dc, oldBitmap_);
    if (oldPalette_) SelectPalette(dc, oldPalette_, TRUE);
    oldBitmap_ = oldPalette_ = nullptr;
    DeleteDC(dc);
  }

 protected:
  void CreateHandle() override {
    HDC dc = CreateCompatibleDC(nullptr);
    if (HBITMAP bitmap = bitmap_->Handle()) oldBitmap_ = SelectObject(dc, bitmap);
    if (HPALETTE palette = bitmap_->GetPalette()) {
      oldPalette_ = SelectPalette(dc, palette, TRUE);
      RealizePalette(dc);
    }
    SetHandle(dc);
  }

 private:
  TBitmap* bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
  HGDIOBJ oldPalette_ = nullptr;
};

namespace {

std::map<std::string, std::pair<const void*, std::size_t>>& Resources() {
  static std::map<std::string, std::pair<const void*, std::size_t>> resources;
  return resources;
}

// Reads any bitmap into bottom-up rows of the format.
std::vector<BYTE> BitsOf(HBITMAP Bitmap, int Width, int Height, TPixelFormat Format,
                         const std::vector<RGBQUAD>& Colors) {
  std::vector<BYTE> info = dib::MakeBitmapInfo(Width, Height, Format, Colors);
  std::vector<BYTE> bits(static_cast<std::size_t>(dib::Stride(Width, Format)) * Height);
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, Bitmap, 0, static_cast<UINT>(Height), bits.data(), reinterpret_cast<BITMAPINFO*>(info.data()),
            DIB_RGB_COLORS);
  DeleteDC(dc);
  return bits;
}

}  // namespace

void RegisterBitmapResource(const std::string& Name, const void* Bmp, std::size_t Size) {
  Resources()[UpperCase(Name)] = {Bmp, Size};
}

const TClassInfo& TBitmap::StaticClassInfo() {
  static const TClassInfo info("TBitmap", &TGraphic::StaticClassInfo());
  return info;
}

TBitmap::TBitmap() : format_(dib::DeviceFormat()) {}

TBitmap::~TBitmap() {
  delete canvas_;
  FreeHandles();
}

void TBitmap::FreeContext() {
  if (canvas_) canvas_->FreeContext();
}

void TBitmap::FreeHandles() {
  if (dib_) DeleteObject(dib_);
  if (palette_) DeleteObject(palette_);
  dib_ = nullptr;
  bits_ = nullptr;
  palette_ = nullptr;
}

void TBitmap::NewImage(int Width, int Height, TPixelFormat Format, std::vector<RGBQUAD> Colors, const void* Bits) {
  FreeContext();
  FreeHandles();
  width_ = std::max(Width, 0);
  height_ = std::max(Height, 0);
  format_ = Format;
  colors_ = std::move(Colors);
  stride_ = dib::Stride(width_, format_);
  if (GetEmpty()) return;
  const std::vector<BYTE> info = dib::MakeBitmapInfo(width_, height_, format_, colors_);
  void* bits = nullptr;
  dib_ = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib_ || !bits) {
    width_ = height_ = 0;
    dib_ = nullptr;
    throw EOutOfResources("Out of system resources");
  }
  bits_ = static_cast<BYTE*>(bits);
  const std::size_t size = static_cast<std::size_t>(stride_) * height_;
  if (Bits) {
    std::memcpy(bits_, Bits, size);
  } else if (format_ == pf15bit || dib::Paletted(format_)) {
    // White is looked up once and one row of it copied to the others.
    dib::SetPixelColor(bits_, 0, format_, colors_, {255, 255, 255, 0});
    const std::uint32_t white = dib::PixelValue(bits_, 0, format_);
    for (int x = 1; x < width_; ++x) dib::SetPixelValue(bits_, x, format_, white);
    for (int y = 1; y < height_; ++y) std::memcpy(bits_ + static_cast<std::size_t>(stride_) * y, bits_, stride_);
  } else {
    std::memset(bits_, 0xFF, size);
  }
}

void TBitmap::Clear() {
  NewImage(0, 0, format_, {}, nullptr);
  Changed(this);
}

void TBitmap::Resize(int Width, int Height) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (Width == width_ && Height == height_) return;
  const int oldWidth = width_, oldHeight = height_, oldStride = stride_;
  const std::vector<BYTE> old(bits_, bits_ + static_cast<std::size_t>(stride_) * height_);
  std::vector<RGBQUAD> colors = colors_;
  if (colors.empty()) colors = dib::StandardColors(format_);
  NewImage(Width, Height, format_, std::move(colors), nullptr);
  // The top-left part stays; rows are bottom-up, so row y from the top is row height-1-y. A picture
  // without columns has no pixel memory even when its height is kept, so there is nothing to copy.
  const int columns = std::min(oldWidth, width_);
  for (int y = 0; columns > 0 && y < std::min(oldHeight, height_); ++y) {
    const BYTE* from = old.data() + static_cast<std::size_t>(oldStride) * (oldHeight - 1 - y);
    BYTE* to = bits_ + static_cast<std::size_t>(stride_) * (height_ - 1 - y);
    if (dib::BitsPerPixel(format_) >= 8)
      std::memcpy(to, from, static_cast<std::size_t>(columns) * dib::BitsPerPixel(format_) / 8);
    else
      for (int x = 0; x < columns; ++x) dib::SetPixelValue(to, x, format_, dib::PixelValue(from, x, format_));
  }
  Changed(this);
}

void TBitmap::Convert(TPixelFormat Format, const std::vector<RGBQUAD>& Colors) {
  std::vector<RGBQUAD> colors = Colors;
  const bool keepTable = colors.empty() && dib::Paletted(Format) && dib::Paletted(format_) && !colors_.empty() &&
                         colors_.size() <= (std::size_t{1} << dib::BitsPerPixel(Format));
  if (keepTable) colors = colors_;
  else if (colors.empty())
    colors = dib::StandardColors(Format);
  const TPixelFormat oldFormat = format_;
  const std::vector<RGBQUAD> oldColors = colors_;
  const int oldStride = stride_;
  const std::vector<BYTE> old(bits_, bits_ + static_cast<std::size_t>(stride_) * height_);
  NewImage(width_, height_, Format, colors, nullptr);
  for (int y = 0; y < height_; ++y) {
    const BYTE* from = old.data() + static_cast<std::size_t>(oldStride) * y;
    BYTE* to = bits_ + static_cast<std::size_t>(stride_) * y;
    for (int x = 0; x < width_; ++x) {
      if (keepTable) dib::SetPixelValue(to, x, format_, dib::PixelValue(from, x, oldFormat));
      else
        dib::SetPixelColor(to, x, format_, colors_, dib::PixelColor(from, x, oldFormat, oldColors));
    }
  }
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) {
    canvas_ = new TBitmapCanvas(this);
    canvas_->OnChange = [this](TObject*) { Changed(this); };
  }
  return canvas_;
}

HBITMAP TBitmap::Handle() { return dib_; }

void TBitmap::SetHandle(HBITMAP Value) {
  if (Value == dib_) return;
  if (!Value) return Clear();
  CopyImage(Value);
  DeleteObject(Value);
  Changed(this);
}

void TBitmap::CopyImage(HBITMAP Value) {
  DIBSECTION ds{};
  const int size = GetObject(Value, sizeof ds, &ds);
  if (size < static_cast<int>(sizeof(BITMAP))) throw EInvalidGraphic("Bitmap image is not valid");
  TPixelFormat format;
  switch (ds.dsBm.bmBitsPixel * ds.dsBm.bmPlanes) {
    case 1: format = pf1bit; break;
    case 4: format = pf4bit; break;
    case 8: format = pf8bit; break;
    case 16:
      format = size == sizeof ds && ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[1] == 0x07E0 ? pf16bit
                                                                                                           : pf15bit;
      break;
    case 24: format = pf24bit; break;
    default: format = pf32bit; break;
  }
  std::vector<RGBQUAD> colors = dib::StandardColors(format);
  if (dib::Paletted(format) && size == sizeof ds) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Value);
    colors.resize(GetDIBColorTable(dc, 0, static_cast<UINT>(colors.size()), colors.data()));
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  const int width = ds.dsBm.bmWidth, height = ds.dsBm.bmHeight < 0 ? -ds.dsBm.bmHeight : ds.dsBm.bmHeight;
  const std::vector<BYTE> bits = BitsOf(Value, width, height, format, colors);
  NewImage(width, height, format, std::move(colors), bits.data());
  ddb_ = size != sizeof ds;
}

HBITMAP TBitmap::ReleaseHandle() {
  FreeContext();
  HBITMAP released = dib_;
  if (!released) return nullptr;
  const std::vector<BYTE> copy(bits_, bits_ + static_cast<std::size_t>(stride_) * height_);
  dib_ = nullptr;
  NewImage(width_, height_, format_, colors_, copy.data());
  return released;
}

void TBitmap::Dormant() {
  FreeContext();
  if (palette_) DeleteObject(palette_);
  palette_ = nullptr;
}

void TBitmap::SetHandleType(TBitmapHandleType Value) {
  if (Value == HandleType()) return;
  if (Value == bmDDB && format_ != dib::DeviceFormat()) Convert(dib::DeviceFormat(), {});
  ddb_ = Value == bmDDB;
  Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == pfDevice) return SetHandleType(bmDDB);
  if (Value == pfCustom) throw EInvalidGraphic("Invalid pixel format");
  if (Value == format_ && !ddb_) return;
  if (Value != format_) Convert(Value, {});
  ddb_ = false;
  Changed(this);
}

bool TBitmap::Monochrome() const {
  auto is = [](const RGBQUAD& c, BYTE v) { return c.rgbRed == v && c.rgbGreen == v && c.rgbBlue == v; };
  return format_ == pf1bit && colors_.size() == 2 && is(colors_[0], 0) && is(colors_[1], 255);
}

void TBitmap::SetMonochrome(bool Value) {
  if (Value == Monochrome()) return;
  if (Value) {
    Convert(pf1bit, dib::StandardColors(pf1bit));
  } else {
    Convert(dib::DeviceFormat(), {});
    ddb_ = true;
  }
  Changed(this);
}

void* TBitmap::ScanLine(int Y) {
  if (Y < 0 || Y >= height_) throw EInvalidGraphicOperation("Scan line index out of range");
  GdiFlush();
  ddb_ = false;
  return bits_ + static_cast<std::size_t>(stride_) * (height_ - 1 - Y);
}

HPALETTE TBitmap::GetPalette() {
  if (!palette_ && dib::Paletted(format_) && !colors_.empty()) {
    std::vector<BYTE> block(sizeof(LOGPALETTE) + colors_.size() * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(colors_.size());
    for (std::size_t i = 0; i < colors_.size(); ++i)
      lp->palPalEntry[i] = {colors_[i].rgbRed, colors_[i].rgbGreen, colors_[i].rgbBlue, 0};
    palette_ = CreatePalette(lp);
  }
  return palette_;
}

void TBitmap::SetPaletteImpl(HPALETTE Value) {
  if (Value == palette_) return;
  if (Value && dib::Paletted(format_)) {
    PALETTEENTRY entries[256];
    const UINT capacity = 1u << dib::BitsPerPixel(format_);
    const UINT count = GetPaletteEntries(Value, 0, capacity, entries);
    std::vector<RGBQUAD> colors(count);
    for (UINT i = 0; i < count; ++i) colors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    // The pixels keep their indexes; only the colours they stand for change.
    const std::vector<BYTE> bits(bits_, bits_ + static_cast<std::size_t>(stride_) * height_);
    NewImage(width_, height_, format_, std::move(colors), bits_ ? bits.data() : nullptr);
  } else {
    FreeContext();
    if (palette_) DeleteObject(palette_);
  }
  palette_ = Value;
  Changed(this);
}

HPALETTE TBitmap::ReleasePalette() {
  HPALETTE palette = GetPalette();
  FreeContext();
  palette_ = nullptr;
  return palette;
}

TColor TBitmap::TransparentColor() {
  if (transparentMode_ == tmFixed) return transparentColor_;
  if (GetEmpty()) return clDefault;
  // Rows are bottom-up: the bottom-left pixel is the first of the first row.
  const RGBQUAD c = dib::PixelColor(bits_, 0, format_, colors_);
  return static_cast<TColor>(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == transparentColor_ && (Value == clDefault) == (transparentMode_ == tmAuto)) return;
  transparentColor_ = Value;
  transparentMode_ = Value == clDefault ? tmAuto : tmFixed;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == transparentMode_) return;
  if (Value == tmAuto) SetTransparentColor(clDefault);
  else
    SetTransparentColor(TransparentColor());
}

void TBitmap::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TBitmap*>(Source);
  if (!Source || !source) {
    if (!Source) return Clear();
    return TGraphic::Assign(Source);
  }
  if (source == this) return;
  NewImage(source->width_, source->height_, source->format_, source->colors_, source->bits_);
  ddb_ = source->ddb_;
  transparentColor_ = source->transparentColor_;
  transparentMode_ = source->transparentMode_;
  SetTransparent(source->Transparent());
  Changed(this);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (GetEmpty()) return;
  if (Transparent()) return DrawMasked(ACanvas, Rect, {0, 0, width_, height_}, TransparentColor(), kMaskTransparent);
  HDC dest = ACanvas->Handle();
  HPALETTE oldPalette = nullptr;
  if (HPALETTE palette = GetPalette()) {
    oldPalette = SelectPalette(dest, palette, TRUE);
    RealizePalette(dest);
  }
  StretchBlt(dest, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, Canvas()->Handle(), 0, 0,
             width_, height_, static_cast<DWORD>(ACanvas->CopyMode()));
  if (oldPalette) SelectPalette(dest, oldPalette, TRUE);
}

void TBitmap::DrawMasked(TCanvas* ACanvas, const TRect& Dest, const TRect& Source, TColor Color, TMaskUse Use) {
  if (GetEmpty()) return;
  const int w = Source.right - Source.left, h = Source.bottom - Source.top;
  const int dw = Dest.right - Dest.left, dh = Dest.bottom - Dest.top;
  if (w <= 0 || h <= 0) return;
  HDC source = Canvas()->Handle();
  HDC dest = ACanvas->Handle();
  // 1 where the source shows Color.
  HDC maskDC = CreateCompatibleDC(nullptr);
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  HGDIOBJ oldMask = SelectObject(maskDC, mask);
  const COLORREF sourceBk = SetBkColor(source, ColorToRGB(Color));
  BitBlt(maskDC, 0, 0, w, h, source, Source.left, Source.top, SRCCOPY);
  SetBkColor(source, sourceBk);
  // Mask bits draw as the destination's text colour (0) and background colour (1).
  const COLORREF destText = SetTextColor(dest, RGB(0, 0, 0));
  const COLORREF destBk = SetBkColor(dest, RGB(255, 255, 255));
  if (Use == kMaskTakesBrush) {
    StretchBlt(dest, Dest.left, Dest.top, dw, dh, source, Source.left, Source.top, w, h, SRCCOPY);
    // Where the mask is 1 the brush, elsewhere the destination (ROP3 DSPDxax).
    StretchBlt(dest, Dest.left, Dest.top, dw, dh, maskDC, 0, 0, w, h, 0x00E20746);
  } else {
    // The source with its transparent pixels black, ORed into a destination cleared where the
    // source is opaque.
    HDC imageDC = CreateCompatibleDC(nullptr);
    HBITMAP image = CreateCompatibleBitmap(source, w, h);
    HGDIOBJ oldImage = SelectObject(imageDC, image);
    BitBlt(imageDC, 0, 0, w, h, source, Source.left, Source.top, SRCCOPY);
    SetTextColor(imageDC, RGB(0, 0, 0));
    SetBkColor(imageDC, RGB(255, 255, 255));
    BitBlt(imageDC, 0, 0, w, h, maskDC, 0, 0, 0x00220326);  // DSna
    StretchBlt(dest, Dest.left, Dest.top, dw, dh, maskDC, 0, 0, w, h, SRCAND);
    StretchBlt(dest, Dest.left, Dest.top, dw, dh, imageDC, 0, 0, w, h, SRCPAINT);
    SelectObject(imageDC, oldImage);
    DeleteObject(image);
    DeleteDC(imageDC);
  }
  SetTextColor(dest, destText);
  SetBkColor(dest, destBk);
  SelectObject(maskDC, oldMask);
  DeleteObject(mask);
  DeleteDC(maskDC);
}

void TBitmap::LoadFromStream(TStream* Stream) {
  if (Stream->Position() >= Stream->Size()) return Clear();
  dib::TDibImage image = dib::ReadBmp(Stream);
  NewImage(image.Width, image.Height, image.Format, std::move(image.Colors), image.Bits.data());
  ddb_ = false;
  Changed(this);
}

void TBitmap::SaveToStream(TStream* Stream) {
  if (GetEmpty()) return;
  GdiFlush();
  dib::WriteBmp(Stream, width_, height_, format_, colors_, bits_);
}

void TBitmap::ReadData(TStream* Stream) {
  DWORD size = 0;
  Stream->ReadBuffer(&size, sizeof size);
  const std::int64_t end = Stream->Position() + size;
  if (end > Stream->Size()) throw EInvalidGraphic("Bitmap image is not valid");
  if (size == 0) Clear();
  else
    LoadFromStream(Stream);
  Stream->SetPosition(end);
}

void TBitmap::WriteData(TStream* Stream) {
  TMemoryStream image;
  SaveToStream(&image);
  const DWORD size = static_cast<DWORD>(image.Size());
  Stream->WriteBuffer(&size, sizeof size);
  Stream->WriteBuffer(image.Memory(), size);
}

void TBitmap::LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE) {
  if (AFormat == CF_BITMAP && AData) {
    // The clipboard keeps its bitmap.
    CopyImage(AData);
    return Changed(this);
  }
  if (AFormat != CF_DIB || !AData) throw EInvalidGraphic("Unsupported clipboard format");
  const void* block = GlobalLock(AData);
  if (!block) throw EInvalidGraphic("Bitmap image is not valid");
  {
    ScopeExit unlock([&] { GlobalUnlock(AData); });
    dib::TDibImage image = dib::ReadPackedDib(static_cast<const BYTE*>(block), GlobalSize(AData));
    NewImage(image.Width, image.Height, image.Format, std::move(image.Colors), image.Bits.data());
  }
  ddb_ = false;
  Changed(this);
}

void TBitmap::SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette) {
  TMemoryStream packed;
  if (!GetEmpty()) dib::WritePackedDib(&packed, width_, height_, format_, colors_, bits_);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(packed.Size()));
  if (!block) throw EOutOfResources("Out of system resources");
  std::memcpy(GlobalLock(block), packed.Memory(), static_cast<std::size_t>(packed.Size()));
  GlobalUnlock(block);
  AFormat = CF_DIB;
  AData = block;
  APalette = nullptr;
}

void TBitmap::LoadFromResourceName(HINSTANCE, const std::string& ResName) {
  const auto found = Resources().find(UpperCase(ResName));
  if (found == Resources().end()) throw EResNotFound("Resource %s not found", {ResName});
  TCustomMemoryStream stream;
  stream.SetPointer(const_cast<void*>(found->second.first), static_cast<std::int64_t>(found->second.second));
  LoadFromStream(&stream);
}
