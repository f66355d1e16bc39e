// TControl: bounds, appearance, notifications and the mouse.
#include "vcl/controls.h"

#include "control_tracking.h"
#include "vcl/forms.h"
#include "vcl/menus.h"

namespace {

TControl* captureControl = nullptr;

}  // namespace

TShiftState KeysToShiftState(WPARAM Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  constexpr LPARAM altDown = 0x20000000;
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (KeyData & altDown) s.Include(ssAlt);
  return s;
}

TControl* GetCaptureControl() {
  TWinControl* window = TWinControl::FindControl(GetCapture());
  if (window && captureControl && captureControl->Parent() == window) return captureControl;
  return window;
}

void SetCaptureControl(TControl* Control) {
  captureControl = nullptr;
  ReleaseCapture();
  if (!Control) return;
  if (auto* windowed = dynamic_cast<TWinControl*>(Control)) {
    SetCapture(windowed->Handle());
  } else if (Control->Parent()) {
    captureControl = Control;
    SetCapture(Control->Parent()->Handle());
  }
}

void ForgetControl(TControl* Control) {
  if (captureControl == Control) {
    captureControl = nullptr;
    ReleaseCapture();
  }
  // Going away: nothing more is said to it.
  if (Application && Application->mouseControl_ == Control) Application->MouseControlGone();
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), font_(new TFont) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_->OnChange = [this](TObject* sender) { FontChanged(sender); };
  controlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
}

TControl::~TControl() {
  ForgetControl(this);
  SetParent(nullptr);
  delete font_;
}

void TControl::SetParentComponent(TComponent* ParentComponent) {
  if (auto* windowed = dynamic_cast<TWinControl*>(ParentComponent)) SetParent(windowed);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::WndProc(TMessage& Message) {
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) return HandleMouseMessage(Message);
  switch (Message.Msg) {
    case CM_HITTEST: Message.Result = HTCLIENT; return;
    case CM_PARENTCOLORCHANGED:
    case CM_PARENTFONTCHANGED:
    case CM_PARENTSHOWHINTCHANGED: return HandleParentChange(Message);
    case CM_VISIBLECHANGED: InvalidateControl(true, visible_ && controlStyle_.Contains(csOpaque)); return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED: Invalidate(); return;
    default: DefaultHandler(Message);
  }
}

void TControl::HandleParentChange(TMessage& Message) {
  if (!parent_) return;
  TControl* p = parent_;
  if (Message.Msg == CM_PARENTCOLORCHANGED && parentColor_) {
    SetColor(p->color_);
    parentColor_ = true;
  } else if (Message.Msg == CM_PARENTFONTCHANGED && parentFont_) {
    SetFont(p->font_);
    parentFont_ = true;
  } else if (Message.Msg == CM_PARENTSHOWHINTCHANGED && parentShowHint_) {
    SetShowHint(p->showHint_);
    parentShowHint_ = true;
  }
}

void TControl::HandleMouseMessage(TMessage& Message) {
  TWMMouse m(Message);
  TShiftState shift = KeysToShiftState(m.Keys);
  UINT msg = Message.Msg;
  if (msg == WM_LBUTTONDBLCLK && !controlStyle_.Contains(csDoubleClicks)) msg = WM_LBUTTONDOWN;
  switch (msg) {
    case WM_MOUSEMOVE: MouseMove(shift, m.XPos, m.YPos); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      controlState_.Include(csLButtonDown);
      if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (msg == WM_LBUTTONDBLCLK) {
        if (controlStyle_.Contains(csClickEvents)) DblClick();
        shift.Include(ssDouble);
      } else if (controlStyle_.Contains(csClickEvents)) {
        controlState_.Include(csClicked);
      }
      MouseDown(mbLeft, shift, m.XPos, m.YPos);
      break;
    case WM_LBUTTONUP: {
      controlState_.Exclude(csLButtonDown);
      if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
      if (controlState_.Contains(csClicked)) {
        controlState_.Exclude(csClicked);
        TRect r = ClientRect();
        if (m.XPos >= r.left && m.XPos < r.right && m.YPos >= r.top && m.YPos < r.bottom) Click();
      }
      MouseUp(mbLeft, shift, m.XPos, m.YPos);
      break;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      if (msg == WM_RBUTTONDBLCLK) shift.Include(ssDouble);
      MouseDown(mbRight, shift, m.XPos, m.YPos);
      break;
    case WM_RBUTTONUP:
      MouseUp(mbRight, shift, m.XPos, m.YPos);
      PopupAt(ClientToScreen(TPoint{m.XPos, m.YPos}));
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      if (msg == WM_MBUTTONDBLCLK) shift.Include(ssDouble);
      MouseDown(mbMiddle, shift, m.XPos, m.YPos);
      break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, m.XPos, m.YPos); break;
    default: DefaultHandler(Message);
  }
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  popupMenu_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == popupMenu_) popupMenu_ = nullptr;
}

