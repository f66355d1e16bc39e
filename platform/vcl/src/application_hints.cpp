// TApplication: the hint of the control under the mouse, and the hint window that shows it.
#include "vcl/forms.h"
#include "vcl/graphics_images.h"
#include "vcl/hintwindow.h"
#include "vcl/timers.h"

namespace {

// A control without a hint of its own shows its parent's.
std::string HintOf(TControl* Control) {
  std::string hint;
  for (TControl* c = Control; c && hint.empty(); c = c->Parent()) hint = c->Hint();
  return hint;
}

// Controls of a hidden window, or of one disabled by a modal one, show no hints.
bool InUsableWindow(TControl* Control) {
  TControl* top = Control;
  while (top->Parent()) top = top->Parent();
  auto* window = dynamic_cast<TWinControl*>(top);
  return window && window->HandleAllocated() && IsWindowVisible(window->Handle()) && IsWindowEnabled(window->Handle());
}

}  // namespace

std::string GetShortHint(const std::string& Hint) {
  size_t bar = Hint.find('|');
  return bar == std::string::npos ? Hint : Hint.substr(0, bar);
}

std::string GetLongHint(const std::string& Hint) {
  size_t bar = Hint.find('|');
  return bar == std::string::npos ? Hint : Hint.substr(bar + 1);
}

TApplication::~TApplication() {
  // Gone while this object is whole: their destructors reach back to it. They have no owner, so
  // freeing the application's components does not free them behind these pointers.
  delete hintTimer_;
  delete hintWindow_;
  if (smallIcon_) DestroyIcon(smallIcon_);
}

void TApplication::SetMouseControl(TControl* Control) {
  if (mouseControl_ == Control) return;
  TControl* old = mouseControl_;
  mouseControl_ = Control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
  if (Control && mouseControl_ == Control) Control->Perform(CM_MOUSEENTER, 0, 0);
  SetHint(GetLongHint(HintOf(mouseControl_)));
  HintControlChanged();
}

void TApplication::SetHint(const std::string& Value) {
  if (hint_ == Value) return;
  hint_ = Value;
  if (OnHint) OnHint(this);
}

void TApplication::SetShowHint(bool Value) {
  showHint_ = Value;
  if (!Value) CancelHint();
}

bool TApplication::HintWanted() {
  TControl* c = mouseControl_;
  return showHint_ && c && c->ShowHint() && !GetShortHint(HintOf(c)).empty() && InUsableWindow(c);
}

void TApplication::HintControlChanged() {
  const bool wasShowing = hintState_ == THintState::Showing;
  CancelHint();
  if (!HintWanted()) return;
  hintState_ = THintState::Waiting;
  StartHintTimer(wasShowing ? hintShortPause_ : hintPause_);
}

void TApplication::CancelHint() {
  HideHintWindow();
  hintState_ = THintState::Idle;
}

void TApplication::MouseControlGone() {
  mouseControl_ = nullptr;
  CancelHint();
}

void TApplication::StartHintTimer(int Milliseconds) {
  if (Milliseconds <= 0) return HintTimerExpired();
  if (!hintTimer_) {
    hintTimer_ = new TTimer(nullptr);
    hintTimer_->SetEnabled(false);
    hintTimer_->SetOnTimer([this](TObject*) { HintTimerExpired(); });
  }
  hintTimer_->SetInterval(static_cast<unsigned>(Milliseconds));
  // Enabling again starts a full interval.
  hintTimer_->SetEnabled(false);
  hintTimer_->SetEnabled(true);
}

void TApplication::HintTimerExpired() {
  if (hintTimer_) hintTimer_->SetEnabled(false);
  if (hintState_ == THintState::Waiting) {
    // The control may refuse its hint for now (a disabled speed button does) by answering
    // CM_HINTSHOW with non-zero.
    if (!HintWanted() || mouseControl_->Perform(CM_HINTSHOW, 0, 0) != 0) {
      hintState_ = THintState::Idle;
      return;
    }
    ShowHintWindow();
  } else if (hintState_ == THintState::Showing) {
    CancelHint();
  }
}

void TApplication::ShowHintWindow() {
  if (!hintWindow_) hintWindow_ = new THintWindow(nullptr);
  hintWindow_->SetColor(hintColor_);
  const std::string text = GetShortHint(HintOf(mouseControl_));
  POINT cursor{0, 0};
  GetCursorPos(&cursor);
  TRect r = hintWindow_->CalcHintRect(Screen->Width(), text);
  // Below the cursor's picture, so the hint does not hide what the mouse points at.
  const int below = GetSystemMetrics(SM_CYCURSOR);
  hintWindow_->ActivateHint({cursor.x, cursor.y + below, cursor.x + r.right, cursor.y + below + r.bottom}, text);
  hintState_ = THintState::Showing;
  StartHintTimer(hintHidePause_);
}

void TApplication::HideHintWindow() {
  if (hintTimer_) hintTimer_->SetEnabled(false);
  if (hintWindow_) hintWindow_->ReleaseHandle();
}
