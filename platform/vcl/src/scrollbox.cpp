// Scrolling windowed controls: the two frame scroll bars, their painting and mouse work, and the
// children moved by the positions.
#include "vcl/forms_scrolling.h"

#include "win32/scrollbar_draw.h"
#include "win32/syscolor.h"

namespace {

constexpr UINT_PTR kRepeatTimer = 1;

int BarThickness(TScrollBarKind Kind) { return GetSystemMetrics(Kind == sbVertical ? SM_CXVSCROLL : SM_CYHSCROLL); }

}  // namespace

// ---- TControlScrollBar ------------------------------------------------------------------------
void TControlScrollBar::Assign(TPersistent* Source) {
  auto* bar = dynamic_cast<TControlScrollBar*>(Source);
  if (!bar) return TPersistent::Assign(Source);
  increment_ = bar->increment_;
  tracking_ = bar->tracking_;
  visible_ = bar->visible_;
  SetRange(bar->range_);
  SetPosition(bar->position_);
}

int TControlScrollBar::ControlSize() {
  return kind_ == sbVertical ? control_->ClientHeight() : control_->ClientWidth();
}

int TControlScrollBar::MaxPosition() { return shown_ ? std::max(0, range_ - ControlSize()) : 0; }

void TControlScrollBar::SetPosition(int Value) {
  Value = std::clamp(Value, 0, MaxPosition());
  if (Value == position_) return;
  const int delta = position_ - Value;
  position_ = Value;
  if (kind_ == sbVertical) control_->ScrollBy(0, delta);
  else
    control_->ScrollBy(delta, 0);
  if (control_->HandleAllocated()) control_->PaintBars();
}

void TControlScrollBar::SetRange(int Value) {
  range_ = std::max(0, Value);
  control_->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool Value) {
  visible_ = Value;
  control_->UpdateScrollBars();
}

void TControlScrollBar::ScrollMessage(WORD Code, int ThumbPos) {
  switch (Code) {
    case SB_LINEUP: SetPosition(position_ - increment_); break;
    case SB_LINEDOWN: SetPosition(position_ + increment_); break;
    case SB_PAGEUP: SetPosition(position_ - ControlSize()); break;
    case SB_PAGEDOWN: SetPosition(position_ + ControlSize()); break;
    case SB_THUMBPOSITION: SetPosition(ThumbPos); break;
    case SB_THUMBTRACK:
      if (tracking_) SetPosition(ThumbPos);
      break;
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(MaxPosition()); break;
    default: break;
  }
}

// ---- TScrollingWinControl ---------------------------------------------------------------------
TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner),
      horz_(new TControlScrollBar(this, sbHorizontal)),
      vert_(new TControlScrollBar(this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() {
  ++updating_;
  delete horz_;
  delete vert_;
}

void TScrollingWinControl::SetAutoScroll(bool Value) {
  autoScroll_ = Value;
  UpdateScrollBars();
}

void TScrollingWinControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  if (horz_->shown_) Params.Style |= WS_HSCROLL;
  if (vert_->shown_) Params.Style |= WS_VSCROLL;
}

void TScrollingWinControl::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScrollBars();
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  UpdateScrollBars();
}

void TScrollingWinControl::ScrollBy(int DeltaX, int DeltaY) {
  if (!DeltaX && !DeltaY) return;
  ++updating_;
  DisableAlign();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    c->SetBounds(c->Left() + DeltaX, c->Top() + DeltaY, c->Width(), c->Height());
  }
  EnableAlign();
  --updating_;
  Invalidate();
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
  if (!AControl || AControl->Parent() != this) return;
  auto scroll = [](TControlScrollBar* bar, int start, int size, int extent) {
    if (start < 0) bar->SetPosition(bar->Position() + start);
    else if (start + size > extent)
      bar->SetPosition(bar->Position() + std::min(start, start + size - extent));
  };
  scroll(horz_, AControl->Left(), AControl->Width(), ClientWidth());
  scroll(vert_, AControl->Top(), AControl->Height(), ClientHeight());
}

void TScrollingWinControl::CalcAutoRange() {
  int right = 0, bottom = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) continue;
    right = std::max(right, c->Left() + c->Width() + horz_->position_);
    bottom = std::max(bottom, c->Top() + c->Height() + vert_->position_);
  }
  horz_->range_ = right;
  vert_->range_ = bottom;
}

