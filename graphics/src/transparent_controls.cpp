// The transparent controls: invalidation of what lies beneath, the window style, the background
// brush, and the group box's and panel's own painting.
#include "graphics/transparent_controls.h"

#include "vcl/forms.h"
#include "vcl/scope_exit.h"
#include "win32/text.h"

namespace {

constexpr int kCaptionIndent = 8;  // the group box's caption from its left edge

// The container now invalidating its transparent children: it is invalidated whole already, so
// they need not invalidate it again.
TWinControl* gInvalidatingChildrenOf = nullptr;

// Step one of every transparent control's invalidation: the parent beneath it. A transparent
// parent repaints whole (and with it its other transparent children); the flag stops the parent
// coming back here through its children.
void InvalidateBeneath(TControl* Control, bool& Reentry) {
  if (Reentry) return;
  TWinControl* parent = Control->Parent();
  if (!parent || !parent->HandleAllocated() || parent == gInvalidatingChildrenOf) return;
  if (IsTransparentPGControl(parent)) {
    Reentry = true;
    ScopeExit clearReentry([&] { Reentry = false; });
    parent->Invalidate();
    return;
  }
  const TRect r = Control->BoundsRect();
  InvalidateRect(parent->Handle(), &r, !parent->ControlStyle().Contains(csOpaque));
}

void InvalidateTransparentChildrenOf(TWinControl* Container) {
  TWinControl* const saved = gInvalidatingChildrenOf;
  gInvalidatingChildrenOf = Container;
  ScopeExit restore([&] { gInvalidatingChildrenOf = saved; });
  for (int i = 0; i < Container->ControlCount(); ++i)
    if (IsTransparentPGControl(Container->Controls(i))) Container->Controls(i)->Invalidate();
}

}  // namespace

bool IsTransparentPGControl(TControl* Control) {
  if (auto* c = dynamic_cast<TPGLabel*>(Control)) return c->Transparent();
  if (auto* c = dynamic_cast<TPGCheckBox*>(Control)) return c->Transparent();
  if (auto* c = dynamic_cast<TPGRadioButton*>(Control)) return c->Transparent();
  if (auto* c = dynamic_cast<TPGGroupBox*>(Control)) return c->Transparent();
  if (auto* c = dynamic_cast<TPGPanel*>(Control)) return c->Transparent();
  return dynamic_cast<TPGBevel*>(Control) != nullptr;
}

// ---- Label and bevel ----------------------------------------------------------------------------

TPGLabel::TPGLabel(TComponent* AOwner) : TLabel(AOwner) { SetTransparent(true); }

void TPGLabel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  Invalidate();  // the place it leaves
  TLabel::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TPGLabel::Invalidate() {
  InvalidateBeneath(this, reentry_);
  TLabel::Invalidate();
}

TPGBevel::TPGBevel(TComponent* AOwner) : TBevel(AOwner) {}

void TPGBevel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  Invalidate();
  TBevel::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TPGBevel::Invalidate() {
  InvalidateBeneath(this, reentry_);
  TBevel::Invalidate();
}

// ---- The windowed four ------------------------------------------------------------------------

template <class Base>
void TPGTransparentWinControl<Base>::SetTransparent(bool Value) {
  if (Value == transparent_) return;
  transparent_ = Value;
  if (!this->HandleAllocated()) return;
  DWORD ex = static_cast<DWORD>(GetWindowLongA(this->Handle(), GWL_EXSTYLE));
  if (Value) {
    this->SetControlStyle(this->ControlStyle() - TControlStyle{csOpaque});
    ex = (ex & ~WS_EX_CONTROLPARENT) | WS_EX_TRANSPARENT;
  } else {
    this->SetControlStyle(this->ControlStyle() + TControlStyle{csOpaque});
    ex &= ~(WS_EX_CONTROLPARENT | WS_EX_TRANSPARENT);
  }
  SetWindowLongA(this->Handle(), GWL_EXSTYLE, static_cast<LONG>(ex));
  Invalidate();
}

template <class Base>
void TPGTransparentWinControl<Base>::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  Invalidate();
  Base::SetBounds(ALeft, ATop, AWidth, AHeight);
}

