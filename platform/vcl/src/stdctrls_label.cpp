// Labels and group boxes.
#include "stdctrls_draw.h"
#include "vcl/forms.h"
#include "vcl/scope_exit.h"

// ---- TCustomLabel -----------------------------------------------------------------------------
TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque, csReplicatable});
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (layout_ == Value) return;
  layout_ = Value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (autoSize_ == Value) return;
  autoSize_ = Value;
  AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (wordWrap_ == Value) return;
  wordWrap_ = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (Transparent() == Value) return;
  TControlStyle style = ControlStyle();
  SetControlStyle(Value ? style - TControlStyle{csOpaque} : style + TControlStyle{csOpaque});
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (showAccelChar_ == Value) return;
  showAccelChar_ = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  focusControl_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  std::string text = Caption();
  if ((Flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text[0] == '&' && text.size() == 1))) text += ' ';
  if (!showAccelChar_) Flags |= DT_NOPREFIX;
  HDC dc = Canvas()->Handle();
  SelectObject(dc, Font()->Handle());
  if (Flags & DT_CALCRECT) {
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &Rect, Flags);
    return;
  }
  stdctrls::DrawControlText(dc, text, Rect, Flags, Enabled(), ColorToRGB(Font()->Color()));
}

void TCustomLabel::Paint() {
  TRect r = ClientRect();
  if (!Transparent()) {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->FillRect(r);
  }
  static constexpr UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = DT_EXPANDTABS | kAlign[alignment_] | (wordWrap_ ? DT_WORDBREAK : 0);
  if (layout_ != tlTop) {
    TRect measured = r;
    DoDrawText(measured, flags | DT_CALCRECT);
    int height = measured.bottom - measured.top;
    r.top = layout_ == tlBottom ? r.bottom - height : (r.top + r.bottom - height) / 2;
  }
  DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || ComponentState().Contains(csLoading) || !Parent()) return;
  TRect r = ClientRect();
  if (!wordWrap_) r.right = 32767;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  Canvas()->Lock();
  HDC saved = Canvas()->HandleAllocated() ? Canvas()->Handle() : nullptr;
  Canvas()->SetHandle(dc);
  {
    ScopeExit unlock([&] {
      Canvas()->SetHandle(saved);
      Canvas()->Unlock();
      DeleteDC(dc);
    });
    DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0));
  }
  int left = Left();
  if (alignment_ == taRightJustify) left += Width() - r.right;
  SetBounds(left, Top(), r.right, r.bottom);
}

void TCustomLabel::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      AdjustBounds();
      return;
    case CM_DIALOGCHAR:
      if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(Message.WParam, Caption()) &&
          focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        Message.Result = 1;
      }
      return;
    default: TGraphicControl::WndProc(Message);
  }
}

// ---- TCustomGroupBox --------------------------------------------------------------------------
TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(
      TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable});
  SetBounds(0, 0, 185, 105);
  SetParentColor(true);
}

void TCustomGroupBox::AlignControls(TControl* AControl, TRect& Rect) {
  Rect.top += stdctrls::TextHeightOf(Font());
  Rect.left += 2;
  Rect.top += 2;
  Rect.right -= 2;
  Rect.bottom -= 2;
  TCustomControl::AlignControls(AControl, Rect);
}

void TCustomGroupBox::Paint() {
  HDC dc = Canvas()->Handle();
  const int h = stdctrls::TextHeightOf(Font());
  RECT frame{0, h / 2 - 1, Width(), Height()};
  RECT light{frame.left + 1, frame.top + 1, frame.right, frame.bottom};
  FrameRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
  RECT shadow{frame.left, frame.top, frame.right - 1, frame.bottom - 1};
  FrameRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
  const std::string text = Caption();
  if (text.empty()) return;
  SelectObject(dc, Font()->Handle());
  RECT r{8, 0, 0, h};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
  RECT back{r.left - 1, r.top, r.right + 1, r.bottom};
  FillRect(dc, &back, Brush()->Handle());
  stdctrls::DrawControlText(dc, text, r, DT_SINGLELINE | DT_LEFT, Enabled(), ColorToRGB(Font()->Color()));
}

void TCustomGroupBox::WndProc(TMessage& Message) {
  if (Message.Msg == CM_DIALOGCHAR && IsAccel(Message.WParam, Caption()) && CanFocus()) {
    if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
    Message.Result = 1;
    return;
  }
  if (Message.Msg == CM_TEXTCHANGED) Realign();
  TCustomControl::WndProc(Message);
}
