// The bordered panel.
#include "components/zev_panel.h"

#include <algorithm>

#include "rect_ops.h"

const TTypeInfo TypeInfo_TAlignmentVertical{"TAlignmentVertical", tkEnumeration, {"avTop", "avCenter", "avBottom"}};

namespace {

TRect Inset(TRect R, TSides Sides, int By) {
  if (Sides.Contains(sdLeft)) R.left += By;
  if (Sides.Contains(sdTop)) R.top += By;
  if (Sides.Contains(sdRight)) R.right -= By;
  if (Sides.Contains(sdBottom)) R.bottom -= By;
  return R;
}

}  // namespace

TZevCustomPanel::TZevCustomPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
  SetBevelOuter(bvNone);
  TControlStyle style = ControlStyle();
  style.Exclude(csOpaque);
  style.Exclude(csSetCaption);
  SetControlStyle(style);
}

void TZevCustomPanel::Relayout() {
  if (HandleAllocated()) Realign();
  Invalidate();
}

void TZevCustomPanel::SetAlignmentVertical(TAlignmentVertical Value) {
  if (alignmentVertical_ == Value) return;
  alignmentVertical_ = Value;
  Invalidate();
}

void TZevCustomPanel::SetBorderInner(TFrameStyle Value) {
  if (borderInner_ == Value) return;
  borderInner_ = Value;
  Relayout();
}

void TZevCustomPanel::SetBorderOuter(TFrameStyle Value) {
  if (borderOuter_ == Value) return;
  borderOuter_ = Value;
  Relayout();
}

void TZevCustomPanel::SetBorderSides(TSides Value) {
  if (borderSides_ == Value) return;
  borderSides_ = Value;
  Relayout();
}

void TZevCustomPanel::SetFrameSides(TSides Value) {
  if (frameSides_ == Value) return;
  frameSides_ = Value;
  Relayout();
}

void TZevCustomPanel::SetBorderColor(TColor Value) {
  if (borderColor_ == Value) return;
  borderColor_ = Value;
  Invalidate();
}

void TZevCustomPanel::SetBorderHighlight(TColor Value) {
  if (borderHighlight_ == Value) return;
  borderHighlight_ = Value;
  Invalidate();
}

void TZevCustomPanel::SetBorderShadow(TColor Value) {
  if (borderShadow_ == Value) return;
  borderShadow_ = Value;
  Invalidate();
}

TRect TZevCustomPanel::ClientRect() {
  TRect r = TCustomPanel::ClientRect();
  r = Inset(r, frameSides_, 1);
  rect_ops::Inflate(r, -BorderWidth(), -BorderWidth());
  r = Inset(r, borderSides_, FrameWidth(borderOuter_));
  return Inset(r, borderSides_, FrameWidth(borderInner_));
}

void TZevCustomPanel::AlignControls(TControl* AControl, TRect& Rect) {
  Rect = ClientRect();
  // The inherited alignment takes the border band off again.
  rect_ops::Inflate(Rect, BorderWidth(), BorderWidth());
  TCustomPanel::AlignControls(AControl, Rect);
}

TRect TZevCustomPanel::PaintBorder(const TRect& Rect, TFrameStyle Style) {
  switch (Style) {
    case TFrameStyle::fsPopup:
      return DrawBevel(Canvas(), Rect, borderHighlight_, borderSides_, BevelWidth(), borderShadow_);
    case TFrameStyle::fsStatus:
      return DrawBevel(Canvas(), Rect, borderShadow_, borderSides_, BevelWidth(), borderHighlight_);
    default: return DrawBorder(Canvas(), Rect, Style, borderSides_);
  }
}

void TZevCustomPanel::Paint() {
  TCanvas* c = Canvas();
  TRect r{0, 0, Width(), Height()};
  r = DrawSides(c, r, clBlack, frameSides_, clBlack);
  r = PaintBorder(r, borderOuter_);
  if (BorderWidth() > 0) r = DrawBevel(c, r, borderColor_, borderSides_, BorderWidth(), borderColor_);
  r = PaintBorder(r, borderInner_);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  c->Brush()->SetStyle(bsClear);
  c->SetFont(Font());
  std::string caption = Caption();
  if (caption.size() > 255) caption.resize(255);
  if (caption.empty()) return;
  ++r.left;
  static constexpr UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  const UINT format = DT_WORDBREAK | DT_EXPANDTABS | kAlign[Alignment()];
  const int length = static_cast<int>(caption.size());
  RECT measured = r;
  const int height = DrawTextA(c->Handle(), caption.c_str(), length, &measured, format | DT_CALCRECT);
  RECT at = r;
  switch (alignmentVertical_) {
    case avCenter: at.top = (r.top + r.bottom - height) / 2; break;
    case avBottom: at.top = r.bottom - height - 1; break;
    case avTop: break;
  }
  at.bottom = at.top + height;
  DrawTextA(c->Handle(), caption.c_str(), length, &at, format);
}

void TZevCustomPanel::WndProc(TMessage& Message) {
  TCustomPanel::WndProc(Message);
  if (Message.Msg == CM_MOUSEENTER && OnMouseEnter) OnMouseEnter(this);
  if (Message.Msg == CM_MOUSELEAVE && OnMouseLeave) OnMouseLeave(this);
}

const TClassInfo& TZevCustomPanel::StaticClassInfo() {
  using C = TZevCustomPanel;
  static const TClassInfo info(
      "TZevCustomPanel", &TCustomPanel::StaticClassInfo(),
      {OrdProperty<C>("AlignmentVertical", TypeInfo_TAlignmentVertical, &C::AlignmentVertical, &C::SetAlignmentVertical,
                      avCenter),
       OrdProperty<C>("BorderInner", TypeInfo_TFrameStyle, &C::BorderInner, &C::SetBorderInner,
                      static_cast<int>(TFrameStyle::fsNone)),
       OrdProperty<C>("BorderOuter", TypeInfo_TFrameStyle, &C::BorderOuter, &C::SetBorderOuter,
                      static_cast<int>(TFrameStyle::fsRaised)),
       OrdProperty<C>("BorderSides", TypeInfo_TSides, &C::BorderSides, &C::SetBorderSides, kAllSides.Bits()),
       OrdProperty<C>("BorderColor", TypeInfo_TColor, &C::BorderColor, &C::SetBorderColor, clBtnFace),
       OrdProperty<C>("BorderHighlight", TypeInfo_TColor, &C::BorderHighlight, &C::SetBorderHighlight, clBtnHighlight),
       OrdProperty<C>("BorderShadow", TypeInfo_TColor, &C::BorderShadow, &C::SetBorderShadow, clBtnShadow),
       // Always stored.
       OrdProperty<C>("FrameSides", TypeInfo_TSides, &C::FrameSides, &C::SetFrameSides),
       EventProperty<C>("OnMouseEnter", TypeInfo_TNotifyEvent, &C::OnMouseEnter),
       EventProperty<C>("OnMouseLeave", TypeInfo_TNotifyEvent, &C::OnMouseLeave)});
  return info;
}

const TClassInfo& TZevPanel::StaticClassInfo() {
  static const TClassInfo info("TZevPanel", &TZevCustomPanel::StaticClassInfo(), {}, {}, CreateComponent<TZevPanel>);
  return info;
}

[[maybe_unused]] static const bool zevPanelRegistered = (RegisterClass(TZevPanel::StaticClassInfo()), true);
