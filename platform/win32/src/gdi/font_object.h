#pragma once
// Font handles: the logical font a program asked for, made real on first use.
#include <memory>

#include "gdi/dc.h"
#include "gdi/font_face.h"

namespace fonts {

struct FontObject : gdi::GdiObject {
  explicit FontObject(const LOGFONTA& lf) : GdiObject(gdi::ObjectKind::Font), logFont(lf) {}
  int Describe(int size, void* out) const override;

  LOGFONTA logFont;
  std::shared_ptr<FontFace> face;  // made on first use
};

// The stock font of a GetStockObject index (SYSTEM_FONT for an index that names no font), for the
// stock object table to hold so that GetObject describes it like any font.
std::unique_ptr<gdi::GdiObject> CreateStockFont(int index);

// The logical font behind a font handle, stock fonts included; SYSTEM_FONT's for anything else.
LOGFONTA LogFontOf(HFONT font);

// The face of the font selected into the DC. Callers hold EngineMutex().
FontFace& SelectedFace(const gdi::DeviceContext& dc);

}  // namespace fonts
