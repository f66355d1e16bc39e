#pragma once
// The GDI object table: every pen, brush, font, bitmap, palette, region and device context lives
// here behind a handle. Objects are plain C++ objects owned by the table; handles are small numbers
// so a stale or foreign handle is recognised instead of being dereferenced.
#include <memory>
#include <mutex>

#include "win32/gdi.h"

namespace gdi {

// The kinds, numbered as GetObjectType reports them. Icon is not a GDI object in Windows (it is
// a USER object) but shares the table; GetObjectType gives 0 for it.
enum class ObjectKind : int {
  Pen = OBJ_PEN,
  Brush = OBJ_BRUSH,
  DC = OBJ_DC,
  Palette = OBJ_PAL,
  Font = OBJ_FONT,
  Bitmap = OBJ_BITMAP,
  Region = OBJ_REGION,
  MemoryDC = OBJ_MEMDC,
  EnhMetafile = 13,  // OBJ_ENHMETAFILE (win32/metafile.h)
  Icon = 0x100,
};

struct GdiObject {
  explicit GdiObject(ObjectKind k) : kind(k) {}
  virtual ~GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  // GetObject's answer: copies at most `size` bytes of the object's description into `out` (null:
  // only the size is asked) and returns the bytes written, 0 when the kind has no description.
  virtual int Describe(int size, void* out) const {
    (void)size;
    (void)out;
    return 0;
  }

  const ObjectKind kind;
  // GetStockObject index for stock objects (never deleted), else -1. The stock fonts are plain
  // GdiObjects of kind Font with this index set: the text engine recognises them by it.
  int stockIndex = -1;
  // Device contexts this object is selected into; DeleteObject refuses while it is above 0.
  int selectCount = 0;
};

// Takes ownership and returns the new handle.
HGDIOBJ AddObject(std::unique_ptr<GdiObject> object);
// The object behind a handle, or null for 0, a deleted or an unknown handle.
GdiObject* FindObject(HGDIOBJ handle);
// The object when it is of kind K (T is its class), else null.
template <class T>
T* Find(HGDIOBJ handle, ObjectKind k) {
  GdiObject* o = FindObject(handle);
  return o && o->kind == k ? static_cast<T*>(o) : nullptr;
}
// Removes and destroys the object (stock objects and selected objects are refused). False when the
// handle is not in the table.
bool RemoveObject(HGDIOBJ handle);

// The handle of a stock object, made on first use (index as for GetStockObject).
HGDIOBJ StockObject(int index);

}  // namespace gdi