void TScrollingWinControl::UpdateScrollBars() {
  if (updating_ || ComponentState().Contains(csDestroying)) return;
  ++updating_;
  if (autoScroll_) CalcAutoRange();
  // The client area with neither bar, then each bar where the content does not fit.
  const int fullW = ClientWidth() + (vert_->shown_ && HandleAllocated() ? BarThickness(sbVertical) : 0);
  const int fullH = ClientHeight() + (horz_->shown_ && HandleAllocated() ? BarThickness(sbHorizontal) : 0);
  bool needV = vert_->visible_ && vert_->range_ > fullH;
  const bool needH = horz_->visible_ && horz_->range_ > fullW - (needV ? BarThickness(sbVertical) : 0);
  if (needH && !needV) needV = vert_->visible_ && vert_->range_ > fullH - BarThickness(sbHorizontal);
  if (needH != horz_->shown_ || needV != vert_->shown_) {
    horz_->shown_ = needH;
    vert_->shown_ = needV;
    if (HandleAllocated()) {
      DWORD style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)) & ~(WS_HSCROLL | WS_VSCROLL);
      if (needH) style |= WS_HSCROLL;
      if (needV) style |= WS_VSCROLL;
      SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG_PTR>(style));
      SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  --updating_;
  // Positions past the new ends come back within them.
  horz_->SetPosition(horz_->position_);
  vert_->SetPosition(vert_->position_);
  if (HandleAllocated()) PaintBars();
}

RECT TScrollingWinControl::BarRect(TControlScrollBar* Bar) {
  const POINT c = WindowPointOfClient(0, 0);
  const int w = ClientWidth(), h = ClientHeight();
  if (Bar->kind_ == sbVertical) return {c.x + w, c.y, c.x + w + BarThickness(sbVertical), c.y + h};
  return {c.x, c.y + h, c.x + w, c.y + h + BarThickness(sbHorizontal)};
}

POINT TScrollingWinControl::WindowPointOfClient(int X, int Y) {
  POINT p{X, Y};
  ::ClientToScreen(Handle(), &p);
  RECT window;
  GetWindowRect(Handle(), &window);
  return {p.x - window.left, p.y - window.top};
}

namespace {

scrollbar::Geometry GeometryOf(TControlScrollBar* Bar, const RECT& Rect, int Page) {
  return {Rect, Bar->Kind() == sbVertical, 0, Bar->MaxPosition(), Bar->Position(), Page};
}

}  // namespace

void TScrollingWinControl::PaintBars() {
  if (!horz_->shown_ && !vert_->shown_) return;
  HDC dc = GetWindowDC(Handle());
  for (TControlScrollBar* bar : {horz_, vert_}) {
    if (!bar->shown_) continue;
    const auto part = static_cast<scrollbar::Part>(bar == pressedBar_ ? pressedPart_ : 0);
    scrollbar::DrawScrollBar(dc, GeometryOf(bar, BarRect(bar), bar->ControlSize()), part, Enabled());
  }
  if (horz_->shown_ && vert_->shown_) {
    const RECT v = BarRect(vert_), h = BarRect(horz_);
    RECT corner{v.left, h.top, v.right, h.bottom};
    FillRect(dc, &corner, GetSysColorBrush(COLOR_BTNFACE));
  }
  ReleaseDC(Handle(), dc);
}

void TScrollingWinControl::PressBar(TControlScrollBar* Bar, POINT WindowPoint) {
  const RECT rect = BarRect(Bar);
  const auto g = GeometryOf(Bar, rect, Bar->ControlSize());
  pressedBar_ = Bar;
  pressedPart_ = scrollbar::ScrollPartAt(g, WindowPoint);
  const UINT msg = Bar->kind_ == sbVertical ? WM_VSCROLL : WM_HSCROLL;
  SetCapture(Handle());
  if (pressedPart_ == scrollbar::kThumb) {
    const RECT thumb = scrollbar::ThumbRect(g);
    thumbGrip_ = Bar->kind_ == sbVertical ? WindowPoint.y - thumb.top : WindowPoint.x - thumb.left;
    trackPos_ = Bar->position_;
  } else {
    static const WORD codes[] = {SB_ENDSCROLL, SB_LINEUP, SB_PAGEUP, SB_ENDSCROLL, SB_PAGEDOWN, SB_LINEDOWN};
    Perform(msg, codes[pressedPart_], 0);
    SetTimer(Handle(), kRepeatTimer, 400, nullptr);
  }
  PaintBars();
}

