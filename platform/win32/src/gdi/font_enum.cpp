// EnumFontFamiliesA and EnumFontFamiliesExA over the families ListedFamilies() names.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "gdi/font_face.h"
#include "gdi/font_match.h"
#include "gdi/font_object.h"

namespace {

constexpr LONG kEnumeratedCellHeight = 16;

struct Entry {
  ENUMLOGFONTEXA logFont{};
  NEWTEXTMETRICEXA metrics{};
  DWORD fontType = 0;
};

template <std::size_t N>
void CopyName(BYTE (&out)[N], const std::string& s) {
  const std::size_t n = std::min(s.size(), N - 1);
  std::memcpy(out, s.data(), n);
  out[n] = 0;
}

Entry EntryFor(const fonts::ListedFamily& family, const fonts::InstalledStyle& style) {
  Entry e;
  LOGFONTA& lf = e.logFont.elfLogFont;
  lf.lfHeight = kEnumeratedCellHeight;
  lf.lfWeight = style.weight;
  lf.lfItalic = style.italic ? 1 : 0;
  const std::size_t n = std::min<std::size_t>(family.name.size(), LF_FACESIZE - 1);
  std::memcpy(lf.lfFaceName, family.name.data(), n);

  const std::shared_ptr<fonts::FontFace> face = fonts::FontFace::For(lf);
  const TEXTMETRICA& tm = face->Metrics();
  static_cast<TEXTMETRICA&>(e.metrics.ntmTm) = tm;
  const bool fixed = !(tm.tmPitchAndFamily & TMPF_FIXED_PITCH);
  lf.lfCharSet = tm.tmCharSet;
  lf.lfOutPrecision = family.raster ? OUT_STRING_PRECIS : OUT_STROKE_PRECIS;
  lf.lfClipPrecision = CLIP_STROKE_PRECIS;
  lf.lfQuality = family.raster ? PROOF_QUALITY : DRAFT_QUALITY;
  lf.lfPitchAndFamily = static_cast<BYTE>((fixed ? FIXED_PITCH : VARIABLE_PITCH) | (tm.tmPitchAndFamily & 0xF0));

  const std::string styleName = family.raster ? "Regular" : style.style;
  CopyName(e.logFont.elfStyle, styleName);
  CopyName(e.logFont.elfFullName, styleName == "Regular" ? family.name : family.name + " " + styleName);
  CopyName(e.logFont.elfScript, tm.tmCharSet == SYMBOL_CHARSET ? "Symbol" : "Western");

  NEWTEXTMETRICA& ntm = e.metrics.ntmTm;
  ntm.ntmFlags = (style.italic ? NTM_ITALIC : 0) | (style.weight >= FW_SEMIBOLD ? NTM_BOLD : 0);
  if (ntm.ntmFlags == 0) ntm.ntmFlags = NTM_REGULAR;
  ntm.ntmSizeEM = face->Design().em;
  ntm.ntmCellHeight = face->Design().cellHeight;
  ntm.ntmAvgWidth = face->Design().averageWidth;
  e.fontType = family.raster ? RASTER_FONTTYPE : TRUETYPE_FONTTYPE;
  return e;
}

// One entry per family when no name is given (its regular style when it has one), else one per
// style of the named family.
std::vector<Entry> Collect(const std::string& name, BYTE charSet) {
  std::lock_guard lock(fonts::EngineMutex());
  std::vector<Entry> entries;
  for (const fonts::ListedFamily& family : fonts::ListedFamilies()) {
    if (family.styles.empty()) continue;
    if (name.empty()) {
      auto regular = std::find_if(family.styles.begin(), family.styles.end(),
                                  [](const fonts::InstalledStyle& s) { return s.weight < FW_SEMIBOLD && !s.italic; });
      entries.push_back(EntryFor(family, regular != family.styles.end() ? *regular : family.styles.front()));
    } else if (fonts::EqualNoCase(family.name, name)) {
      for (const fonts::InstalledStyle& style : family.styles) {
        entries.push_back(EntryFor(family, style));
        if (family.raster) break;
      }
    }
  }
  if (charSet != DEFAULT_CHARSET)
    std::erase_if(entries, [&](const Entry& e) { return e.logFont.elfLogFont.lfCharSet != charSet; });
  return entries;
}

// The callback runs outside the font lock: it may well create fonts itself.
int Report(const std::vector<Entry>& entries, FONTENUMPROCA proc, LPARAM param) {
  int result = 1;
  for (const Entry& e : entries) {
    result = proc(&e.logFont.elfLogFont, &e.metrics.ntmTm, e.fontType, param);
    if (result == 0) break;
  }
  return result;
}

}  // namespace

int EnumFontFamiliesA(HDC dc, LPCSTR family, FONTENUMPROCA proc, LPARAM param) {
  if (!gdi::FindDC(dc) || !proc) return 0;
  return Report(Collect(family ? std::string(family) : std::string(), DEFAULT_CHARSET), proc, param);
}

int EnumFontFamiliesExA(HDC dc, LPLOGFONTA logFont, FONTENUMPROCA proc, LPARAM param, DWORD flags) {
  (void)flags;  // reserved, zero
  if (!gdi::FindDC(dc) || !proc || !logFont) return 0;
  const std::string name(logFont->lfFaceName, strnlen(logFont->lfFaceName, LF_FACESIZE));
  return Report(Collect(name, logFont->lfCharSet), proc, param);
}
