// The speed button and its glyph cache.
#include "components/tav_speed_button.h"

#include <algorithm>

#include "vcl/forms.h"
#include "vcl/stdctrls.h"
#include "rect_ops.h"

const TTypeInfo TypeInfo_TButtonLayout{
    "TButtonLayout", tkEnumeration, {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};

// ---- TGlyphList --------------------------------------------------------------------------------
TGlyphList::TGlyphList(int AWidth, int AHeight) : TImageList(nullptr) {
  SetWidth(AWidth);
  SetHeight(AHeight);
}

TGlyphList::~TGlyphList() = default;

int TGlyphList::AllocateIndex() {
  const int index = used_.OpenBit();
  if (index >= used_.Size()) {
    // Appending keeps every index already handed out.
    while (Count() <= index) AddEmpty();
    used_.SetSize(index + 1);
  }
  used_.SetBit(index, true);
  return index;
}

int TGlyphList::AddGlyph(TBitmap* Image, TBitmap* Mask) {
  const int index = AllocateIndex();
  Replace(index, Image, Mask);
  ++count_;
  return index;
}

int TGlyphList::AddGlyphMasked(TBitmap* Image, TColor MaskColor) {
  const int index = AllocateIndex();
  ReplaceMasked(index, Image, MaskColor);
  ++count_;
  return index;
}

void TGlyphList::DeleteGlyph(int Index) {
  if (Index < 0 || Index >= used_.Size() || !used_.Bits(Index)) return;
  used_.SetBit(Index, false);
  --count_;
}

// ---- TGlyphCache -------------------------------------------------------------------------------
TGlyphCache::~TGlyphCache() {
  for (TGlyphList* list : lists_) delete list;
}

TGlyphList* TGlyphCache::GetList(int AWidth, int AHeight) {
  for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
    if ((*it)->Width() == AWidth && (*it)->Height() == AHeight) return *it;
  lists_.push_back(new TGlyphList(AWidth, AHeight));
  return lists_.back();
}

void TGlyphCache::ReturnList(TGlyphList* List) {
  if (!List || List->UsedCount() != 0) return;
  auto it = std::find(lists_.begin(), lists_.end(), List);
  if (it == lists_.end()) return;
  lists_.erase(it);
  delete List;
}

namespace {
TGlyphCache* glyphCache = nullptr;
}  // namespace

TGlyphCache* GlyphCache() { return glyphCache; }

// ---- TButtonGlyph ------------------------------------------------------------------------------
TButtonGlyph::TButtonGlyph() : original_(new TBitmap) {
  original_->OnChange = [this](TObject* Sender) { GlyphChanged(Sender); };
}

TButtonGlyph::~TButtonGlyph() {
  original_->OnChange = nullptr;
  Invalidate();
  delete original_;
  if (glyphCache && glyphCache->Empty()) {
    delete glyphCache;
    glyphCache = nullptr;
  }
}

void TButtonGlyph::Invalidate() {
  for (int& index : indexes_) {
    if (index != -1 && glyphList_) glyphList_->DeleteGlyph(index);
    index = -1;
  }
  if (glyphList_ && glyphCache) glyphCache->ReturnList(glyphList_);
  glyphList_ = nullptr;
}

void TButtonGlyph::GlyphChanged(TObject*) {
  transparentColor_ = original_->TransparentColor();
  Invalidate();
  if (OnChange) OnChange(this);
}

void TButtonGlyph::SetGlyph(TBitmap* Value) {
  Invalidate();
  // The copy's own change notification must not run while it is taken.
  original_->OnChange = nullptr;
  if (Value) original_->Assign(Value);
  else
    original_->Clear();
  original_->OnChange = [this](TObject* Sender) { GlyphChanged(Sender); };
  if (Value && Value->Height() > 0) {
    transparentColor_ = Value->TransparentColor();
    if (Value->Width() % Value->Height() == 0) {
      const int count = Value->Width() / Value->Height();
      numGlyphs_ = count < 5 ? std::max(1, count) : 1;
    }
  }
  if (OnChange) OnChange(this);
}

void TButtonGlyph::SetNumGlyphs(TNumGlyphs Value) {
  if (Value == 0 || Value == numGlyphs_) return;
  Invalidate();
  numGlyphs_ = Value;
  if (OnChange) OnChange(this);
}

int TButtonGlyph::ImageIndex(TButtonState State) {
  if (original_->Empty()) return -1;
  if (State == bsDown && numGlyphs_ < 3) State = bsUp;
  int& index = indexes_[State];
  if (index == -1) index = CreateImage(State);
  return index;
}

int TButtonGlyph::CreateImage(TButtonState State) {
  const int w = original_->Width() / numGlyphs_, h = original_->Height();
  if (w <= 0 || h <= 0) return -1;
  if (!glyphCache) glyphCache = new TGlyphCache;
  if (!glyphList_) glyphList_ = glyphCache->GetList(w, h);
  TBitmap tmp;
  tmp.SetPixelFormat(pf24bit);
  tmp.SetWidth(w);
  tmp.SetHeight(h);
  TCanvas* c = tmp.Canvas();
  c->Brush()->SetColor(clBtnFace);
  const TRect whole{0, 0, w, h};
  c->FillRect(whole);
  const int part = State < numGlyphs_ ? State : 0;
  auto partRect = [&](int p) { return TRect{w * p, 0, w * (p + 1), h}; };
  int result = -1;
  switch (State) {
    case bsUp:
    case bsDown:
      c->BrushCopy(whole, original_, partRect(part), transparentColor_);
      result = glyphList_->AddGlyph(&tmp, nullptr);
      break;
    case bsExclusive:
      c->CopyRect(whole, original_->Canvas(), partRect(part));
      result = glyphList_->AddGlyphMasked(&tmp, transparentColor_);
      break;
    case bsDisabled:
      if (numGlyphs_ > 1) {
        c->BrushCopy(whole, original_, partRect(1), transparentColor_);
      } else {
        // The etched look: where the glyph is (every pixel not of the transparent colour), a
        // white copy one pixel down and right under a grey copy; the same pixels as blitting the
        // glyph's monochrome copy with MERGEPAINT, SRCAND and SRCPAINT.
        const COLORREF clear = ColorToRGB(transparentColor_);
        TCanvas* src = original_->Canvas();
        std::vector<bool> glyph(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) glyph[static_cast<size_t>(y) * w + x] = ColorToRGB(src->Pixels(x, y)) != clear;
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) {
            if (glyph[static_cast<size_t>(y) * w + x]) c->SetPixels(x, y, clBtnShadow);
            else if (x > 0 && y > 0 && glyph[static_cast<size_t>(y - 1) * w + x - 1])
              c->SetPixels(x, y, clWhite);
          }
      }
      result = glyphList_->AddGlyph(&tmp, nullptr);
      break;
  }
  original_->Dormant();
  return result;
}

