#include "gdi/font_object.h"

#include <algorithm>
#include <cstring>

#include "gdi/font_match.h"

namespace fonts {
namespace {

struct StockFont {
  int index;
  LONG height;
  LONG weight;
  BYTE pitchAndFamily;
  const char* face;
};

// Windows 95 at 96 dots per inch.
constexpr StockFont kStockFonts[] = {
    {SYSTEM_FONT, 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System"},
    {DEVICE_DEFAULT_FONT, 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System"},
    {DEFAULT_GUI_FONT, -11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"},
    {ANSI_VAR_FONT, 12, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"},
    {ANSI_FIXED_FONT, 12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier New"},
    {OEM_FIXED_FONT, 12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier New"},
    {SYSTEM_FIXED_FONT, 16, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier New"},
};

LOGFONTA StockLogFont(int index) {
  const StockFont* s = std::find_if(std::begin(kStockFonts), std::end(kStockFonts),
                                    [&](const StockFont& f) { return f.index == index; });
  if (s == std::end(kStockFonts)) s = &kStockFonts[0];
  LOGFONTA lf{};
  lf.lfHeight = s->height;
  lf.lfWeight = s->weight;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfPitchAndFamily = s->pitchAndFamily;
  std::strncpy(lf.lfFaceName, s->face, LF_FACESIZE - 1);
  return lf;
}

}  // namespace

int FontObject::Describe(int size, void* out) const {
  if (!out) return static_cast<int>(sizeof logFont);
  const int n = std::clamp(size, 0, static_cast<int>(sizeof logFont));
  std::memcpy(out, &logFont, static_cast<std::size_t>(n));
  return n;
}

std::unique_ptr<gdi::GdiObject> CreateStockFont(int index) {
  auto font = std::make_unique<FontObject>(StockLogFont(index));
  font->stockIndex = index;
  return font;
}

LOGFONTA LogFontOf(HFONT handle) {
  gdi::GdiObject* object = gdi::FindObject(handle);
  if (object && object->kind == gdi::ObjectKind::Font) {
    if (auto* font = dynamic_cast<FontObject*>(object)) return font->logFont;
    if (object->stockIndex >= 0) return StockLogFont(object->stockIndex);
  }
  return StockLogFont(SYSTEM_FONT);
}

FontFace& SelectedFace(const gdi::DeviceContext& dc) {
  gdi::GdiObject* object = gdi::FindObject(dc.state.font);
  if (auto* font = dynamic_cast<FontObject*>(object)) {
    if (!font->face) font->face = FontFace::For(font->logFont);
    return *font->face;
  }
  // Plain stock fonts: the face cache keeps the one in use alive.
  static std::shared_ptr<FontFace> lastStock;
  lastStock = FontFace::For(LogFontOf(dc.state.font));
  return *lastStock;
}

}  // namespace fonts

HFONT CreateFontIndirectA(const LOGFONTA* lf) {
  if (!lf) return nullptr;
  LOGFONTA copy = *lf;
  copy.lfFaceName[LF_FACESIZE - 1] = '\0';
  return gdi::AddObject(std::make_unique<fonts::FontObject>(copy));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR faceName) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic);
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (faceName) std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}
