// TWinControl: its window, the window procedure, children and the messages a parent handles for
// them.
#include <algorithm>

#include "control_tracking.h"
#include "vcl/controls.h"
#include "vcl/forms.h"
#include "win32/stdcontrols.h"

namespace {

constexpr LPCSTR kControlProp = "TWinControl.Self";
// The control whose window is being created: its first messages come before the window knows it.
thread_local TWinControl* creatingControl = nullptr;
// Child windows get ids of their own so that notifications by id (WM_DRAWITEM) find them.
UINT_PTR nextChildId = 100;

template <class T>
void EraseFrom(std::vector<T*>& list, const void* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), brush_(new TBrush) { brush_->SetColor(Color()); }

TWinControl::~TWinControl() {
  // Leave the parent while still a windowed control, so it takes this out of the right list.
  SetParent(nullptr);
  // The window goes first, so whatever handles its WM_DESTROY still finds the child controls.
  if (handle_) DestroyHandle();
  // Children go with their parent, whoever owns them.
  while (ControlCount() > 0) {
    TControl* child = Controls(ControlCount() - 1);
    RemoveControl(child);
    delete child;
  }
  delete brush_;
}

TWinControl* TWinControl::FindControl(HWND Window) {
  if (!Window) return nullptr;
  return static_cast<TWinControl*>(GetPropA(Window, kControlProp));
}

HWND TWinControl::Handle() {
  if (!handle_) CreateHandle();
  if (!handle_) throw EOutOfResources("Error creating window");
  return handle_;
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  // Making the parent's window makes its children's windows, this one's among them.
  if (Parent()) Parent()->HandleNeeded();
  if (handle_) return;
  CreateWnd();
  for (TWinControl* child : winControls_) child->HandleNeeded();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Caption = text_;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle().Contains(csAcceptsControls)) Params.Style |= WS_CLIPCHILDREN;
  if (Visible()) Params.Style |= WS_VISIBLE;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  if (tabStop_) Params.Style |= WS_TABSTOP;
  Params.X = Left();
  Params.Y = Top();
  Params.Width = Width();
  Params.Height = Height();
  Params.WndParent = Parent() ? Parent()->Handle() : nullptr;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = DefWindowProcA;
  Params.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, LPCSTR ControlClassName) {
  constexpr UINT keptStyles = CS_OWNDC | CS_CLASSDC | CS_PARENTDC;
  WNDCLASSA wc{};
  if (!GetClassInfoA(nullptr, ControlClassName, &wc))
    throw EInvalidOperation(Format("Window class '%s' does not exist", {ControlClassName}));
  Params.WindowClass = wc;
  Params.WindowClass.style = (Params.WindowClass.style & ~keptStyles) | (wc.style & keptStyles);
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) && !params.WndParent)
    throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  DefWndProc = params.WindowClass.lpfnWndProc ? params.WindowClass.lpfnWndProc : DefWindowProcA;
  WNDCLASSA existing{};
  bool registered = GetClassInfoA(nullptr, params.WinClassName.c_str(), &existing);
  if (registered && existing.lpfnWndProc != InitWndProc) {
    UnregisterClassA(params.WinClassName.c_str(), nullptr);
    registered = false;
  }
  if (!registered) {
    WNDCLASSA wc = params.WindowClass;
    wc.lpfnWndProc = InitWndProc;
    wc.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClassA(&wc)) throw EOutOfResources("Error creating window class");
  }
  CreateWindowHandle(params);
  if (!handle_) throw EOutOfResources("Error creating window");
  UpdateBounds();
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  HMENU id = (Params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(nextChildId++) : nullptr;
  TWinControl* outer = creatingControl;
  creatingControl = this;
  HWND window = CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                                Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, id, nullptr,
                                Params.Param);
  creatingControl = outer;
  handle_ = window;
}

void TWinControl::DestroyWnd() {
  text_ = GetText();
  DestroyWindow(handle_);
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  for (TWinControl* child : winControls_) child->DestroyHandle();
  TControlState state = ControlState();
  SetControlState(state + TControlState{csDestroyingHandle});
  DestroyWnd();
  SetControlState(state);
  handle_ = nullptr;
}

void TWinControl::SetCtl3D(bool Value) {
  if (Value == ctl3D_) return;
  ctl3D_ = Value;
  RecreateWnd();  // the edge is a creation style
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  DestroyHandle();
  HandleNeeded();
}

LRESULT TWinControl::InitWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* control = FindControl(Window);
  if (!control) {
    control = creatingControl;
    if (!control) return DefWindowProcA(Window, Msg, WParam, LParam);
    control->handle_ = Window;
    SetPropA(Window, kControlProp, control);
  }
  TMessage m{Msg, WParam, LParam, 0};
  control->MainWndProc(m);
  return m.Result;
}