void TButtonGlyph::CalcLayout(TCanvas* Canvas, const TRect& Client, const std::string& Caption, TButtonLayout Layout,
                              int Margin, int Spacing, TPoint& GlyphPos, TRect& TextBounds) {
  const int cw = Client.right - Client.left, ch = Client.bottom - Client.top;
  int gw = 0, gh = 0;
  if (!original_->Empty()) {
    gw = original_->Width() / numGlyphs_;
    gh = original_->Height();
  }
  int tw = 0, th = 0;
  if (!Caption.empty()) {
    RECT r{0, 0, cw, 0};
    DrawTextA(Canvas->Handle(), Caption.c_str(), static_cast<int>(Caption.size()), &r, DT_CALCRECT);
    tw = r.right - r.left;
    th = r.bottom - r.top;
  }
  const bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  TPoint g{0, 0}, t{0, 0};
  if (horizontal) {
    g.y = ch / 2 - gh / 2;
    t.y = ch / 2 - th / 2;
  } else {
    g.x = cw / 2 - gw / 2;
    t.x = cw / 2 - tw / 2;
  }
  if (tw == 0 || gw == 0) Spacing = 0;
  const int L = horizontal ? cw : ch, G = horizontal ? gw : gh, T = horizontal ? tw : th;
  int margin = Margin, spacing = Spacing;
  if (Margin == -1 && Spacing == -1) {
    margin = spacing = (L - (G + T)) / 3;
  } else if (Margin == -1) {
    margin = L / 2 - (G + Spacing + T) / 2;
  } else if (Spacing == -1) {
    spacing = (L - Margin - G) / 2 - T / 2;
  }
  int glyphAt = 0, textAt = 0;
  if (Layout == blGlyphLeft || Layout == blGlyphTop) {
    glyphAt = margin;
    textAt = margin + G + spacing;
  } else {
    glyphAt = L - margin - G;
    textAt = glyphAt - spacing - T;
  }
  if (horizontal) {
    g.x = glyphAt;
    t.x = textAt;
  } else {
    g.y = glyphAt;
    t.y = textAt;
  }
  GlyphPos = {g.x + Client.left, g.y + Client.top};
  TextBounds = {t.x + Client.left, t.y + Client.top, t.x + Client.left + tw, t.y + Client.top + th};
}

