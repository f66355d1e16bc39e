#include "gdi/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <utility>

#include "gdi/font_match.h"

namespace fonts {
namespace {

constexpr LONG kDefaultCellHeight = 16;  // lfHeight 0, the height of the System font
constexpr LONG kMaxPixelHeight = 1000;  // bounds the glyph bitmaps a hostile size could ask for
constexpr double kObliqueShear = 0.2126;  // about 12 degrees
constexpr std::size_t kCachedFonts = 32;

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library l = nullptr;
    return FT_Init_FreeType(&l) == 0 ? l : nullptr;
  }();
  return library;
}

// The average of the old OS/2 definition (lower-case letters and space, weighted by frequency):
// the value Windows fonts of the time carry, which newer faces replace by a plain mean.
struct LetterWeight {
  char32_t c;
  int weight;
};
constexpr std::array<LetterWeight, 27> kLetterWeights = {{
    {U'a', 64}, {U'b', 14}, {U'c', 27}, {U'd', 35}, {U'e', 100}, {U'f', 20}, {U'g', 14}, {U'h', 42}, {U'i', 63},
    {U'j', 3},  {U'k', 6},  {U'l', 35}, {U'm', 20}, {U'n', 56},  {U'o', 56}, {U'p', 17}, {U'q', 4},  {U'r', 49},
    {U's', 56}, {U't', 71}, {U'u', 31}, {U'v', 10}, {U'w', 18},  {U'x', 3},  {U'y', 18}, {U'z', 2},  {U' ', 166},
}};

double WeightedAverageUnits(FT_Face face) {
  double sum = 0;
  for (const LetterWeight& lw : kLetterWeights) {
    const FT_UInt index = FT_Get_Char_Index(face, lw.c);
    FT_Fixed advance = 0;
    if (index == 0 || FT_Get_Advance(face, index, FT_LOAD_NO_SCALE, &advance) != 0) return 0;
    sum += static_cast<double>(advance) * lw.weight;
  }
  return sum / 1000.0;
}

bool HasSymbolMap(FT_Face face) {
  for (int i = 0; i < face->num_charmaps; ++i)
    if (face->charmaps[i]->encoding == FT_ENCODING_MS_SYMBOL) return true;
  return false;
}

BYTE FamilyOf(const TT_OS2* os2, bool fixed, bool symbol) {
  if (symbol) return FF_DECORATIVE;
  if (fixed) return FF_MODERN;
  if (!os2) return FF_DONTCARE;
  switch (os2->panose[0]) {
    case 2:
      if (os2->panose[1] >= 11 && os2->panose[1] <= 13) return FF_SWISS;
      if (os2->panose[1] >= 2 && os2->panose[1] <= 10) return FF_ROMAN;
      break;
    case 3: return FF_SCRIPT;
    case 4:
    case 5: return FF_DECORATIVE;
    default: break;
  }
  const int cls = os2->sFamilyClass >> 8;
  if (cls >= 1 && cls <= 7) return FF_ROMAN;
  if (cls == 8) return FF_SWISS;
  if (cls == 10) return FF_SCRIPT;
  if (cls == 9 || cls == 12) return FF_DECORATIVE;
  return FF_DONTCARE;
}

std::string FaceNameOf(const LOGFONTA& lf) { return std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)); }

// Equal logical fonts share one face; the face name counts up to its NUL only.
std::string KeyOf(const LOGFONTA& lf) {
  LOGFONTA copy = lf;
  const std::string name = FaceNameOf(lf);
  std::memset(copy.lfFaceName, 0, sizeof copy.lfFaceName);
  std::memcpy(copy.lfFaceName, name.data(), name.size());
  return std::string(reinterpret_cast<const char*>(&copy), sizeof copy);
}

}  // namespace

struct FontFace::Engine {
  FT_Face face = nullptr;
  bool symbol = false;
  bool transformed = false;
  FT_Matrix matrix{};
  ~Engine() {
    if (face) FT_Done_Face(face);
  }
};

std::shared_ptr<FontFace> FontFace::For(const LOGFONTA& lf) {
  static std::map<std::string, std::shared_ptr<FontFace>> cache;
  const std::string key = KeyOf(lf);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  if (cache.size() >= kCachedFonts)
    std::erase_if(cache, [](const auto& entry) { return entry.second.use_count() == 1; });
  std::shared_ptr<FontFace> face(new FontFace(lf));
  cache.emplace(key, face);
  return face;
}

