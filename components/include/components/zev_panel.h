#pragma once
// A container panel with a frame line, an outer border, a border band and an inner border, each
// on a chosen set of sides, and a caption aligned vertically too.
#include "components/zev_draw.h"
#include "vcl/extctrls.h"

enum TAlignmentVertical { avTop, avCenter, avBottom };
extern const TTypeInfo TypeInfo_TAlignmentVertical;

class TZevCustomPanel : public TCustomPanel {
 public:
  VCL_CLASS_INFO
  explicit TZevCustomPanel(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  // Inside the frame line, the border band and both borders: where children are aligned.
  TRect ClientRect() override;

  TAlignmentVertical AlignmentVertical() const { return alignmentVertical_; }
  void SetAlignmentVertical(TAlignmentVertical Value);
  TFrameStyle BorderInner() const { return borderInner_; }
  void SetBorderInner(TFrameStyle Value);
  TFrameStyle BorderOuter() const { return borderOuter_; }
  void SetBorderOuter(TFrameStyle Value);
  TSides BorderSides() const { return borderSides_; }
  void SetBorderSides(TSides Value);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor Value);
  TColor BorderHighlight() const { return borderHighlight_; }
  void SetBorderHighlight(TColor Value);
  TColor BorderShadow() const { return borderShadow_; }
  void SetBorderShadow(TColor Value);
  TSides FrameSides() const { return frameSides_; }
  void SetFrameSides(TSides Value);

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Paint() override;

 private:
  void Relayout();
  TRect PaintBorder(const TRect& Rect, TFrameStyle Style);

  TAlignmentVertical alignmentVertical_ = avCenter;
  TFrameStyle borderInner_ = TFrameStyle::fsNone;
  TFrameStyle borderOuter_ = TFrameStyle::fsRaised;
  TSides borderSides_ = kAllSides;
  TColor borderColor_ = clBtnFace;
  TColor borderHighlight_ = clBtnHighlight;
  TColor borderShadow_ = clBtnShadow;
  TSides frameSides_;
};

class TZevPanel : public TZevCustomPanel {
 public:
  VCL_CLASS_INFO
  using TZevCustomPanel::TZevCustomPanel;
};