void TButtonGlyph::Draw(TCanvas* Canvas, const TRect& Client, const std::string& Caption, TButtonLayout Layout,
                        int Margin, int Spacing, TButtonState State) {
  TPoint glyphPos{};
  TRect text{};
  CalcLayout(Canvas, Client, Caption, Layout, Margin, Spacing, glyphPos, text);
  const int index = ImageIndex(State);
  if (index != -1 && glyphList_) glyphList_->Draw(Canvas, glyphPos.x, glyphPos.y, index);
  if (Caption.empty()) return;
  Canvas->Brush()->SetStyle(bsClear);
  const int length = static_cast<int>(Caption.size());
  if (State == bsDisabled) {
    RECT r = text;
    rect_ops::Offset(r, 1, 1);
    Canvas->Font()->SetColor(clWhite);
    DrawTextA(Canvas->Handle(), Caption.c_str(), length, &r, 0);
    r = text;
    Canvas->Font()->SetColor(clGray);
    DrawTextA(Canvas->Handle(), Caption.c_str(), length, &r, 0);
  } else {
    RECT r = text;
    DrawTextA(Canvas->Handle(), Caption.c_str(), length, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
}

// ---- TTavSpeedButton ---------------------------------------------------------------------------
TTavSpeedButton::TTavSpeedButton(TComponent* AOwner) : TTavGraphicControl(AOwner), glyph_(new TButtonGlyph) {
  SetBounds(0, 0, 25, 25);
  SetControlStyle({csCaptureMouse, csOpaque, csDoubleClicks});
  glyph_->OnChange = [this](TObject*) { Invalidate(); };
  SetParentFont(true);
}

TTavSpeedButton::~TTavSpeedButton() {
  glyph_->OnChange = nullptr;
  delete glyph_;
}

void TTavSpeedButton::SetAllowAllUp(bool Value) {
  if (allowAllUp_ == Value) return;
  allowAllUp_ = Value;
  UpdateExclusive();
}

void TTavSpeedButton::SetGroupIndex(int Value) {
  if (groupIndex_ == Value) return;
  groupIndex_ = Value;
  UpdateExclusive();
}

void TTavSpeedButton::SetDown(bool Value) {
  if (groupIndex_ == 0) Value = false;
  if (Value == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = Value;
  state_ = Value ? bsExclusive : bsUp;
  Invalidate();
  if (Value) UpdateExclusive();
}

void TTavSpeedButton::SetGlyph(TBitmap* Value) {
  glyph_->SetGlyph(Value);
  Invalidate();
}

void TTavSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::min(Value, 4);
  if (Value == glyph_->NumGlyphs()) return;
  glyph_->SetNumGlyphs(Value);
  Invalidate();
}

void TTavSpeedButton::SetLayout(TButtonLayout Value) {
  if (layout_ == Value) return;
  layout_ = Value;
  Invalidate();
}

void TTavSpeedButton::SetMargin(int Value) {
  if (Value == margin_ || Value < -1) return;
  margin_ = Value;
  Invalidate();
}

void TTavSpeedButton::SetSpacing(int Value) {
  if (Value == spacing_) return;
  spacing_ = Value;
  Invalidate();
}

void TTavSpeedButton::SetBevelStyle(TBevelStyle Value) {
  if (bevel_ == Value) return;
  bevel_ = Value;
  Invalidate();
}

void TTavSpeedButton::SetDownColor(TColor Value) {
  if (downColor_ == Value) return;
  downColor_ = Value;
  pattern_.reset();
  Invalidate();
}

void TTavSpeedButton::SetBevelColor(TColor Value) {
  if (bevelColor_ == Value) return;
  bevelColor_ = Value;
  Invalidate();
}

void TTavSpeedButton::UpdateExclusive() {
  if (groupIndex_ == 0 || !Parent()) return;
  TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(static_cast<TControl*>(this)),
             0};
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    TControl* c = Parent()->Controls(i);
    if (c != this) c->Perform(m.Msg, m.WParam, m.LParam);
  }
}

