// Frame3D, panels and bevels.
#include "vcl/extctrls.h"

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetStyle(psSolid);
  // The ring runs along the last pixel inside Rect.
  int l = Rect.left, t = Rect.top, r = Rect.right - 1, b = Rect.bottom - 1;
  for (; Width > 0; --Width, ++l, ++t, --r, --b) {
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Polyline({{l, b}, {l, t}, {r, t}});
    Canvas->Pen()->SetColor(BottomColor);
    Canvas->Polyline({{r, t}, {r, b}, {l - 1, b}});
  }
  Rect = {l, t, r + 1, b + 1};
}

namespace {
void BevelColors(TPanelBevel Bevel, TColor& Top, TColor& Bottom) {
  Top = Bevel == bvLowered ? clBtnShadow : clBtnHighlight;
  Bottom = Bevel == bvLowered ? clBtnHighlight : clBtnShadow;
}
}  // namespace

// ---- TCustomPanel -----------------------------------------------------------------------------
TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                csDoubleClicks, csReplicatable});
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::Changed() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
  if (bevelInner_ == Value) return;
  bevelInner_ = Value;
  Changed();
}
void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
  if (bevelOuter_ == Value) return;
  bevelOuter_ = Value;
  Changed();
}
void TCustomPanel::SetBevelWidth(int Value) {
  if (bevelWidth_ == Value || Value < 1) return;
  bevelWidth_ = Value;
  Changed();
}
void TCustomPanel::SetBorderWidth(int Value) {
  if (borderWidth_ == Value || Value < 0) return;
  borderWidth_ = Value;
  Changed();
}
void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
  if (borderStyle_ == Value) return;
  borderStyle_ = Value;
  RecreateWnd();
}
void TCustomPanel::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (borderStyle_ == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomPanel::AlignControls(TControl* AControl, TRect& Rect) {
  int inset = borderWidth_ + (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
  Rect = {Rect.left + inset, Rect.top + inset, Rect.right - inset, Rect.bottom - inset};
  TCustomControl::AlignControls(AControl, Rect);
}

void TCustomPanel::Paint() {
  TRect r = ClientRect();
  TColor top, bottom;
  if (bevelOuter_ != bvNone) {
    BevelColors(bevelOuter_, top, bottom);
    Frame3D(Canvas(), r, top, bottom, bevelWidth_);
  }
  Frame3D(Canvas(), r, Color(), Color(), borderWidth_);
  if (bevelInner_ != bvNone) {
    BevelColors(bevelInner_, top, bottom);
    Frame3D(Canvas(), r, top, bottom, bevelWidth_);
  }
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(r);
  c->Brush()->SetStyle(bsClear);
  c->SetFont(Font());
  const int h = c->TextHeight("W");
  r.top = (r.top + r.bottom - h) / 2;
  r.bottom = r.top + h;
  static constexpr UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  const std::string text = Caption();
  HDC dc = c->Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  SelectObject(dc, Font()->Handle());
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_EXPANDTABS | DT_VCENTER | kAlign[alignment_]);
}

void TCustomPanel::WndProc(TMessage& Message) {
  // The caption is drawn in the middle: a change of size moves it.
  if (Message.Msg == WM_SIZE) Invalidate();
  TCustomControl::WndProc(Message);
}

// ---- TBevel -----------------------------------------------------------------------------------
TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  if (shape_ == Value) return;
  shape_ = Value;
  Invalidate();
}
void TBevel::SetStyle(TBevelStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* c = Canvas();
  TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
  c->Pen()->SetWidth(1);
  c->Pen()->SetStyle(psSolid);
  auto line = [c](TColor color, int x1, int y1, int x2, int y2) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  // Top-left in one colour, bottom-right in the other, along (l, t, r, b) inclusive.
  auto box = [c](TColor topLeft, TColor bottomRight, int l, int t, int r, int b) {
    c->Pen()->SetColor(topLeft);
    c->Polyline({{l, b}, {l, t}, {r, t}});
    c->Pen()->SetColor(bottomRight);
    c->Polyline({{r, t}, {r, b}, {l, b}});
  };
  const int w = Width(), h = Height();
  switch (shape_) {
    case bsBox: box(first, second, 0, 0, w - 1, h - 1); break;
    case bsFrame:
      box(second, second, 1, 1, w - 1, h - 1);
      box(first, first, 0, 0, w - 2, h - 2);
      break;
    case bsTopLine:
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(first, 0, h - 2, w, h - 2);
      line(second, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(first, w - 2, 0, w - 2, h);
      line(second, w - 1, 0, w - 1, h);
      break;
    case bsSpacer: break;
  }
}
