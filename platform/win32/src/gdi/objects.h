#pragma once
// The drawing objects of the raster GDI: bitmaps, palettes, pens and brushes.
#include <memory>
#include <vector>

#include "gdi_object.h"
#include "surface.h"

namespace gdi {

struct BitmapObject : GdiObject {
  BitmapObject() : GdiObject(ObjectKind::Bitmap) {}
  int Describe(int size, void* out) const override;

  std::shared_ptr<Surface> surface;
  bool dibSection = false;
  // The memory DC it is selected into (a bitmap is in one DC at a time), or 0.
  HDC selectedInto = nullptr;
};
BitmapObject* FindBitmap(HBITMAP handle);
// A new bitmap object around a surface.
HBITMAP AddBitmap(std::shared_ptr<Surface> surface, bool dibSection);
// A new bitmap with a copy of the pixels; 0 for a handle that is no bitmap.
HBITMAP CopyBitmap(HBITMAP source);
// The stock 1x1 monochrome bitmap a new memory DC holds.
HBITMAP DefaultBitmap();
// A surface of the format CreateCompatibleBitmap gives for this DC (monochrome, or the screen's).
std::shared_ptr<Surface> CompatibleSurface(HDC dc, int width, int height);
// A monochrome bitmap's surface: 1 bit, black and white, rows top-down.
std::shared_ptr<Surface> MonochromeSurface(int width, int height);

struct PaletteObject : GdiObject {
  PaletteObject() : GdiObject(ObjectKind::Palette) {}
  int Describe(int size, void* out) const override;
  std::vector<PALETTEENTRY> entries;
};
PaletteObject* FindPalette(HPALETTE handle);
// The 20 static colours: entries 0-9 and 246-255 of the system palette.
const PALETTEENTRY* StaticColors();

struct PenObject : GdiObject {
  PenObject() : GdiObject(ObjectKind::Pen) {}
  int Describe(int size, void* out) const override;
  LOGPEN pen{};
  int Style() const { return static_cast<int>(pen.lopnStyle & PS_STYLE_MASK); }
  int Width() const { return pen.lopnWidth.x < 1 ? 1 : pen.lopnWidth.x; }
};
PenObject* FindPen(HPEN handle);

struct BrushObject : GdiObject {
  BrushObject() : GdiObject(ObjectKind::Brush) {}
  int Describe(int size, void* out) const override;
  LOGBRUSH brush{};
  // Pattern brushes: a copy of the bitmap taken when the brush was made.
  std::shared_ptr<Surface> pattern;
};
BrushObject* FindBrush(HBRUSH handle);

}  // namespace gdi
