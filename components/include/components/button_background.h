#pragma once
// How the face of a graphic push button is filled before bevel, caption and picture: a solid
// colour, nothing (the parent shows through), a picture (centred, stretched or tiled) or a
// gradient band ramp; and the dithered look of a latched toggle button.
#include <cstdint>
#include <vector>

#include "vcl/graphics_images.h"

class ToxCustomGraphicButton;

class EInvalidIndex : public Exception {
  using Exception::Exception;
};

// A colour ramp of Count steps from StartColor toward EndColor, drawn as bands.
class TGradient : public TPersistent {
 public:
  VCL_CLASS_INFO
  TGradient();
  ~TGradient() override;

  TColor StartColor() const { return startColor_; }
  // A new colour drops the ramp; it is computed again at its next use. OnChange is not fired.
  void SetStartColor(TColor Value);
  TColor EndColor() const { return endColor_; }
  void SetEndColor(TColor Value);
  int Count() const { return count_; }

  // Entry Index of the ramp; EInvalidIndex "Index out of range" outside 0 .. Count - 1.
  TColor GetColor(int Index);
  // Count bands across (or down) Rect; a band is trunc(step + 1) wide, so they overlap when Rect
  // is narrower than Count and the last one may reach a pixel past it.
  void DrawHorizontal(TCanvas* Canvas, const TRect& Rect);
  void DrawVertical(TCanvas* Canvas, const TRect& Rect);
  // Whether the ramp is computed now.
  bool HasTable() const { return !table_.empty(); }

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
  virtual void Rebuild();
  virtual void Compute();
  virtual void FreeTable();

 private:
  TColor startColor_ = clWhite;
  TColor endColor_ = clBlack;
  std::uint8_t count_ = 128;
  std::vector<std::uint8_t> table_;  // red, green, blue per entry
};

enum ToxBackgroundStyle { oxbSolid, oxbClear, oxbPictureClip, oxbPictureStretch, oxbPicturePattern, oxbGradient };
extern const TTypeInfo TypeInfo_ToxBackgroundStyle;

// The Background property of a graphic button's face; lives exactly as long as the face.
class ToxBackground : public TPersistent {
 public:
  VCL_CLASS_INFO
  explicit ToxBackground(ToxCustomGraphicButton* Face);
  ~ToxBackground() override;

  // From another background: DitherDown, Style and Picture (not the gradient colour).
  void Assign(TPersistent* Source) override;

  ToxBackgroundStyle Style() const { return style_; }
  void SetStyle(ToxBackgroundStyle Value);
  TPicture* Picture() const { return picture_; }
  void SetPicture(TPicture* Value);
  // Stored only; the next paint shows it.
  bool DitherDown() const { return ditherDown_; }
  void SetDitherDown(bool Value) { ditherDown_ = Value; }
  // The colour at the left edge of the gradient style.
  TColor Gradient() const { return gradient_->StartColor(); }
  void SetGradient(TColor Value);
  TGradient* GradientRamp() const { return gradient_; }

  // Fills R of Canvas by Style, then gives a down toggle face the dithered look.
  void Paint(TCanvas* Canvas, const TRect& R);

  // Called on every change of Style or Picture (the window part of the button moves a
  // transparent face out to its parent).
  TNotifyEvent OnChange;

 private:
  void Changed();
  void PaintPicture(TCanvas* Canvas, const TRect& R);
  void PaintDither(TCanvas* Canvas, const TRect& R);

  ToxCustomGraphicButton* face_;
  TGradient* gradient_;
  TPicture* picture_;
  ToxBackgroundStyle style_ = oxbSolid;
  bool ditherDown_ = true;
};

// The 8 x 8 pattern of the dithered look, shared by all faces: clBtnFace with white where x and y
// are both even or both odd. Made on first use, freed with the last face.
TBitmap* SharedDitherPattern();
void FreeSharedDitherPattern();
