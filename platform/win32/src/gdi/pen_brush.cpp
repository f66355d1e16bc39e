#include <cstring>

#include "objects.h"

namespace gdi {

PenObject* FindPen(HPEN handle) { return Find<PenObject>(handle, ObjectKind::Pen); }
BrushObject* FindBrush(HBRUSH handle) { return Find<BrushObject>(handle, ObjectKind::Brush); }

int PenObject::Describe(int size, void* out) const {
  if (!out) return static_cast<int>(sizeof(LOGPEN));
  if (size < static_cast<int>(sizeof(LOGPEN))) return 0;
  std::memcpy(out, &pen, sizeof pen);
  return static_cast<int>(sizeof(LOGPEN));
}

int BrushObject::Describe(int size, void* out) const {
  if (!out) return static_cast<int>(sizeof(LOGBRUSH));
  if (size < static_cast<int>(sizeof(LOGBRUSH))) return 0;
  std::memcpy(out, &brush, sizeof brush);
  return static_cast<int>(sizeof(LOGBRUSH));
}

}  // namespace gdi

using namespace gdi;

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
  auto p = std::make_unique<PenObject>();
  p->pen = LOGPEN{static_cast<UINT>(style), POINT{width < 0 ? 0 : width, 0}, color};
  return AddObject(std::move(p));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  return pen ? CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor) : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto b = std::make_unique<BrushObject>();
  b->brush = LOGBRUSH{BS_SOLID, color, 0};
  return AddObject(std::move(b));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
  auto b = std::make_unique<BrushObject>();
  b->brush = LOGBRUSH{BS_HATCHED, color, static_cast<ULONG_PTR>(hatch)};
  return AddObject(std::move(b));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  BitmapObject* source = FindBitmap(bitmap);
  if (!source) return nullptr;
  auto b = std::make_unique<BrushObject>();
  b->brush = LOGBRUSH{BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(bitmap)};
  b->pattern = std::make_shared<Surface>(*source->surface);
  b->pattern->bits = b->pattern->storage.data();
  return AddObject(std::move(b));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return nullptr;
  switch (brush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(brush->lbColor);
    case BS_NULL: return GetStockObject(NULL_BRUSH);
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    default: return nullptr;
  }
}
