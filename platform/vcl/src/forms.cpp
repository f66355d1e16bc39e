// TCustomForm: a top-level window with its border, placement, active control and closing.
#include "vcl/forms.h"

#include "control_tracking.h"
#include "vcl/graphics_images.h"
#include "vcl/menus.h"
#include "vcl/scope_exit.h"

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner), canvas_(new TControlCanvas) {
  canvas_->SetControl(this);
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  SetVisible(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  StoreBounds(0, 0, 320, 240);
  Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      Application->HandleException(this);
    }
  }
  if (menu_) menu_->SetWindow(nullptr);
  Screen->RemoveForm(this);
  Application->FormDestroyed(this);
  delete canvas_;
}

void TCustomForm::AfterConstruction() {
  if (created_) return;
  created_ = true;
  DoCreate();
  if (Visible() && !showing_) ShowingChanged(true);
}

// An exception from OnCreate goes to the application; the form is still made.
void TCustomForm::DoCreate() {
  try {
    if (OnCreate) OnCreate(this);
  } catch (...) {
    if (Application) Application->HandleException(this);
    else
      throw;
  }
}
void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}
void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}
void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}
void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}
void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style &= ~(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
  Params.Style |= WS_CLIPCHILDREN;
  Params.WndParent = nullptr;
  switch (borderStyle_) {
    case bsNone: Params.Style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: Params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION;
      Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) Params.ExStyle |= WS_EX_TOOLWINDOW;
  if (borderStyle_ != bsNone && borderIcons_.Contains(biSystemMenu)) {
    Params.Style |= WS_SYSMENU;
    bool boxes = borderStyle_ == bsSingle || borderStyle_ == bsSizeable;
    if (boxes && borderIcons_.Contains(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
    if (boxes && borderIcons_.Contains(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
  }
  if (formStyle_ == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  if (!placed_) {
    if (position_ == poDefault || position_ == poDefaultPosOnly) Params.X = Params.Y = CW_USEDEFAULT;
    if (position_ == poDefault || position_ == poDefaultSizeOnly) Params.Width = Params.Height = CW_USEDEFAULT;
  }
}

void TCustomForm::CreateWnd() {
  if (!placed_) PlaceOnScreen();
  TWinControl::CreateWnd();
  placed_ = true;
  if (Application && Application->Icon()->Handle()) Application->GiveIcon(Handle());
  if (menu_) {
    menu_->SetWindow(Handle());
    ::SetMenu(Handle(), menu_->Handle());
  }
}

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (menu_ == Value) return;
  if (menu_) menu_->SetWindow(nullptr);
  menu_ = Value;
  if (menu_) menu_->FreeNotification(this);
  if (!HandleAllocated()) return;
  if (menu_) menu_->SetWindow(Handle());
  ::SetMenu(Handle(), menu_ ? menu_->Handle() : nullptr);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == menu_) {
    menu_ = nullptr;
    if (HandleAllocated()) ::SetMenu(Handle(), nullptr);
  }
}

void TCustomForm::PlaceOnScreen() {
  if (position_ == poScreenCenter || position_ == poDesktopCenter)
    StoreBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
}

// The frame around the client area that the window's styles make.
TRect TCustomForm::FrameDelta() {
  TCreateParams params;
  CreateParams(params);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, params.Style, menu_ != nullptr, params.ExStyle);
  return r;
}

TRect TCustomForm::ClientRect() {
  if (HandleAllocated()) return TWinControl::ClientRect();
  TRect frame = FrameDelta();
  return {0, 0, Width() - (frame.right - frame.left), Height() - (frame.bottom - frame.top)};
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (borderStyle_ == Value) return;
  borderStyle_ = Value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (borderIcons_ == Value) return;
  borderIcons_ = Value;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (formStyle_ == Value) return;
  formStyle_ = Value;
  if (HandleAllocated())
    SetWindowPos(Handle(), Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (windowState_ == Value) return;
  windowState_ = Value;
  if (!showing_) return;
  static constexpr int commands[] = {SW_RESTORE, SW_MINIMIZE, SW_SHOWMAXIMIZED};
  ShowWindow(Handle(), commands[Value]);
}

void TCustomForm::SetStoredClientWidth(int Value) {
  SetClientWidth(Value);
  if (ComponentState().Contains(csLoading)) pendingClientWidth_ = Value;
}

void TCustomForm::SetStoredClientHeight(int Value) {
  SetClientHeight(Value);
  if (ComponentState().Contains(csLoading)) pendingClientHeight_ = Value;
}

void TCustomForm::Loaded() {
  // The border style may have been read after the client size.
  if (pendingClientWidth_ >= 0) SetClientWidth(pendingClientWidth_);
  if (pendingClientHeight_ >= 0) SetClientHeight(pendingClientHeight_);
  pendingClientWidth_ = pendingClientHeight_ = -1;
  TWinControl::Loaded();
  if (created_ && Visible() && !showing_) ShowingChanged(true);
}

void TCustomForm::ShowingChanged(bool Showing) {
  if (Showing == showing_) return;
  if (Showing) {
    HandleNeeded();
    static constexpr int commands[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    showing_ = true;
    DoShow();
    ShowWindow(Handle(), commands[windowState_]);
    SetActiveWindow(Handle());
    if (activeControl_ && activeControl_->CanFocus()) ::SetFocus(activeControl_->Handle());
    else if (TWinControl* first = FindNextControl(nullptr, true, true, false))
      first->SetFocus();
    else
      ::SetFocus(Handle());
    Screen->SetActiveForm(this);
  } else {
    showing_ = false;
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    DoHide();
  }
}

void TCustomForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_VISIBLECHANGED:
      // A form read from its description shows once it is made (AfterConstruction).
      if (!ComponentState().Contains(csLoading)) ShowingChanged(Visible());
      return;
    case WM_CLOSE: Close(); return;
    case WM_SETFOCUS:
      // The form passes the focus on to the control that had it.
      TWinControl::WndProc(Message);
      if (activeControl_ && activeControl_->CanFocus()) ::SetFocus(activeControl_->Handle());
      return;
    case WM_ACTIVATE: {
      bool active = LOWORD(Message.WParam) != WA_INACTIVE;
      DefaultHandler(Message);
      if (active == active_) return;
      active_ = active;
      if (active) {
        Screen->SetActiveForm(this);
        Activate();
      } else {
        Deactivate();
      }
      return;
    }
    case WM_SIZE:
      DefaultHandler(Message);
      if (OnResize) OnResize(this);
      return;
    case CM_RELEASE: delete this; return;
    case CM_DIALOGKEY: return HandleDialogKey(Message);
    case WM_QUERYNEWPALETTE: Message.Result = RealizeControlPalettes(true) ? 1 : 0; return;
    case WM_PALETTECHANGED:
      // The form that changed the palette has realised its own already.
      if (reinterpret_cast<HWND>(Message.WParam) != Handle()) RealizeControlPalettes(false);
      Message.Result = 0;
      return;
    case WM_INITMENUPOPUP:
      TMenu::DispatchPopup(reinterpret_cast<HMENU>(Message.WParam));
      return DefaultHandler(Message);
    case WM_COMMAND:
      // A menu's choice: no control window, notification code 0.
      if (Message.LParam == 0 && HIWORD(Message.WParam) == 0 && menu_ && TMenu::DispatchCommand(LOWORD(Message.WParam)))
        return;
      TWinControl::WndProc(Message);
      return;
    default: TWinControl::WndProc(Message);
  }
}

namespace {

bool RealizePalettesIn(TWinControl* Container, HDC DC, bool Foreground) {
  bool changed = false;
  for (int i = 0; i < Container->ControlCount(); ++i) {
    TControl* control = Container->Controls(i);
    if (HPALETTE palette = control->GetPalette()) {
      HPALETTE old = SelectPalette(DC, palette, !Foreground);
      if (RealizePalette(DC) != 0) {
        control->Invalidate();
        changed = true;
      }
      SelectPalette(DC, old, TRUE);
    }
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) changed |= RealizePalettesIn(windowed, DC, Foreground);
  }
  return changed;
}

}  // namespace

bool TCustomForm::RealizeControlPalettes(bool Foreground) {
  if (!HandleAllocated()) return false;
  HDC dc = GetDC(Handle());
  bool changed = false;
  try {
    changed = RealizePalettesIn(this, dc, Foreground);
  } catch (...) {
    ReleaseDC(Handle(), dc);
    throw;
  }
  ReleaseDC(Handle(), dc);
  return changed;
}

void TCustomForm::HandleDialogKey(TMessage& Message) {
  TWMKey key(Message);
  if (GetKeyState(VK_MENU) >= 0) {
    if (key.CharCode == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
      SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
      Message.Result = 1;
      return;
    }
    if (key.CharCode >= VK_LEFT && key.CharCode <= VK_DOWN && activeControl_ && activeControl_->Parent()) {
      activeControl_->Parent()->SelectNext(activeControl_, key.CharCode == VK_RIGHT || key.CharCode == VK_DOWN, false);
      Message.Result = 1;
      return;
    }
  }
  TWinControl::WndProc(Message);
}

TCanvas* TCustomForm::Canvas() const {
  // The form's own font, as the canvas had it when the form painted.
  canvas_->Font()->Assign(Font());
  return canvas_;
}

void TCustomForm::PaintWindow(HDC DC) {
  if (!OnPaint) return;
  canvas_->Lock();
  canvas_->SetHandle(DC);
  {
    ScopeExit unlock([&] {
      canvas_->SetHandle(nullptr);
      canvas_->Unlock();
    });
    OnPaint(this);
  }
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  // A form description names its active control before the form can show it.
  const bool canFocus = ComponentState().Contains(csLoading) || (Control && Control->CanFocus());
  if (Control && (Control == this || GetParentForm(Control) != this || !canFocus))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  activeControl_ = Control;
  if (showing_ && HandleAllocated()) ::SetFocus(Control ? Control->Handle() : Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (focusedControl_ == Control) return;
  TWinControl* old = focusedControl_;
  focusedControl_ = Control;
  if (Control != this) activeControl_ = Control;
  Screen->SetActiveForm(this);
  if (old && old != this) old->Perform(CM_EXIT, 0, 0);
  if (Control && Control != this && focusedControl_ == Control) Control->Perform(CM_ENTER, 0, 0);
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
}

void TCustomForm::DefocusControl(TControl* Control, bool Removing) {
  auto inside = [&](TControl* c) {
    if (!c) return false;
    if (c == Control) return true;
    auto* windowed = dynamic_cast<TWinControl*>(Control);
    return Removing && windowed && windowed->ContainsControl(c);
  };
  if (inside(activeControl_)) activeControl_ = nullptr;
  if (inside(focusedControl_)) focusedControl_ = nullptr;
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application->MainForm() == this) Application->Terminate();
  else if (action == caHide)
    Hide();
  else if (action == caMinimize)
    SetWindowState(wsMinimized);
  else
    Release();
}

void TCustomForm::Release() { PostMessageA(Handle(), CM_RELEASE, 0, 0); }

void TCustomForm::CloseModal() {
  try {
    TCloseAction action = caNone;
    if (CloseQuery()) {
      action = caHide;
      DoClose(action);
    }
    if (action == caNone) modalResult_ = mrNone;
    else if (action == caFree)
      Release();
  } catch (...) {
    modalResult_ = mrNone;
    Application->HandleException(this);
  }
}

namespace {

struct TDisabledWindows {
  HWND keep;
  TTaskWindowList windows;
};

BOOL DisableOther(HWND window, LPARAM param) {
  auto* list = reinterpret_cast<TDisabledWindows*>(param);
  if (window != list->keep && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId() &&
      IsWindowVisible(window) && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    list->windows.push_back(window);
  }
  return TRUE;
}

}  // namespace

TTaskWindowList DisableTaskWindows(HWND ActiveWindow) {
  TDisabledWindows disabled{ActiveWindow, {}};
  EnumWindows(DisableOther, reinterpret_cast<LPARAM>(&disabled));
  return std::move(disabled.windows);
}

void EnableTaskWindows(const TTaskWindowList& WindowList) {
  for (HWND w : WindowList)
    if (IsWindow(w)) EnableWindow(w, TRUE);
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
  if (GetCapture()) ReleaseCapture();
  // The window it disables owns it while it shows, so the desktop keeps it in front of that one.
  const HWND formerOwner = GetWindow(Handle(), GW_OWNER);
  const HWND activeWindow = GetActiveWindow();
  if (activeWindow && activeWindow != Handle())
    SetWindowLongA(Handle(), GWL_HWNDPARENT, reinterpret_cast<LONG_PTR>(activeWindow));
  const TTaskWindowList disabled = DisableTaskWindows(Handle());
  TCursor savedCursor = Screen->Cursor();
  Screen->SetCursor(crDefault);
  TCustomForm* previousActive = Screen->ActiveForm();
  modal_ = true;
  auto restore = [&] {
    EnableTaskWindows(disabled);
    SetWindowLongA(Handle(), GWL_HWNDPARENT, reinterpret_cast<LONG_PTR>(formerOwner));
    modal_ = false;
    Screen->SetCursor(savedCursor);
    if (previousActive && previousActive->HandleAllocated() && previousActive->Visible()) {
      Screen->SetActiveForm(previousActive);
      SetActiveWindow(previousActive->Handle());
    }
  };
  TModalResult result;
  try {
    Show();
    modalResult_ = mrNone;
    do {
      Application->HandleMessage();
      if (Application->Terminated()) modalResult_ = mrCancel;
      else if (modalResult_ != mrNone)
        CloseModal();
    } while (modalResult_ == mrNone);
    result = modalResult_;
    Hide();
  } catch (...) {
    Hide();
    restore();
    throw;
  }
  restore();
  return result;
}

// ---- Class descriptions -------------------------------------------------------------------------
const TTypeInfo TypeInfo_TBorderIcons{"TBorderIcons", tkSet, {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
const TTypeInfo TypeInfo_TPosition{
    "TPosition",
    tkEnumeration,
    {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter"}};
const TTypeInfo TypeInfo_TFormStyle{
    "TFormStyle", tkEnumeration, {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}};
const TTypeInfo TypeInfo_TWindowState{"TWindowState", tkEnumeration, {"wsNormal", "wsMinimized", "wsMaximized"}};
const TTypeInfo TypeInfo_TCloseEvent{"TCloseEvent", tkMethod};
const TTypeInfo TypeInfo_TCloseQueryEvent{"TCloseQueryEvent", tkMethod};

const TClassInfo& TCustomForm::StaticClassInfo() {
  using C = TCustomForm;
  static const TClassInfo info(
      "TCustomForm", &TWinControl::StaticClassInfo(),
      {OrdProperty<C>("BorderStyle", TypeInfo_TFormBorderStyle, &C::BorderStyle, &C::SetBorderStyle, bsSizeable),
       OrdProperty<C>("BorderIcons", TypeInfo_TBorderIcons, &C::BorderIcons, &C::SetBorderIcons),
       OrdProperty<C>("Position", TypeInfo_TPosition, &C::Position, &C::SetPosition, poDesigned),
       OrdProperty<C>("FormStyle", TypeInfo_TFormStyle, &C::FormStyle, &C::SetFormStyle, fsNormal),
       OrdProperty<C>("WindowState", TypeInfo_TWindowState, &C::WindowState, &C::SetWindowState, wsNormal),
       OrdProperty<C>("KeyPreview", TypeInfo_Boolean, &C::KeyPreview, &C::SetKeyPreview, false),
       OrdProperty<C>("ClientWidth", TypeInfo_Integer, &C::ClientWidth, &C::SetStoredClientWidth),
       OrdProperty<C>("ClientHeight", TypeInfo_Integer, &C::ClientHeight, &C::SetStoredClientHeight),
       ObjectProperty<C, TWinControl>("ActiveControl", &C::ActiveControl, &C::SetActiveControl),
       ObjectProperty<C, TMainMenu>("Menu", &C::Menu, &C::SetMenu),
       EventProperty<C>("OnCreate", TypeInfo_TNotifyEvent, &C::OnCreate),
       EventProperty<C>("OnShow", TypeInfo_TNotifyEvent, &C::OnShow),
       EventProperty<C>("OnHide", TypeInfo_TNotifyEvent, &C::OnHide),
       EventProperty<C>("OnClose", TypeInfo_TCloseEvent, &C::OnClose),
       EventProperty<C>("OnCloseQuery", TypeInfo_TCloseQueryEvent, &C::OnCloseQuery),
       EventProperty<C>("OnDestroy", TypeInfo_TNotifyEvent, &C::OnDestroy),
       EventProperty<C>("OnActivate", TypeInfo_TNotifyEvent, &C::OnActivate),
       EventProperty<C>("OnDeactivate", TypeInfo_TNotifyEvent, &C::OnDeactivate),
       EventProperty<C>("OnResize", TypeInfo_TNotifyEvent, &C::OnResize),
       EventProperty<C>("OnPaint", TypeInfo_TNotifyEvent, &C::OnPaint)});
  return info;
}

const TClassInfo& TForm::StaticClassInfo() {
  static const TClassInfo info("TForm", &TCustomForm::StaticClassInfo(), {}, {}, CreateComponent<TForm>);
  return info;
}

[[maybe_unused]] static const bool formClassRegistered = (RegisterClass(TForm::StaticClassInfo()), true);
