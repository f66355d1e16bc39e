// The scroll bar control.
#include "win32/scrollbar_draw.h"
#include "vcl/stdctrls.h"

namespace {
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstDelay = 400;
constexpr UINT kRepeatDelay = 100;
}  // namespace

TScrollBar::TScrollBar(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(TControlStyle{csFramed, csDoubleClicks, csOpaque});
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (kind_ == Value) return;
  kind_ = Value;
  SetBounds(Left(), Top(), Height(), Width());
  Invalidate();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  if (AMax < AMin) throw EInvalidOperation("Scroll bar property out of range");
  APosition = std::max(AMin, std::min(APosition, AMax));
  const bool changed = APosition != position_;
  if (AMin != min_ || AMax != max_ || changed) Invalidate();
  min_ = AMin;
  max_ = AMax;
  position_ = APosition;
  if (changed) Change();
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(TScrollCode Code) {
  int pos = position_;
  switch (Code) {
    case scLineUp: pos -= smallChange_; break;
    case scLineDown: pos += smallChange_; break;
    case scPageUp: pos -= largeChange_; break;
    case scPageDown: pos += largeChange_; break;
    case scTop: pos = min_; break;
    case scBottom: pos = max_; break;
    default: break;
  }
  pos = std::max(min_, std::min(pos, max_));
  Scroll(Code, pos);
  SetPosition(pos);
}

void TScrollBar::RepeatPressedPart() {
  switch (pressedPart_) {
    case scrollbar::kLineUp: return DoScroll(scLineUp);
    case scrollbar::kLineDown: return DoScroll(scLineDown);
    case scrollbar::kPageUp: return DoScroll(scPageUp);
    case scrollbar::kPageDown: return DoScroll(scPageDown);
    default: return;
  }
}

void TScrollBar::WndProc(TMessage& Message) {
  const scrollbar::Geometry g{ClientRect(), kind_ == sbVertical, min_, max_, position_, 0};
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!Enabled()) break;
      TWMMouse m(Message);
      pressedPart_ = scrollbar::ScrollPartAt(g, {m.XPos, m.YPos});
      if (pressedPart_ == scrollbar::kNowhere) break;
      if (TabStop() && CanFocus()) SetFocus();
      SetCapture(Handle());
      if (pressedPart_ == scrollbar::kThumb) {
        RECT thumb = scrollbar::ThumbRect(g);
        dragOffset_ = g.Vertical ? m.YPos - thumb.top : m.XPos - thumb.left;
      } else {
        RepeatPressedPart();
        SetTimer(Handle(), kRepeatTimer, kFirstDelay, nullptr);
      }
      Invalidate();
      return;
    }
    case WM_MOUSEMOVE:
      if (pressedPart_ != scrollbar::kThumb) break;
      {
        TWMMouse m(Message);
        int pos = scrollbar::PosAtThumb(g, (g.Vertical ? m.YPos : m.XPos) - dragOffset_);
        Scroll(scTrack, pos);
        SetPosition(pos);
      }
      return;
    case WM_LBUTTONUP:
      if (pressedPart_ == scrollbar::kNowhere) break;
      if (pressedPart_ == scrollbar::kThumb) {
        int pos = position_;
        Scroll(scPosition, pos);
        SetPosition(pos);
      }
      KillTimer(Handle(), kRepeatTimer);
      pressedPart_ = scrollbar::kNowhere;
      ReleaseCapture();
      {
        int pos = position_;
        Scroll(scEndScroll, pos);
      }
      Invalidate();
      return;
    case WM_TIMER:
      if (Message.WParam != kRepeatTimer) break;
      SetTimer(Handle(), kRepeatTimer, kRepeatDelay, nullptr);
      // Page steps stop once the thumb reaches the pointer.
      {
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(Handle(), &p);
        if (scrollbar::ScrollPartAt(g, p) == pressedPart_) RepeatPressedPart();
      }
      return;
    default: break;
  }
  TCustomControl::WndProc(Message);
  if (Message.Msg == WM_KEYDOWN) switch (Message.WParam) {
      case VK_LEFT:
      case VK_UP: DoScroll(scLineUp); break;
      case VK_RIGHT:
      case VK_DOWN: DoScroll(scLineDown); break;
      case VK_PRIOR: DoScroll(scPageUp); break;
      case VK_NEXT: DoScroll(scPageDown); break;
      case VK_HOME: DoScroll(scTop); break;
      case VK_END: DoScroll(scBottom); break;
      default: break;
    }
}

void TScrollBar::Paint() {
  const scrollbar::Geometry g{ClientRect(), kind_ == sbVertical, min_, max_, position_, 0};
  scrollbar::DrawScrollBar(Canvas()->Handle(), g, static_cast<scrollbar::Part>(pressedPart_), Enabled());
}