// A right click opens the pop-up menu of the control, or else of the nearest parent with one.
void TControl::PopupAt(const TPoint& ScreenPoint) {
  for (TControl* c = this; c; c = c->Parent())
    if (TPopupMenu* popup = c->PopupMenu()) {
      if (!popup->AutoPopup()) return;
      popup->SetPopupComponent(c);
      popup->Popup(ScreenPoint.x, ScreenPoint.y);
      return;
    }
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}
void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

void TControl::SetParent(TWinControl* AParent) {
  if (parent_ == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::StoreBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  Invalidate();
  StoreBounds(ALeft, ATop, AWidth, AHeight);
  Invalidate();
  Perform(WM_WINDOWPOSCHANGED, 0, 0);
  RequestAlign();
}

TRect TControl::ClientRect() { return {0, 0, width_, height_}; }

void TControl::SetClientWidth(int Value) { SetWidth(width_ + Value - ClientWidth()); }
void TControl::SetClientHeight(int Value) { SetHeight(height_ + Value - ClientHeight()); }

TPoint TControl::ClientOrigin() {
  if (!parent_) throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  TPoint p = parent_->ClientOrigin();
  return {p.x + left_, p.y + top_};
}

TPoint TControl::ClientToScreen(const TPoint& Point) {
  TPoint o = ClientOrigin();
  return {Point.x + o.x, Point.y + o.y};
}

TPoint TControl::ScreenToClient(const TPoint& Point) {
  TPoint o = ClientOrigin();
  return {Point.x - o.x, Point.y - o.y};
}

void TControl::RequestAlign() {
  if (parent_) parent_->AlignControl(this);
}

void TControl::Loaded() {
  TComponent::Loaded();
  // The parent was being read when this control joined it: take what it passes on now.
  if (parent_) {
    Perform(CM_PARENTCOLORCHANGED, 0, 0);
    Perform(CM_PARENTFONTCHANGED, 0, 0);
    Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  }
  RequestAlign();
}

void TControl::SetAlign(TAlign Value) {
  if (align_ == Value) return;
  TAlign old = align_;
  align_ = Value;
  auto vertical = [](TAlign a) { return a == alTop || a == alBottom; };
  auto sided = [](TAlign a) { return a != alNone && a != alClient; };
  // A control turned from a top/bottom bar into a side bar keeps its thickness.
  if (sided(old) && sided(Value) && vertical(old) != vertical(Value)) SetBounds(left_, top_, height_, width_);
  RequestAlign();
}

void TControl::SetVisible(bool Value) {
  if (visible_ == Value) return;
  visible_ = Value;
  Perform(CM_VISIBLECHANGED, Value, 0);
  RequestAlign();
}

void TControl::Show() { SetVisible(true); }
void TControl::Hide() { SetVisible(false); }

bool TControl::IsVisible() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (color_ == Value) {
    parentColor_ = false;
    return;
  }
  color_ = Value;
  parentColor_ = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (parentColor_ == Value) return;
  parentColor_ = Value;
  if (parent_ && Value) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetFont(TFont* Value) { font_->Assign(Value); }

void TControl::FontChanged(TObject*) {
  parentFont_ = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (parentFont_ == Value) return;
  parentFont_ = Value;
  if (parent_ && Value) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
  if (cursor_ == Value) return;
  cursor_ = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
  parentShowHint_ = false;
  if (showHint_ == Value) return;
  showHint_ = Value;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
  if (parentShowHint_ == Value) return;
  parentShowHint_ = Value;
  if (parent_ && Value) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

std::string TControl::GetText() { return text_; }

void TControl::SetText(const std::string& Value) {
  if (GetText() == Value) return;
  text_ = Value;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!IsVisible || !parent_ || !parent_->HandleAllocated()) return;
  TRect r = BoundsRect();
  InvalidateRect(parent_->Handle(), &r, !(IsOpaque || parent_->ControlStyle().Contains(csOpaque)));
}

HPALETTE TControl::GetPalette() { return nullptr; }

void TControl::Invalidate() { InvalidateControl(visible_, controlStyle_.Contains(csOpaque)); }

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  parent_->MoveToFront(this);
  if (auto* windowed = dynamic_cast<TWinControl*>(this); windowed && windowed->HandleAllocated())
    SetWindowPos(windowed->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::SendToBack() {
  if (!parent_) return;
  parent_->MoveToBack(this);
  if (auto* windowed = dynamic_cast<TWinControl*>(this); windowed && windowed->HandleAllocated())
    SetWindowPos(windowed->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}
