// The scroll bar control.
#include "win32/scrollbar_draw.h"
#include "vcl/stdctrls.h"

namespace {
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstDelay = 400;
constexpr UINT kRepeatDelay = 100;

scrollbar::Geometry GeometryOf(TScrollBar& Bar) {
  return {Bar.ClientRect(), Bar.Kind() == sbVertical, Bar.Min(), Bar.Max(), Bar.Position(), 0};
}

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
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Press(TWMMouse(Message))) return;
      break;
    case WM_MOUSEMOVE:
      if (DragThumb(TWMMouse(Message))) return;
      break;
    case WM_LBUTTONUP:
      if (Release()) return;
      break;
    case WM_TIMER:
      if (Message.WParam == kRepeatTimer) return RepeatWhileHeld();
      break;
    default: break;
  }
  TCustomControl::WndProc(Message);
  if (Message.Msg == WM_KEYDOWN) ScrollByKey(Message.WParam);
}

bool TScrollBar::Press(const TWMMouse& Mouse) {
  if (!Enabled()) return false;
  const scrollbar::Geometry g = GeometryOf(*this);
  pressedPart_ = scrollbar::ScrollPartAt(g, {Mouse.XPos, Mouse.YPos});
  if (pressedPart_ == scrollbar::kNowhere) return false;
  if (TabStop() && CanFocus()) SetFocus();
  SetCapture(Handle());
  if (pressedPart_ == scrollbar::kThumb) {
    const RECT thumb = scrollbar::ThumbRect(g);
    dragOffset_ = g.Vertical ? Mouse.YPos - thumb.top : Mouse.XPos - thumb.left;
  } else {
    RepeatPressedPart();
    SetTimer(Handle(), kRepeatTimer, kFirstDelay, nullptr);
  }
  Invalidate();
  return true;
}

bool TScrollBar::DragThumb(const TWMMouse& Mouse) {
  if (pressedPart_ != scrollbar::kThumb) return false;
  const scrollbar::Geometry g = GeometryOf(*this);
  int pos = scrollbar::PosAtThumb(g, (g.Vertical ? Mouse.YPos : Mouse.XPos) - dragOffset_);
  Scroll(scTrack, pos);
  SetPosition(pos);
  return true;
}

bool TScrollBar::Release() {
  if (pressedPart_ == scrollbar::kNowhere) return false;
  if (pressedPart_ == scrollbar::kThumb) {
    int pos = position_;
    Scroll(scPosition, pos);
    SetPosition(pos);
  }
  KillTimer(Handle(), kRepeatTimer);
  pressedPart_ = scrollbar::kNowhere;
  ReleaseCapture();
  int pos = position_;
  Scroll(scEndScroll, pos);
  Invalidate();
  return true;
}

void TScrollBar::RepeatWhileHeld() {
  SetTimer(Handle(), kRepeatTimer, kRepeatDelay, nullptr);
  // Page steps stop once the thumb reaches the pointer.
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(Handle(), &p);
  if (scrollbar::ScrollPartAt(GeometryOf(*this), p) == pressedPart_) RepeatPressedPart();
}

void TScrollBar::ScrollByKey(WPARAM Key) {
  switch (Key) {
    case VK_LEFT:
    case VK_UP: return DoScroll(scLineUp);
    case VK_RIGHT:
    case VK_DOWN: return DoScroll(scLineDown);
    case VK_PRIOR: return DoScroll(scPageUp);
    case VK_NEXT: return DoScroll(scPageDown);
    case VK_HOME: return DoScroll(scTop);
    case VK_END: return DoScroll(scBottom);
    default: return;
  }
}

void TScrollBar::Paint() {
  scrollbar::DrawScrollBar(Canvas()->Handle(), GeometryOf(*this), static_cast<scrollbar::Part>(pressedPart_),
                           Enabled());
}