void TTavSpeedButton::ButtonPressed(TMessage& Message) {
  TCMButtonPressed m(Message);
  if (m.Index != groupIndex_ || m.Control == this) return;
  auto* sender = dynamic_cast<TTavSpeedButton*>(m.Control);
  if (!sender) return;
  if (sender->down_ && down_) {
    down_ = false;
    state_ = bsUp;
    Invalidate();
  }
  allowAllUp_ = sender->allowAllUp_;
}

void TTavSpeedButton::UpdateEnabledState() {
  const bool designing = ComponentState().Contains(csDesigning);
  if (!Enabled() && !designing) {
    state_ = bsDisabled;
    dragging_ = false;
  } else if (state_ == bsDisabled) {
    state_ = bsUp;
  }
}

void TTavSpeedButton::PaintFace(const TRect& R, TRect& Content) {
  TCanvas* c = Canvas();
  const bool down = state_ == bsDown || state_ == bsExclusive;
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(R);
  TRect r = R;
  const int w = Width(), h = Height();
  if (down) {
    Frame3D(c, r, bevelColor_, clBtnHighlight, 1);
    Frame3D(c, r, clBtnShadow, clBtnFace, 1);
  } else if (bevel_ == bsRaised) {
    Frame3D(c, r, clBtnHighlight, bevelColor_, 1);
    Frame3D(c, r, clBtnFace, clBtnShadow, 1);
  } else {
    c->Pen()->SetColor(bevelColor_);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(0, 0, w - 1, h - 1);
    c->Pen()->SetColor(clBtnHighlight);
    c->Polyline({{1, h}, {1, 1}, {w - 2, 1}});
    c->Polyline({{w - 1, 0}, {w - 1, h - 1}, {1, h - 1}});
  }
  Content = {0, 0, w - 1, h - 1};
  if (down) rect_ops::Offset(Content, 1, 1);
}

void TTavSpeedButton::Paint() {
  UpdateEnabledState();
  TCanvas* c = Canvas();
  c->SetFont(Font());
  TRect content{};
  PaintFace({0, 0, Width(), Height()}, content);
  if (state_ == bsExclusive) {
    if (!pattern_) {
      pattern_ = std::make_unique<TBitmap>();
      pattern_->SetWidth(8);
      pattern_->SetHeight(8);
      TCanvas* p = pattern_->Canvas();
      p->Brush()->SetColor(clBtnFace);
      p->FillRect({0, 0, 8, 8});
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
          if ((x % 2) == (y % 2)) p->SetPixels(x, y, downColor_);
    }
    c->Brush()->SetBitmap(pattern_.get());
    c->FillRect({content.left, content.top, content.right - 1, content.bottom - 1});
    c->Brush()->SetBitmap(nullptr);
    pattern_.reset();
  }
  glyph_->Draw(c, content, Caption(), layout_, margin_, spacing_, state_);
}