void TWinControl::MainWndProc(TMessage& Message) {
  try {
    WindowProc(Message);
  } catch (...) {
    Application->HandleException(this);
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!handle_) return;
  if (ReflectToChild(Message)) return;
  Message.Result =
      CallWindowProcA(DefWndProc ? DefWndProc : DefWindowProcA, handle_, Message.Msg, Message.WParam, Message.LParam);
}

bool TWinControl::ReflectToChild(TMessage& Message) {
  TWinControl* child = nullptr;
  switch (Message.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: child = FindControl(reinterpret_cast<HWND>(Message.LParam)); break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      for (TWinControl* c : winControls_)
        if (c->handle_ && static_cast<WPARAM>(GetWindowLongA(c->handle_, GWL_ID)) == Message.WParam) child = c;
      break;
    default: return false;
  }
  if (!child || child == this) return false;
  Message.Result = child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  return true;
}

void TWinControl::WndProc(TMessage& Message) {
  UINT msg = Message.Msg;
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) return RouteMouseMessage(Message);
  if (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) return HandleKeyMessage(Message);
  switch (msg) {
    case WM_PAINT: return PaintHandler(Message);
    case WM_ERASEBKGND: return EraseBackground(Message);
    case WM_SETFOCUS: return WMSetFocus(Message);
    case WM_WINDOWPOSCHANGED: return WMWindowPosChanged(Message);
    case WM_SETCURSOR: return WMSetCursor(Message);
    case WM_SYSCOLORCHANGE: Perform(CM_SYSCOLORCHANGE, 0, 0); return DefaultHandler(Message);
    case WM_NCDESTROY: return WMNCDestroy(Message);
    case CM_COLORCHANGED: return CMColorChanged();
    case CM_FONTCHANGED: return CMFontChanged();
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); return;
    case CM_ENABLEDCHANGED: return CMEnabledChanged();
    case CM_VISIBLECHANGED: return CMVisibleChanged();
    case CM_SYSCOLORCHANGE:
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED: return Broadcast(Message);
    case CM_TEXTCHANGED: Invalidate(); return;
    case CM_ENTER: return DoEnter();
    case CM_EXIT: return DoExit();
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSCROLLBAR: return CNCtlColor(Message);
    default: TControl::WndProc(Message);
  }
}

void TWinControl::RouteMouseMessage(TMessage& Message) {
  if (Message.Msg == WM_MOUSEMOVE) HandleMouseTracking(Message);
  if (ForwardMouseToChild(Message)) return;
  TControl::WndProc(Message);
}

void TWinControl::WMSetFocus(TMessage& Message) {
  if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
  DefaultHandler(Message);
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  DefaultHandler(Message);
  if (Message.LParam) UpdateBounds();
}