FontFace::~FontFace() = default;

FontFace::FontFace(const LOGFONTA& lf) : engine_(std::make_unique<Engine>()) {
  const std::string requested = FaceNameOf(lf);
  const bool wantBold = lf.lfWeight >= FW_SEMIBOLD;
  const bool wantItalic = lf.lfItalic != 0;
  const MatchedFace match = MatchFace(requested, lf.lfPitchAndFamily, lf.lfWeight, wantItalic);
  const std::string windowsName = WindowsName(requested);
  faceName_ = !windowsName.empty() ? windowsName : match.family;
  emboldenSynthetic_ = wantBold && match.weight < FW_SEMIBOLD;
  obliqueSynthetic_ = wantItalic && !match.italic;
  escapement_ = (lf.lfEscapement % 3600) / 10.0 * std::numbers::pi / 180.0;

  if (Library() && !match.file.empty() && FT_New_Face(Library(), match.file.c_str(), match.index, &engine_->face) != 0)
    engine_->face = nullptr;
  if (engine_->face && !FT_IS_SCALABLE(engine_->face)) {
    FT_Done_Face(engine_->face);
    engine_->face = nullptr;
  }

  LONG height = lf.lfHeight == 0 ? kDefaultCellHeight : lf.lfHeight;
  height = std::clamp<LONG>(height, -kMaxPixelHeight, kMaxPixelHeight);
  double ppem = height < 0 ? -height : height;
  if (engine_->face && height > 0) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(engine_->face, FT_SFNT_OS2));
    const double cell = os2 && os2->usWinAscent + os2->usWinDescent > 0
                            ? os2->usWinAscent + os2->usWinDescent
                            : engine_->face->ascender - engine_->face->descender;
    if (cell > 0) ppem = height * engine_->face->units_per_EM / cell;
  }
  ppem = std::max(ppem, 1.0);
  if (engine_->face) FT_Set_Char_Size(engine_->face, 0, std::lround(ppem * 64), 72, 72);

  Measure(ppem);
  metrics_.tmWeight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
  metrics_.tmItalic = wantItalic ? 1 : 0;
  metrics_.tmUnderlined = lf.lfUnderline ? 1 : 0;
  metrics_.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
  if (height > 0) {
    // A cell height asks for exactly that height.
    metrics_.tmDescent = std::max<LONG>(0, height - metrics_.tmAscent);
    metrics_.tmHeight = metrics_.tmAscent + metrics_.tmDescent;
    metrics_.tmInternalLeading = std::max<LONG>(0, metrics_.tmHeight - std::lround(ppem));
  }
  if (IsRasterName(requested)) metrics_.tmPitchAndFamily = TMPF_FIXED_PITCH | FF_SWISS;

  if (emboldenSynthetic_) emboldenStrength_ = std::max<int>(64, static_cast<int>(std::lround(ppem / 24.0)) * 64);
  const double c = std::cos(escapement_), s = std::sin(escapement_);
  const double shear = obliqueSynthetic_ ? kObliqueShear : 0.0;
  engine_->transformed = lf.lfEscapement % 3600 != 0 || obliqueSynthetic_;
  // Outline space has y up: shear first, then rotate counter-clockwise.
  engine_->matrix.xx = std::lround(c * 65536);
  engine_->matrix.xy = std::lround((c * shear - s) * 65536);
  engine_->matrix.yx = std::lround(s * 65536);
  engine_->matrix.yy = std::lround((s * shear + c) * 65536);
}

