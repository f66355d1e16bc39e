#pragma once
// The device context and the pixel interface that the GDI's drawing code (raster and text) goes
// through. Division of the calls between the raster half and the text engine:
// - raster (dc.cpp): SetTextColor/GetTextColor, SetBkColor/GetBkColor, SetBkMode/GetBkMode,
//   SelectObject (fonts included: it only swaps the handle in state.font), SaveDC/RestoreDC,
//   origins and clipping;
// - text engine: SetTextAlign/GetTextAlign (they write state.textAlign), and everything that reads
//   state.font. A font handle may be a stock font: a GdiObject of kind Font with stockIndex set
//   (SYSTEM_FONT is what a new DC has selected).
// Coordinates: logical = what the caller passes; device = pixels of the surface. Device = logical
// - windowOrg + viewportOrg (MM_TEXT only). Clip regions are kept in device coordinates.
#include <memory>
#include <optional>
#include <vector>

#include "gdi_object.h"
#include "region.h"
#include "surface.h"
#include "win32/text.h"

namespace gdi {

// Everything SaveDC keeps.
struct DcState {
  HBITMAP bitmap = nullptr;  // memory DCs: the selected bitmap (the stock 1x1 mono one at first)
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
  HPALETTE palette = nullptr;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  UINT textAlign = 0;
  int rop2 = R2_COPYPEN;
  int stretchMode = BLACKONWHITE;
  int polyFillMode = ALTERNATE;
  POINT viewportOrg{0, 0};
  POINT windowOrg{0, 0};
  POINT brushOrg{0, 0};
  POINT penPos{0, 0};  // logical
  std::optional<Region> clip;  // device coordinates; none = no clip region
};

struct DeviceContext : GdiObject {
  explicit DeviceContext(bool memory) : GdiObject(memory ? ObjectKind::MemoryDC : ObjectKind::DC) {}
  ~DeviceContext() override;

  bool IsMemory() const { return kind == ObjectKind::MemoryDC; }
  // The surface drawn into: the selected bitmap's for a memory DC, the device's otherwise.
  Surface* GetSurface() const;
  // Device-coordinate region that may be drawn: the surface, the visible region and the clip region
  // intersected. Recomputed when one of them changes.
  const Region& Drawable();
  void ClipChanged() { drawableValid_ = false; }

  POINT ToDevice(POINT logical) const {
    return {logical.x - state.windowOrg.x + state.viewportOrg.x, logical.y - state.windowOrg.y + state.viewportOrg.y};
  }
  POINT ToLogical(POINT onDevice) const {
    return {onDevice.x + state.windowOrg.x - state.viewportOrg.x, onDevice.y + state.windowOrg.y - state.viewportOrg.y};
  }
  RECT ToDevice(const RECT& r) const;

  DcState state;
  std::vector<DcState> saved;
  // Screen and window DCs draw into this surface (memory DCs leave it empty).
  std::shared_ptr<Surface> device;
  // The part of the device this DC may reach (a window's area on the screen), device coordinates;
  // none = the whole surface. The USER layer sets it for window DCs.
  std::optional<Region> visible;

 private:
  Region drawable_;
  bool drawableValid_ = false;
};

DeviceContext* FindDC(HDC handle);
// A DC that draws straight into `surface` (the screen, a window surface of the USER layer).
HDC CreateDeviceDC(std::shared_ptr<Surface> surface);

// A COLORREF as an RGB: PALETTEINDEX(i) is entry i of the selected palette, PALETTERGB its RGB.
COLORREF ResolveColor(const DeviceContext& dc, COLORREF color);
// The pixel value that shows `color` (any COLORREF form) on the DC's surface.
DWORD PixelValue(const DeviceContext& dc, COLORREF color);

// Pixel interface, device coordinates, honouring Drawable() and the surface format. The fills
// write the value (no ROP); the text engine draws glyph coverage through them.
void FillDeviceSpan(DeviceContext& dc, int y, int x0, int x1, DWORD value);
void FillDeviceRect(DeviceContext& dc, const RECT& deviceRect, DWORD value);
void SetDevicePixel(DeviceContext& dc, int x, int y, DWORD value);

}  // namespace gdi