// The screen's cursor wins; otherwise the control under the pointer, then this one.
void TWinControl::WMSetCursor(TMessage& Message) {
  if (static_cast<SHORT>(LOWORD(Message.LParam)) == HTCLIENT) {
    TCursor cursor = Screen->Cursor();
    if (cursor == crDefault) {
      POINT p;
      GetCursorPos(&p);
      ::ScreenToClient(handle_, &p);
      TControl* under = ControlAtPos(p, false);
      cursor = under ? under->Cursor() : Cursor();
    }
    if (cursor != crDefault) {
      ::SetCursor(Screen->Cursors(cursor));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::WMNCDestroy(TMessage& Message) {
  DefaultHandler(Message);
  RemovePropA(handle_, kControlProp);
  handle_ = nullptr;
}

void TWinControl::CMColorChanged() {
  brush_->SetColor(Color());
  NotifyControls(CM_PARENTCOLORCHANGED);
  Invalidate();
}

void TWinControl::CMFontChanged() {
  if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
  NotifyControls(CM_PARENTFONTCHANGED);
  Invalidate();
}

void TWinControl::CMEnabledChanged() {
  if (handle_) EnableWindow(handle_, Enabled());
  Invalidate();
}

void TWinControl::CMVisibleChanged() {
  if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::CNCtlColor(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  SetBkColor(dc, ColorToRGB(brush_->Color()));
  Message.Result = reinterpret_cast<LRESULT>(brush_->Handle());
}

bool TWinControl::ForwardMouseToChild(TMessage& Message) {
  TWMMouse m(Message);
  TControl* target = nullptr;
  if (handle_ && GetCapture() == handle_) {
    TControl* captured = GetCaptureControl();
    if (captured != this && captured && captured->Parent() == this) target = captured;
  } else {
    target = ControlAtPos({m.XPos, m.YPos}, false);
  }
  if (!target) return false;
  Message.Result =
      target->Perform(Message.Msg, Message.WParam, MAKELPARAM(m.XPos - target->Left(), m.YPos - target->Top()));
  return true;
}

void TWinControl::HandleMouseTracking(TMessage& Message) {
  TWMMouse m(Message);
  TControl* under = ControlAtPos({m.XPos, m.YPos}, true);
  Application->SetMouseControl(under ? under : this);
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!c->Visible() || (!AllowDisabled && !c->Enabled())) continue;
    TRect r = c->BoundsRect();
    if (Pos.x < r.left || Pos.x >= r.right || Pos.y < r.top || Pos.y >= r.bottom) continue;
    if (c->Perform(CM_HITTEST, 0, MAKELPARAM(Pos.x - r.left, Pos.y - r.top)) != 0) return c;
  }
  return nullptr;
}

TControl* TWinControl::Controls(int Index) const {
  size_t i = static_cast<size_t>(Index);
  if (Index < 0 || i >= controls_.size() + winControls_.size())
    throw EInvalidOperation(Format("List index out of bounds (%d)", {Index}));
  if (i < controls_.size()) return controls_[i];
  return winControls_[i - controls_.size()];
}

bool TWinControl::ContainsControl(TControl* Control) const {
  for (TControl* c = Control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::InsertControl(TControl* AControl) {
  AControl->parent_ = this;
  if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
    winControls_.push_back(windowed);
    tabList_.push_back(windowed);
  } else {
    controls_.push_back(AControl);
  }
  if (!ComponentState().Contains(csLoading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  }
  if (auto* windowed = dynamic_cast<TWinControl*>(AControl); windowed && handle_) windowed->HandleNeeded();
  AlignControl(AControl);
  AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (AControl->parent_ != this) return;
  if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(AControl, true);
  AControl->Invalidate();
  if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
    windowed->DestroyHandle();
    EraseFrom(winControls_, windowed);
    EraseFrom(tabList_, windowed);
  } else {
    EraseFrom(controls_, AControl);
  }
  AControl->parent_ = nullptr;
  Realign();
}

void TWinControl::MoveToFront(TControl* AControl) {
  if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
    EraseFrom(winControls_, windowed);
    winControls_.push_back(windowed);
  } else {
    EraseFrom(controls_, AControl);
    controls_.push_back(AControl);
  }
}

void TWinControl::MoveToBack(TControl* AControl) {
  if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
    EraseFrom(winControls_, windowed);
    winControls_.insert(winControls_.begin(), windowed);
  } else {
    EraseFrom(controls_, AControl);
    controls_.insert(controls_.begin(), AControl);
  }
}

void TWinControl::Broadcast(TMessage& Message) {
  for (int i = 0; i < ControlCount(); ++i) {
    Controls(i)->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(Msg, 0, 0);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height()) return;
  bool resized = AWidth != Width() || AHeight != Height();
  if (handle_) {
    SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    // The window's answer sets the bounds; keep what was asked when it does not move.
  }
  StoreBounds(ALeft, ATop, AWidth, AHeight);
  RequestAlign();
  if (resized) Realign();
}

void TWinControl::UpdateBounds() {
  if (!handle_) return;
  RECT r;
  GetWindowRect(handle_, &r);
  if (GetWindowLongA(handle_, GWL_STYLE) & static_cast<LONG_PTR>(WS_CHILD)) {
    HWND parent = GetParent(handle_);
    MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&r), 2);
  }
  bool resized = r.right - r.left != Width() || r.bottom - r.top != Height();
  StoreBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  if (resized) Realign();
}

TRect TWinControl::ClientRect() {
  if (!handle_) return TControl::ClientRect();
  RECT r;
  GetClientRect(handle_, &r);
  return r;
}

TPoint TWinControl::ClientOrigin() {
  POINT p{0, 0};
  ::ClientToScreen(Handle(), &p);
  return p;
}

std::string TWinControl::GetText() {
  if (!handle_) return text_;
  int length = GetWindowTextLengthA(handle_);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(handle_, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

void TWinControl::SetText(const std::string& Value) {
  if (GetText() == Value) return;
  text_ = Value;
  if (handle_) SetWindowTextA(handle_, Value.c_str());
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

TCustomForm* GetParentForm(TControl* Control) {
  if (!Control) return nullptr;
  while (Control->Parent()) Control = Control->Parent();
  return dynamic_cast<TCustomForm*>(Control);
}
