// Push buttons, check boxes and radio buttons.
#include <cctype>

#include "win32/item_search.h"
#include "stdctrls_draw.h"
#include "vcl/forms.h"

char AcceleratorOf(const std::string& Caption) { return itemsearch::AccessKey(Caption); }

bool IsAccel(WPARAM Key, const std::string& Caption) {
  return itemsearch::IsAccessKey(static_cast<char>(Key & 0xFF), Caption);
}

// ---- TButtonControl ---------------------------------------------------------------------------
TButtonControl::TButtonControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
  SetColor(clBtnFace);
  SetTabStop(true);
}

void TButtonControl::SetPressed(bool Value) {
  if (pressed_ == Value) return;
  pressed_ = Value;
  Invalidate();
}

void TButtonControl::SetStandardInput(bool Value) {
  if (standardInput_ == Value) return;
  standardInput_ = Value;
  if (!Value && tracking_) ReleaseCapture();
  tracking_ = spaceDown_ = false;
  SetPressed(false);
}

void TButtonControl::WndProc(TMessage& Message) {
  if (!standardInput_) return TCustomControl::WndProc(Message);
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Enabled()) {
        if (!Focused() && CanFocus()) SetFocus();
        tracking_ = true;
        SetCapture(Handle());
        SetPressed(true);
      }
      break;
    case WM_MOUSEMOVE:
      if (tracking_) {
        TWMMouse m(Message);
        TRect r = ClientRect();
        SetPressed(m.XPos >= r.left && m.XPos < r.right && m.YPos >= r.top && m.YPos < r.bottom);
      }
      break;
    case WM_LBUTTONUP:
      if (tracking_) {
        bool completed = pressed_;
        tracking_ = false;
        ReleaseCapture();
        SetPressed(false);
        if (completed) Activate();
      }
      break;
    case WM_KILLFOCUS:
    case WM_CAPTURECHANGED:
      if (Message.Msg == WM_KILLFOCUS || reinterpret_cast<HWND>(Message.LParam) != Handle()) {
        tracking_ = spaceDown_ = false;
        SetPressed(false);
      }
      Invalidate();
      break;
    case WM_SETFOCUS: Invalidate(); break;
    case CM_DIALOGCHAR:
      if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
        SetFocus();
        Activate();
        Message.Result = 1;
        return;
      }
      break;
    default: break;
  }
  TCustomControl::WndProc(Message);
  // Key events saw the key first; one they swallowed arrives as 0.
  if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_SPACE && Enabled()) {
    spaceDown_ = true;
    SetPressed(true);
  } else if (Message.Msg == WM_KEYUP && Message.WParam == VK_SPACE && spaceDown_) {
    spaceDown_ = false;
    SetPressed(false);
    Activate();
  }
}

void TButtonControl::PaintBackground(UINT CtlColorMessage) {
  HDC dc = Canvas()->Handle();
  HWND parent = ::GetParent(Handle());
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(parent, CtlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Handle())));
  RECT r = ClientRect();
  FillRect(dc, &r, brush ? brush : Brush()->Handle());
  SelectObject(dc, Font()->Handle());
}

// ---- TButton ----------------------------------------------------------------------------------
TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 75, 25); }

void TButton::SetDefault(bool Value) {
  default_ = Value;
  TCustomForm* form = GetParentForm(this);
  if (form && form->HandleAllocated())
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TButton::SetButtonStyle(bool) { Invalidate(); }

void TButton::Click() {
  TCustomForm* form = GetParentForm(this);
  if (form && modalResult_ != mrNone) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

void TButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY: {
      TWMKey key(Message);
      bool pressed = (key.CharCode == VK_RETURN && active_) || (key.CharCode == VK_ESCAPE && cancel_);
      if (pressed && !KeyDataToShiftState(key.KeyData).Contains(ssAlt) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
      }
      break;
    }
    case CM_FOCUSCHANGED: {
      auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
      bool active = dynamic_cast<TButton*>(focused) ? focused == this : default_;
      if (active != active_) {
        active_ = active;
        SetButtonStyle(active);
      }
      return;
    }
    case WM_GETDLGCODE: Message.Result = DLGC_BUTTON | (active_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON); return;
    default: break;
  }
  TButtonControl::WndProc(Message);
}

void TButton::Paint() {
  PaintBackground(WM_CTLCOLORBTN);
  HDC dc = Canvas()->Handle();
  RECT r = ClientRect();
  stdctrls::DrawPushFrame(dc, r, Pressed(), active_);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  if (Pressed()) r = {r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
  stdctrls::DrawControlText(dc, Caption(), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER, Enabled(),
                            ColorToRGB(Font()->Color()));
  if (Focused()) {
    RECT focus{4, 4, Width() - 4, Height() - 4};
    DrawFocusRect(dc, &focus);
  }
}

// ---- TCustomCheckBox --------------------------------------------------------------------------
TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 97, 17); }

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (state_ == Value) return;
  state_ = Value;
  Invalidate();
  if (!ClicksDisabled()) Click();
}

void TCustomCheckBox::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Invalidate();
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::Paint() {
  PaintBackground(WM_CTLCOLORSTATIC);
  HDC dc = Canvas()->Handle();
  stdctrls::TCheckLayout layout = stdctrls::LayoutCheck(ClientRect(), alignment_);
  stdctrls::DrawCheckGlyph(dc, layout.Glyph, state_, Enabled(), Pressed());
  stdctrls::DrawCheckCaption(dc, Caption(), layout.Text, Enabled(), Focused(), ColorToRGB(Font()->Color()));
}

// ---- TRadioButton -----------------------------------------------------------------------------
TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 113, 17);
  SetTabStop(false);
}

void TRadioButton::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Invalidate();
}

void TRadioButton::SetChecked(bool Value) {
  if (checked_ == Value) return;
  checked_ = Value;
  // Tab reaches a group of radio buttons at its checked one.
  SetTabStop(Value);
  Invalidate();
  if (!Value) return;
  if (TWinControl* parent = Parent())
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
        sibling->SetChecked(false);
  if (!ClicksDisabled()) Click();
}

void TRadioButton::WndProc(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_BUTTON | DLGC_RADIOBUTTON;
    return;
  }
  TButtonControl::WndProc(Message);
  // Moving through a group with the arrow keys checks the button reached.
  if (Message.Msg == WM_SETFOCUS && !checked_)
    for (int key : {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})
      if (GetKeyState(key) < 0) return SetChecked(true);
}

void TRadioButton::Paint() {
  PaintBackground(WM_CTLCOLORSTATIC);
  HDC dc = Canvas()->Handle();
  stdctrls::TCheckLayout layout = stdctrls::LayoutCheck(ClientRect(), alignment_);
  stdctrls::DrawRadioGlyph(dc, layout.Glyph, checked_, Enabled(), Pressed());
  stdctrls::DrawCheckCaption(dc, Caption(), layout.Text, Enabled(), Focused(), ColorToRGB(Font()->Color()));
}