void FontFace::Measure(double ppem) {
  TEXTMETRICA& m = metrics_;
  m.tmDigitizedAspectX = m.tmDigitizedAspectY = 96;
  m.tmFirstChar = 0x20;
  m.tmLastChar = 0xFF;
  m.tmDefaultChar = 0x1F;
  m.tmBreakChar = 0x20;
  FT_Face face = engine_->face;
  if (!face) {
    m.tmAscent = std::lround(ppem * 0.8);
    m.tmDescent = std::lround(ppem * 0.2);
    m.tmHeight = m.tmAscent + m.tmDescent;
    m.tmPitchAndFamily = TMPF_FIXED_PITCH;
    m.tmCharSet = ANSI_CHARSET;
    return;
  }
  const double scale = ppem / face->units_per_EM;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  const bool winMetrics = os2 && os2->usWinAscent + os2->usWinDescent > 0;
  const double ascentUnits = winMetrics ? os2->usWinAscent : face->ascender;
  const double descentUnits = winMetrics ? os2->usWinDescent : -face->descender;
  m.tmAscent = std::lround(ascentUnits * scale);
  m.tmDescent = std::lround(descentUnits * scale);
  m.tmHeight = m.tmAscent + m.tmDescent;
  m.tmInternalLeading = std::max<LONG>(0, m.tmHeight - std::lround(ppem));
  if (hhea) {
    const double gap = hhea->Line_Gap - ((ascentUnits + descentUnits) - (hhea->Ascender - hhea->Descender));
    m.tmExternalLeading = std::max<LONG>(0, std::lround(gap * scale));
  }
  const double average = WeightedAverageUnits(face);
  m.tmAveCharWidth = std::lround((average > 0 ? average : os2 ? os2->xAvgCharWidth : ppem / scale / 2) * scale);
  m.tmMaxCharWidth = std::lround(face->max_advance_width * scale);
  design_.em = face->units_per_EM;
  design_.cellHeight = static_cast<UINT>(ascentUnits + descentUnits);
  design_.averageWidth = static_cast<UINT>(std::lround(average > 0 ? average : os2 ? os2->xAvgCharWidth : 0));

  engine_->symbol = HasSymbolMap(face);
  const bool fixed = FT_IS_FIXED_WIDTH(face) || (os2 && os2->panose[0] == 2 && os2->panose[3] == 9);
  m.tmPitchAndFamily = static_cast<BYTE>((fixed ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE |
                                         FamilyOf(os2, fixed, engine_->symbol));
  m.tmCharSet = engine_->symbol ? SYMBOL_CHARSET : ANSI_CHARSET;

  underline_.thickness = std::max(1, static_cast<int>(std::lround(face->underline_thickness * scale)));
  underline_.offset = static_cast<int>(std::lround(-face->underline_position * scale - underline_.thickness / 2.0));
  if (underline_.offset + underline_.thickness > m.tmDescent) underline_.offset = m.tmDescent - underline_.thickness;
  underline_.offset = std::max(underline_.offset, 1);
  if (os2 && os2->yStrikeoutSize > 0) {
    strikeOut_.thickness = std::max(1, static_cast<int>(std::lround(os2->yStrikeoutSize * scale)));
    strikeOut_.offset = -static_cast<int>(std::lround(os2->yStrikeoutPosition * scale));
  } else {
    strikeOut_.thickness = underline_.thickness;
    strikeOut_.offset = -static_cast<int>(std::lround(ppem * 0.3));
  }
}

const Glyph& FontFace::GlyphOf(char32_t c) {
  if (auto it = glyphs_.find(c); it != glyphs_.end()) return it->second;
  return glyphs_.emplace(c, Render(c)).first->second;
}

Glyph FontFace::Render(char32_t c) {
  Glyph g;
  FT_Face face = engine_->face;
  if (!face || c < 0x20) return g;  // control characters take no room
  FT_UInt index = FT_Get_Char_Index(face, c);
  if (index == 0 && engine_->symbol && c < 0x100) index = FT_Get_Char_Index(face, 0xF000 + c);
  const FT_Int32 flags = FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP;

  FT_Set_Transform(face, nullptr, nullptr);
  if (FT_Load_Glyph(face, index, flags) != 0) return g;
  g.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6) + emboldenStrength_ / 64;
  if (engine_->transformed) {
    FT_Set_Transform(face, &engine_->matrix, nullptr);
    const bool loaded = FT_Load_Glyph(face, index, flags) == 0;
    FT_Set_Transform(face, nullptr, nullptr);
    if (!loaded) return g;
  }
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return g;
  if (emboldenStrength_ > 0) FT_Outline_Embolden(&slot->outline, emboldenStrength_);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0 || slot->bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return g;

  const FT_Bitmap& bm = slot->bitmap;
  g.left = slot->bitmap_left;
  g.top = -slot->bitmap_top;
  g.width = static_cast<int>(bm.width);
  g.height = static_cast<int>(bm.rows);
  g.ink.assign(static_cast<std::size_t>(g.width) * g.height, 0);
  const int stride = std::abs(bm.pitch);
  for (int y = 0; y < g.height; ++y) {
    const int row = bm.pitch >= 0 ? y : g.height - 1 - y;
    const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(row) * stride;
    for (int x = 0; x < g.width; ++x)
      g.ink[static_cast<std::size_t>(y) * g.width + x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
  }
  return g;
}

}  // namespace fonts