template <class Base>
void TPGTransparentWinControl<Base>::Invalidate() {
  InvalidateBeneath(this, reentry_);
  Base::Invalidate();
  InvalidateTransparentChildren();
}

template <class Base>
void TPGTransparentWinControl<Base>::CreateParams(TCreateParams& Params) {
  Base::CreateParams(Params);
  // Whatever Transparent is: the setter changes the style only on a window that exists.
  Params.ExStyle |= WS_EX_TRANSPARENT;
}

template <class Base>
void TPGTransparentWinControl<Base>::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      if (!transparent_) break;
      Message.Result = 1;
      return;
    case CN_CTLCOLORSTATIC: {
      if (!this->HandleAllocated()) break;
      TBrush* brush = this->Brush();
      brush->SetColor(this->Color());
      brush->SetStyle(transparent_ ? bsClear : bsSolid);
      HDC dc = reinterpret_cast<HDC>(Message.WParam);
      SetTextColor(dc, ColorToRGB(this->Font()->Color()));
      SetBkColor(dc, ColorToRGB(brush->Color()));
      SetBkMode(dc, transparent_ ? TRANSPARENT : OPAQUE);
      Message.Result = reinterpret_cast<LRESULT>(brush->Handle());
      return;
    }
    default: break;
  }
  Base::WndProc(Message);
}

template class TPGTransparentWinControl<TRadioButton>;
template class TPGTransparentWinControl<TCheckBox>;
template class TPGTransparentWinControl<TGroupBox>;
template class TPGTransparentWinControl<TPanel>;

// ---- Group box and panel ------------------------------------------------------------------------

void TPGGroupBox::InvalidateTransparentChildren() { InvalidateTransparentChildrenOf(this); }

void TPGGroupBox::Paint() {
  TCanvas* c = Canvas();
  c->SetFont(Font());
  const int h = c->TextHeight("0");
  HDC dc = c->Handle();
  const std::string caption = Caption();
  if (!caption.empty()) {
    RECT r{kCaptionIndent, 0, 0, h};
    SelectObject(dc, Font()->Handle());
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    if (!Transparent()) c->Brush()->SetColor(Color());
    SetBkMode(dc, Transparent() ? TRANSPARENT : OPAQUE);
    SetBkColor(dc, ColorToRGB(Color()));
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_SINGLELINE);
    ExcludeClipRect(dc, r.left - 1, r.top, r.right + 1, r.bottom);
  }
  if (!Transparent()) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(TRect{0, 0, Width(), Height()});
  }
  TRect frame{0, h / 2 - 1, Width(), Height()};
  c->Brush()->SetStyle(bsSolid);
  if (Ctl3D()) {
    frame = TRect{frame.left + 1, frame.top + 1, frame.right, frame.bottom};
    c->Brush()->SetColor(clBtnHighlight);
    c->FrameRect(frame);
    frame = TRect{frame.left - 1, frame.top - 1, frame.right - 1, frame.bottom - 1};
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(frame);
  } else {
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(frame);
  }
}

void TPGPanel::InvalidateTransparentChildren() { InvalidateTransparentChildrenOf(this); }

void TPGPanel::Paint() {
  if (Transparent()) {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsClear);
    c->SetFont(Font());
    TRect r = ClientRect();
    const int h = c->TextHeight("W");
    RECT text{r.left, (r.top + r.bottom - h) / 2, r.right, (r.top + r.bottom - h) / 2 + h};
    static constexpr UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    const std::string caption = Caption();
    HDC dc = c->Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    SelectObject(dc, Font()->Handle());
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_EXPANDTABS | DT_VCENTER | kAlign[Alignment()]);
    // Only the bevels and the border of the inherited painting remain.
    int inset = BorderWidth();
    if (BevelInner() != bvNone) inset += BevelWidth();
    if (BevelOuter() != bvNone) inset += BevelWidth();
    ExcludeClipRect(dc, r.left + inset, r.top + inset, r.right - inset, r.bottom - inset);
  }
  TPanel::Paint();
}
