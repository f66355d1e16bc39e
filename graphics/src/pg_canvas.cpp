// The canvas of a pixel image and the library's list of canvases that hold a device context.
#include "graphics/pg_canvas.h"

#include <vector>

#include "graphics/palettes.h"

TPGCanvas::~TPGCanvas() { FreeContext(); }

void TPGCanvas::CreateHandle() {
  if (!graphic_) return;
  HBITMAP section = graphic_->BitmapHandle();
  if (section)
    for (int i = PGLiveCanvases->Count() - 1; i >= 0; --i) {
      auto* other = static_cast<TPGCanvas*>(PGLiveCanvases->Items(i));
      if (other != this && other->graphic_ && other->graphic_->BitmapHandle() == section) other->FreeContext();
    }
  HDC dc = CreateCompatibleDC(nullptr);
  if (section) oldBitmap_ = SelectObject(dc, section);
  if (HPALETTE palette = graphic_->GetPalette()) {
    oldPalette_ = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
  }
  const int capacity = graphic_->GetPaletteCapacity();
  if (capacity > 0) {
    std::vector<RGBQUAD> table(static_cast<std::size_t>(capacity), RGBQUAD{0, 0, 0, 0});
    const int count = graphic_->PaletteCount();
    for (int i = 0; i < capacity && count > 0; ++i) {
      TColor c = graphic_->GetPaletteEntry(i < count ? i : 0);
      table[static_cast<std::size_t>(i)] =
          RGBQUAD{static_cast<BYTE>(BlueOf(c)), static_cast<BYTE>(GreenOf(c)), static_cast<BYTE>(RedOf(c)), 0};
    }
    SetDIBColorTable(dc, 0, static_cast<UINT>(capacity), table.data());
  }
  SetHandle(dc);
  dc_ = dc;
  PGLiveCanvases->Add(this);
}

void TPGCanvas::FreeContext() {
  if (!dc_) return;
  if (oldBitmap_) SelectObject(dc_, oldBitmap_);
  if (oldPalette_) SelectPalette(dc_, oldPalette_, TRUE);
  oldBitmap_ = nullptr;
  oldPalette_ = nullptr;
  SetHandle(nullptr);
  DeleteDC(dc_);
  dc_ = nullptr;
  PGLiveCanvases->Remove(this);
}

void FreeAllCanvases() {
  while (PGLiveCanvases->Count() > 0) static_cast<TPGCanvas*>(PGLiveCanvases->Items(0))->FreeContext();
}

// ---- The image's side ----------------------------------------------------------------------

TPGCanvas* TPixelGraphic::GetCanvas() {
  if (!canvas_) {
    canvas_ = new TPGCanvas(this);
    canvas_->OnChange = [this](TObject*) { Changed(); };
  }
  gdiFlushPending_ = true;
  return canvas_;
}

void TPixelGraphic::ReleaseCanvasHandle() {
  if (canvas_) canvas_->FreeContext();
}
