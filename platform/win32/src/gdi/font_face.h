#pragma once
// A logical font made real: a FreeType face at the font's pixel size, its Windows metrics, and a
// cache of its glyphs rendered in one bit per pixel (never anti-aliased), rotated by the
// escapement. Callers hold EngineMutex().
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "win32/text.h"

namespace fonts {

struct Glyph {
  int advance = 0;  // pixels along the baseline, as for unrotated text
  // Ink box relative to the pen position on the baseline, device axes (y down).
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint8_t> ink;  // width * height, 1 = ink
};

// The face's own units, for NEWTEXTMETRICA.
struct DesignUnits {
  UINT em = 0, cellHeight = 0, averageWidth = 0;
};

struct LineMetrics {
  int offset = 0;  // below the baseline (negative: above)
  int thickness = 1;
};

class FontFace {
 public:
  // Shared between equal logical fonts; never null (a font that cannot be loaded draws nothing
  // and measures zero, but keeps consistent metrics).
  static std::shared_ptr<FontFace> For(const LOGFONTA& lf);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const TEXTMETRICA& Metrics() const { return metrics_; }
  const std::string& FaceName() const { return faceName_; }
  double EscapementRadians() const { return escapement_; }
  const DesignUnits& Design() const { return design_; }
  LineMetrics Underline() const { return underline_; }
  LineMetrics StrikeOut() const { return strikeOut_; }
  bool Underlined() const { return metrics_.tmUnderlined != 0; }
  bool StruckOut() const { return metrics_.tmStruckOut != 0; }

  const Glyph& GlyphOf(char32_t c);
  int Advance(char32_t c) { return GlyphOf(c).advance; }

 private:
  struct Engine;
  explicit FontFace(const LOGFONTA& lf);
  void Measure(double pixelsPerEm);
  Glyph Render(char32_t c);

  std::unique_ptr<Engine> engine_;
  TEXTMETRICA metrics_{};
  std::string faceName_;
  double escapement_ = 0;
  bool emboldenSynthetic_ = false;
  bool obliqueSynthetic_ = false;
  int emboldenStrength_ = 0;  // 26.6
  DesignUnits design_;
  LineMetrics underline_, strikeOut_;
  std::unordered_map<char32_t, Glyph> glyphs_;
};

}  // namespace fonts
