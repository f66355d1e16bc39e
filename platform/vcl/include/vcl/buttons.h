#pragma once
// Push buttons with a glyph beside the caption, and the face that buttons of all kinds paint.
#include "vcl/stdctrls.h"

// bsAutoDetect draws as bsNew, the Windows 95 face.
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };

// Paints a button face over Client (raised, or sunken when IsDown) and returns the area inside
// its bevels. The Windows 3.1 style frames the face in black (with cut corners when IsRounded),
// in a thicker black when IsFocused, and bevels it BevelWidth pixels deep.
TRect DrawButtonFace(TCanvas* Canvas, const TRect& Client, int BevelWidth, TButtonStyle Style, bool IsRounded,
                     bool IsDown, bool IsFocused);

class TBitBtn : public TButton {
 public:
  VCL_CLASS_INFO
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;

  // NumGlyphs images side by side: up, disabled (the first serves when there is no other). The
  // colour of its bottom-left pixel is left undrawn.
  TBitmap* Glyph() const { return glyph_; }
  void SetGlyph(TBitmap* Value);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int Value);
  // Pixels between glyph and caption.
  int Spacing() const { return spacing_; }
  void SetSpacing(int Value);

 protected:
  void Paint() override;

 private:
  TBitmap* glyph_;
  int numGlyphs_ = 1;
  int spacing_ = 4;
};
