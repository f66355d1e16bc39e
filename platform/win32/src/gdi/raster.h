#pragma once
// Raster operations on pixel values, brush patterns in a DC's terms and the span painter every
// shape and fill goes through.
#include <memory>

#include "dc.h"
#include "objects.h"

namespace gdi {

// Bit (P*4 + S*2 + D) of `code` is the result bit for pattern, source and destination bits.
inline DWORD Rop3(BYTE code, DWORD p, DWORD s, DWORD d) {
  switch (code) {
    case 0x00: return 0;
    case 0xFF: return ~DWORD{0};
    case 0xCC: return s;
    case 0xEE: return s | d;
    case 0x88: return s & d;
    case 0x66: return s ^ d;
    case 0xF0: return p;
    case 0x55: return ~d;
    case 0x5A: return p ^ d;
    default: {
      DWORD r = 0;
      for (int i = 0; i < 8; ++i)
        if ((code >> i) & 1) r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
      return r;
    }
  }
}
inline BYTE Rop3Code(DWORD rop) { return static_cast<BYTE>(rop >> 16); }
inline bool RopUsesPattern(BYTE c) { return (c >> 4) != (c & 0x0F); }
inline bool RopUsesSource(BYTE c) { return ((c >> 2) & 0x33) != (c & 0x33); }
inline bool RopUsesDest(BYTE c) { return ((c >> 1) & 0x55) != (c & 0x55); }

// R2 modes 1..16: bit (P*2 + D) of mode-1 is the result for pen and destination bits.
inline DWORD Rop2(int mode, DWORD p, DWORD d) {
  switch (mode) {
    case R2_COPYPEN: return p;
    case R2_XORPEN: return p ^ d;
    case R2_NOT: return ~d;
    default: {
      int t = mode - 1;
      DWORD r = 0;
      if (t & 1) r |= ~p & ~d;
      if (t & 2) r |= ~p & d;
      if (t & 4) r |= p & ~d;
      if (t & 8) r |= p & d;
      return r;
    }
  }
}

// A brush as pixel values of one DC's surface: the brush origin aligns patterns and hatches;
// monochrome patterns draw 0 in the text colour and 1 in the background colour; hatch gaps take the
// background colour, or are left alone in TRANSPARENT mode.
class BrushPattern {
 public:
  BrushPattern(DeviceContext& dc, HBRUSH brush);
  bool Null() const { return null_; }
  // False where the pattern leaves the destination alone (hatch gaps in TRANSPARENT mode).
  bool At(int x, int y, DWORD& value) const;

 private:
  bool null_ = true;
  UINT style_ = BS_NULL;
  DWORD solid_ = 0, background_ = 0;
  bool transparentGaps_ = false;
  int hatch_ = 0;
  POINT origin_{0, 0};
  std::shared_ptr<Surface> pattern_;
  std::vector<DWORD> patternValues_;  // pattern pixels converted to the destination
};

// Fills spans of the DC's drawable region with a brush or one pixel value through a ROP2.
class SpanPainter {
 public:
  SpanPainter(DeviceContext& dc, DWORD value, int rop2);
  SpanPainter(DeviceContext& dc, const BrushPattern& brush, int rop2);
  void Span(int y, int x0, int x1);
  void Rect(const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y) Span(y, r.left, r.right);
  }

 private:
  DeviceContext& dc_;
  Surface* surface_;
  const BrushPattern* brush_ = nullptr;
  DWORD value_ = 0;
  int rop2_;
  DWORD mask_;
};

}  // namespace gdi