void TScrollingWinControl::TrackBar(UINT Msg, POINT WindowPoint) {
  TControlScrollBar* bar = pressedBar_;
  const UINT scroll = bar->kind_ == sbVertical ? WM_VSCROLL : WM_HSCROLL;
  const auto g = GeometryOf(bar, BarRect(bar), bar->ControlSize());
  if (pressedPart_ == scrollbar::kThumb) {
    const int along = bar->kind_ == sbVertical ? WindowPoint.y : WindowPoint.x;
    trackPos_ = scrollbar::PosAtThumb(g, along - thumbGrip_);
    if (Msg == WM_MOUSEMOVE) Perform(scroll, MAKEWPARAM(SB_THUMBTRACK, trackPos_), 0);
    else
      Perform(scroll, MAKEWPARAM(SB_THUMBPOSITION, trackPos_), 0);
  } else if (Msg == WM_TIMER) {
    SetTimer(Handle(), kRepeatTimer, 100, nullptr);
    static const WORD codes[] = {SB_ENDSCROLL, SB_LINEUP, SB_PAGEUP, SB_ENDSCROLL, SB_PAGEDOWN, SB_LINEDOWN};
    if (scrollbar::ScrollPartAt(g, WindowPoint) == pressedPart_) Perform(scroll, codes[pressedPart_], 0);
  }
  if (Msg == WM_LBUTTONUP) {
    KillTimer(Handle(), kRepeatTimer);
    pressedBar_ = nullptr;
    pressedPart_ = 0;
    ReleaseCapture();
    Perform(scroll, SB_ENDSCROLL, 0);
    PaintBars();
  }
}

void TScrollingWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (!Message.LParam) {
        (Message.Msg == WM_VSCROLL ? vert_ : horz_)
            ->ScrollMessage(LOWORD(Message.WParam), static_cast<short>(HIWORD(Message.WParam)));
        Message.Result = 0;
        return;
      }
      break;
    case WM_NCPAINT:
      TWinControl::WndProc(Message);
      PaintBars();
      return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (Message.WParam == HTVSCROLL || Message.WParam == HTHSCROLL) {
        POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
        RECT window;
        GetWindowRect(Handle(), &window);
        PressBar(Message.WParam == HTVSCROLL ? vert_ : horz_, {p.x - window.left, p.y - window.top});
        Message.Result = 0;
        return;
      }
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      if (pressedBar_) {
        TrackBar(Message.Msg, WindowPointOfClient(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
        return;
      }
      break;
    case WM_NCLBUTTONUP:
      // A release read before the press took the mouse came as the bar's own.
      if (pressedBar_) {
        RECT window;
        GetWindowRect(Handle(), &window);
        TrackBar(WM_LBUTTONUP, {GET_X_LPARAM(Message.LParam) - window.left, GET_Y_LPARAM(Message.LParam) - window.top});
        return;
      }
      break;
    case WM_TIMER:
      if (Message.WParam == kRepeatTimer && pressedBar_) {
        POINT p;
        GetCursorPos(&p);
        RECT window;
        GetWindowRect(Handle(), &window);
        TrackBar(WM_TIMER, {p.x - window.left, p.y - window.top});
        return;
      }
      break;
    case WM_SIZE:
      TWinControl::WndProc(Message);
      UpdateScrollBars();
      return;
    default: break;
  }
  TWinControl::WndProc(Message);
}

// ---- TScrollBox -------------------------------------------------------------------------------
TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  SetBounds(Left(), Top(), 185, 41);
  SetTabStop(false);
  SetParentColor(true);  // a scroll box shows its form's face, not a window's white
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
  if (Value == borderStyle_) return;
  borderStyle_ = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params) {
  TScrollingWinControl::CreateParams(Params);
  if (borderStyle_ != bsSingle) return;
  if (Ctl3D()) Params.ExStyle |= WS_EX_CLIENTEDGE;
  else
    Params.Style |= WS_BORDER;
}
