// Button faces and push buttons with glyphs.
#include "vcl/buttons.h"

#include <algorithm>

#include "stdctrls_draw.h"
#include "vcl/extctrls.h"

TRect DrawButtonFace(TCanvas* Canvas, const TRect& Client, int BevelWidth, TButtonStyle Style, bool IsRounded,
                     bool IsDown, bool IsFocused) {
  TRect r = Client;
  if (Style == bsWin31) {
    Frame3D(Canvas, r, clWindowFrame, clWindowFrame, IsFocused ? 2 : 1);
    if (IsRounded) {
      for (TPoint p : {TPoint{Client.left, Client.top}, TPoint{Client.right - 1, Client.top},
                       TPoint{Client.left, Client.bottom - 1}, TPoint{Client.right - 1, Client.bottom - 1}})
        Canvas->SetPixels(p.x, p.y, clBtnFace);
    }
    if (IsDown) Frame3D(Canvas, r, clBtnShadow, clBtnFace, 1);
    else
      Frame3D(Canvas, r, clBtnHighlight, clBtnShadow, BevelWidth);
  } else if (IsDown) {
    Frame3D(Canvas, r, clWindowFrame, clBtnHighlight, 1);
    Frame3D(Canvas, r, clBtnShadow, clBtnFace, 1);
  } else {
    Frame3D(Canvas, r, clBtnHighlight, clWindowFrame, 1);
    Frame3D(Canvas, r, clBtnFace, clBtnShadow, 1);
  }
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(clBtnFace);
  Canvas->FillRect(r);
  return r;
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), glyph_(new TBitmap) {
  glyph_->OnChange = [this](TObject*) { Invalidate(); };
}

TBitBtn::~TBitBtn() {
  glyph_->OnChange = nullptr;
  delete glyph_;
}

void TBitBtn::SetGlyph(TBitmap* Value) { glyph_->Assign(Value); }

void TBitBtn::SetNumGlyphs(int Value) {
  Value = std::max(1, std::min(Value, 4));
  if (numGlyphs_ == Value) return;
  numGlyphs_ = Value;
  Invalidate();
}

void TBitBtn::SetSpacing(int Value) {
  if (spacing_ == Value) return;
  spacing_ = Value;
  Invalidate();
}

void TBitBtn::Paint() {
  TButton::Paint();
  if (glyph_->Empty()) return;
  // The caption centred by the button moves right to make room for the glyph.
  const int glyphWidth = glyph_->Width() / numGlyphs_, glyphHeight = glyph_->Height();
  TCanvas* c = Canvas();
  const int offset = Pressed() ? 1 : 0;
  const std::string caption = Caption();
  c->SetFont(Font());
  const int textWidth = caption.empty() ? 0 : c->TextWidth(caption);
  const int total = glyphWidth + (caption.empty() ? 0 : spacing_ + textWidth);
  const int x = (Width() - total) / 2 + offset, y = (Height() - glyphHeight) / 2 + offset;
  // Repaint the face under glyph and caption, then draw them side by side.
  RECT face{4, 4, Width() - 4, Height() - 4};
  HDC dc = c->Handle();
  FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
  const int index = !Enabled() && numGlyphs_ > 1 ? 1 : 0;
  TRect source{index * glyphWidth, 0, (index + 1) * glyphWidth, glyphHeight};
  c->Brush()->SetColor(clBtnFace);
  c->Brush()->SetStyle(bsSolid);
  c->BrushCopy({x, y, x + glyphWidth, y + glyphHeight}, glyph_, source, glyph_->Canvas()->Pixels(0, glyphHeight - 1));
  SelectObject(dc, Font()->Handle());
  const int textHeight = stdctrls::LineHeight(dc);
  RECT text{x + glyphWidth + spacing_, (Height() - textHeight) / 2 + offset, Width(), 0};
  text.bottom = text.top + textHeight;
  stdctrls::DrawControlText(dc, caption, text, DT_SINGLELINE | DT_LEFT, Enabled(), ColorToRGB(Font()->Color()));
  if (Focused()) DrawFocusRect(dc, &face);
}

const TClassInfo& TBitBtn::StaticClassInfo() {
  using C = TBitBtn;
  static const TClassInfo info("TBitBtn", &TButton::StaticClassInfo(),
                               {ObjectProperty<C, TBitmap>("Glyph", &C::Glyph, &C::SetGlyph),
                                OrdProperty<C>("NumGlyphs", TypeInfo_Integer, &C::NumGlyphs, &C::SetNumGlyphs, 1),
                                OrdProperty<C>("Spacing", TypeInfo_Integer, &C::Spacing, &C::SetSpacing, 4)},
                               {}, CreateComponent<TBitBtn>);
  return info;
}

[[maybe_unused]] static const bool bitBtnRegistered = (RegisterClass(TBitBtn::StaticClassInfo()), true);
