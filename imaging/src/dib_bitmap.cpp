#include "imaging/dib_bitmap.h"

#include "imaging/bit_routines.h"
#include "vcl/sysutils.h"

DibBitmap::DibBitmap(int width, int height, int bits) : bits_(bits) { SetSize(width, height); }

DibBitmap::~DibBitmap() {
  if (handle_) DeleteObject(handle_);
}

void DibBitmap::SetSize(int width, int height) {
  if (width < 1 || height < 1) width = height = 0;
  if (std::int64_t{width} * height > kMaxPixels) throw EOutOfResources("Out of system resources");
  width_ = width;
  height_ = height;
  Allocate();
}

void DibBitmap::SetBits(int bits) {
  bits_ = bits == 1 ? 1 : 24;
  Allocate();
}

void DibBitmap::Allocate() {
  if (handle_) DeleteObject(handle_);
  handle_ = nullptr;
  bits_memory_ = nullptr;
  stride_ = RowStride(width_, bits_);
  if (width_ == 0) return;
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
  } info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width_;
  info.header.biHeight = height_;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bits_);
  info.header.biCompression = BI_RGB;
  info.colors[1] = {255, 255, 255, 0};
  void* memory = nullptr;
  handle_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &memory, nullptr, 0);
  if (!handle_) throw EOutOfResources("Out of system resources");
  bits_memory_ = static_cast<std::uint8_t*>(memory);
}

PixelRows DibBitmap::Rows() const {
  if (!bits_memory_) return {nullptr, 0, 0, 0, bits_};
  return {ScanLine(0), -static_cast<std::ptrdiff_t>(stride_), width_, height_, bits_};
}

void DibBitmap::Fill(COLORREF color) {
  if (!handle_) return;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, handle_);
  HBRUSH brush = CreateSolidBrush(color);
  RECT all{0, 0, width_, height_};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  SelectObject(dc, old);
  DeleteDC(dc);
}
