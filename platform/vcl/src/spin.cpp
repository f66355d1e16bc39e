// Spin edits: a number edit with up and down buttons that repeat while held.
#include "vcl/spin.h"

#include "stdctrls_draw.h"

namespace {
constexpr int kButtonWidth = 15;
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstDelay = 400;
constexpr UINT kRepeatDelay = 100;

// A small black triangle pointing up or down, centred in R.
void DrawArrow(HDC DC, const RECT& R, bool Up, bool Enabled) {
  const COLORREF color = GetSysColor(Enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  const int cx = (R.left + R.right) / 2, cy = (R.top + R.bottom) / 2;
  for (int row = 0; row < 3; ++row) {
    const int y = Up ? cy - 1 + row : cy + 1 - row;
    for (int x = cx - row; x <= cx + row; ++x) SetPixelV(DC, x, y, color);
  }
}
}  // namespace

TSpinEdit::TSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetTextRightMargin(kButtonWidth);
  SetText("0");
}

int TSpinEdit::CheckValue(int NewValue) const {
  if (maxValue_ == minValue_) return NewValue;
  return std::max(minValue_, std::min(NewValue, maxValue_));
}

int TSpinEdit::Value() {
  try {
    return StrToInt(GetText());
  } catch (const EConvertError&) {
    return minValue_;
  }
}

void TSpinEdit::SetValue(int NewValue) { SetText(IntToStr(CheckValue(NewValue))); }

void TSpinEdit::UpClick() {
  if (ReadOnly()) MessageBeep(0);
  else
    SetValue(Value() + increment_);
}

void TSpinEdit::DownClick() {
  if (ReadOnly()) MessageBeep(0);
  else
    SetValue(Value() - increment_);
}

void TSpinEdit::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_UP) UpClick();
  else if (Key == VK_DOWN)
    DownClick();
  TCustomEdit::KeyDown(Key, Shift);
}

void TSpinEdit::KeyPress(char& Key) {
  const bool valid = (Key >= '0' && Key <= '9') || Key == '+' || Key == '-' || static_cast<unsigned char>(Key) < 32;
  if (!valid) {
    Key = 0;
    MessageBeep(0);
  }
  if (Key) TCustomEdit::KeyPress(Key);
}

TSpinEdit::TSpinPart TSpinEdit::PartAt(int X, int Y) {
  if (X < ClientWidth() - kButtonWidth) return spNone;
  return Y < ClientHeight() / 2 ? spUp : spDown;
}

void TSpinEdit::Step() {
  if (pressed_ == spUp) UpClick();
  else if (pressed_ == spDown)
    DownClick();
}

void TSpinEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      TWMMouse m(Message);
      TSpinPart part = PartAt(m.XPos, m.YPos);
      if (part == spNone || !Enabled()) break;
      if (!Focused() && CanFocus()) SetFocus();
      pressed_ = part;
      SetCapture(Handle());
      Step();
      SetTimer(Handle(), kRepeatTimer, kFirstDelay, nullptr);
      Invalidate();
      return;
    }
    case WM_LBUTTONUP:
      if (pressed_ == spNone) break;
      pressed_ = spNone;
      KillTimer(Handle(), kRepeatTimer);
      ReleaseCapture();
      Invalidate();
      return;
    case WM_TIMER:
      if (Message.WParam != kRepeatTimer) break;
      SetTimer(Handle(), kRepeatTimer, kRepeatDelay, nullptr);
      Step();
      return;
    case CM_EXIT:
      if (CheckValue(Value()) != Value()) SetValue(Value());
      break;
    default: break;
  }
  TCustomEdit::WndProc(Message);
}

void TSpinEdit::Paint() {
  TCustomEdit::Paint();
  HDC dc = Canvas()->Handle();
  const int left = ClientWidth() - kButtonWidth, middle = ClientHeight() / 2;
  for (TSpinPart part : {spUp, spDown}) {
    RECT r = part == spUp ? RECT{left, 0, ClientWidth(), middle} : RECT{left, middle, ClientWidth(), ClientHeight()};
    RECT face = r;
    if (pressed_ == part) {
      FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
      face = {face.left + 1, face.top + 1, face.right - 1, face.bottom - 1};
    } else {
      DrawEdge(dc, &face, EDGE_RAISED, BF_RECT | BF_ADJUST);
    }
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    DrawArrow(dc, r, part == spUp, Enabled());
  }
}

const TClassInfo& TSpinEdit::StaticClassInfo() {
  using C = TSpinEdit;
  static const TClassInfo info("TSpinEdit", &TCustomEdit::StaticClassInfo(),
                               {OrdProperty<C>("MinValue", TypeInfo_Integer, &C::MinValue, &C::SetMinValue, 0),
                                OrdProperty<C>("MaxValue", TypeInfo_Integer, &C::MaxValue, &C::SetMaxValue, 0),
                                OrdProperty<C>("Increment", TypeInfo_Integer, &C::Increment, &C::SetIncrement, 1),
                                OrdProperty<C>("Value", TypeInfo_Integer, &C::Value, &C::SetValue)},
                               {}, CreateComponent<TSpinEdit>);
  return info;
}

[[maybe_unused]] static const bool spinEditRegistered = (RegisterClass(TSpinEdit::StaticClassInfo()), true);