bool TTavSpeedButton::Inside(int X, int Y) { return X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight(); }

void TTavSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TTavGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (!down_) {
    state_ = bsDown;
    Repaint();
  }
  dragging_ = true;
}

void TTavSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TTavGraphicControl::MouseMove(Shift, X, Y);
  if (!dragging_) return;
  const TButtonState next = Inside(X, Y) ? (down_ ? bsExclusive : bsDown) : (down_ ? bsExclusive : bsUp);
  if (next != state_) {
    state_ = next;
    Repaint();
  }
}

void TTavSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TTavGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!dragging_ || Button != mbLeft) return;
  dragging_ = false;
  const bool inside = Inside(X, Y);
  state_ = bsUp;
  if (groupIndex_ == 0) {
    Repaint();
  } else if (inside) {
    SetDown(!down_);
  } else {
    if (down_) state_ = bsExclusive;
    Repaint();
  }
  if (inside) Click();
}

void TTavSpeedButton::Click() { TTavGraphicControl::Click(); }

void TTavSpeedButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccel(Message.WParam, Caption()) && Enabled() && IsVisible() && Parent() && Parent()->Visible()) {
        Click();
        Message.Result = 1;
        return;
      }
      break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED: Invalidate(); break;
    case CM_SYSCOLORCHANGE:
      glyph_->Invalidate();
      Invalidate();
      break;
    case CM_BUTTONPRESSED: ButtonPressed(Message); return;
    case CM_HINTSHOW:
      // No hint while disabled.
      Message.Result = Enabled() ? 0 : 1;
      return;
    case WM_LBUTTONDBLCLK:
      TTavGraphicControl::WndProc(Message);
      if (down_ && OnDblClick) OnDblClick(this);
      return;
    default: break;
  }
  TTavGraphicControl::WndProc(Message);
}

const TClassInfo& TTavSpeedButton::StaticClassInfo() {
  using C = TTavSpeedButton;
  static const TClassInfo info(
      "TTavSpeedButton", &TTavGraphicControl::StaticClassInfo(),
      {OrdProperty<C>("AllowAllUp", TypeInfo_Boolean, &C::AllowAllUp, &C::SetAllowAllUp, false),
       OrdProperty<C>("GroupIndex", TypeInfo_Integer, &C::GroupIndex, &C::SetGroupIndex, 0),
       OrdProperty<C>("Down", TypeInfo_Boolean, &C::Down, &C::SetDown, false),
       ObjectProperty<C, TBitmap>("Glyph", &C::Glyph, &C::SetGlyph),
       OrdProperty<C>("NumGlyphs", TypeInfo_Integer, &C::NumGlyphs, &C::SetNumGlyphs, 1),
       OrdProperty<C>("Layout", TypeInfo_TButtonLayout, &C::Layout, &C::SetLayout, blGlyphLeft),
       OrdProperty<C>("Margin", TypeInfo_Integer, &C::Margin, &C::SetMargin, -1),
       OrdProperty<C>("Spacing", TypeInfo_Integer, &C::Spacing, &C::SetSpacing, 4),
       OrdProperty<C>("Bevel", TypeInfo_TBevelStyle, &C::BevelStyle, &C::SetBevelStyle, bsRaised),
       OrdProperty<C>("DownColor", TypeInfo_TColor, &C::DownColor, &C::SetDownColor, clWhite),
       OrdProperty<C>("BevelColor", TypeInfo_TColor, &C::BevelColor, &C::SetBevelColor, clBlack)},
      {}, CreateComponent<C>);
  return info;
}

[[maybe_unused]] static const bool speedButtonRegistered = (RegisterClass(TTavSpeedButton::StaticClassInfo()), true);
