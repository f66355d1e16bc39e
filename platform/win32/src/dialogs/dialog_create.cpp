// Making dialogs from templates, modal and modeless, and the dialogs' default procedure.
#include <map>
#include <mutex>

#include "dialog_state.h"
#include "dialog_template.h"
#include "win32/kernel.h"
#include "win32/errors.h"
#include "win32/text.h"

namespace dialogs {
namespace {

std::mutex& StateLock() {
  static std::mutex lock;
  return lock;
}
std::map<HWND, std::shared_ptr<DialogState>>& States() {
  static std::map<HWND, std::shared_ptr<DialogState>> states;
  return states;
}

void RegisterDialogClass() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefDlgProcA;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1));
    wc.lpszClassName = WC_DIALOG;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
}

// Base units from the font: the average width of the letters, rounded, and the height.
void MeasureFont(DialogState& state) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, state.font);
  SIZE size{};
  GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  state.baseX = (size.cx / 26 + 1) / 2;
  state.baseY = tm.tmHeight;
}

RECT ToPixels(const DialogState& state, RECT r) {
  r.left = MulDiv(r.left, state.baseX, 4);
  r.right = MulDiv(r.right, state.baseX, 4);
  r.top = MulDiv(r.top, state.baseY, 8);
  r.bottom = MulDiv(r.bottom, state.baseY, 8);
  return r;
}

void DestroyState(HWND dialog) {
  std::shared_ptr<DialogState> state = StateOf(dialog);
  DetachState(dialog);
  if (state && state->ownsFont) DeleteObject(state->font);
}

bool AnswersDirectly(UINT message) {
  return message == WM_INITDIALOG || message == WM_CTLCOLORMSGBOX || message == WM_CTLCOLOREDIT ||
         message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORBTN || message == WM_CTLCOLORDLG ||
         message == WM_CTLCOLORSCROLLBAR || message == WM_CTLCOLORSTATIC;
}

// The template's font, or the GUI font, and the base units it gives.
std::shared_ptr<DialogState> MakeState(const DialogTemplate& t) {
  auto state = std::make_shared<DialogState>();
  if (t.style & DS_SETFONT) {
    state->font = CreateFontA(-MulDiv(t.pointSize, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                              t.faceName.c_str());
    state->ownsFont = state->font != nullptr;
  }
  if (!state->font) state->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  MeasureFont(*state);
  return state;
}

// The client area from the template; a child dialog sits in its parent's client area, a pop-up
// relative to its owner's unless aligned to the screen or centred.
HWND CreateFrame(HINSTANCE instance, const DialogTemplate& t, const DialogState& state, HWND parent) {
  const RECT place = ToPixels(state, t.units);
  const DWORD style = t.style & ~WS_VISIBLE;
  RECT frame{0, 0, place.right - place.left, place.bottom - place.top};
  AdjustWindowRectEx(&frame, style, FALSE, t.exStyle);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  POINT at{place.left, place.top};
  if (!(style & WS_CHILD)) {
    if (style & DS_CENTER) {
      at = {(GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2};
    } else if (parent && !(style & DS_ABSALIGN)) {
      ClientToScreen(parent, &at);
    }
  }
  const char* className = t.className.empty() ? WC_DIALOG : t.className.c_str();
  return CreateWindowExA(t.exStyle, className, t.title.c_str(), style, at.x, at.y, w, h, parent, nullptr, instance,
                         nullptr);
}

// False when a control could not be made and the template does not allow that.
bool CreateItems(HINSTANCE instance, const DialogTemplate& t, const DialogState& state, HWND dialog) {
  for (const ItemTemplate& item : t.items) {
    const RECT r = ToPixels(state, item.units);
    DWORD style = item.style | WS_CHILD, exStyle = item.exStyle;
    if ((t.style & DS_3DLOOK) && (style & WS_BORDER)) {  // the sunken edge in place of the line
      style &= ~WS_BORDER;
      exStyle |= WS_EX_CLIENTEDGE;
    }
    HWND control = CreateWindowExA(exStyle, item.className.c_str(), item.title.c_str(), style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, dialog,
                                   reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(item.id)), instance,
                                   const_cast<void*>(item.creationData));
    if (!control) {
      if (t.style & DS_NOFAILCREATE) continue;
      return false;
    }
    // Template order is Z order, the first control on top, which the tab order follows.
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
  }
  return true;
}

// WM_INITDIALOG, then the focus to the first tab stop of a pop-up when the procedure leaves that
// to us.
void InitDialog(HWND dialog, LPARAM initParam, bool popup) {
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam) && IsWindow(dialog)) {
    first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    if (first && popup) SetFocus(first);
  }
}

}  // namespace

std::shared_ptr<DialogState> StateOf(HWND dialog) {
  std::lock_guard<std::mutex> guard(StateLock());
  auto it = States().find(dialog);
  return it == States().end() ? nullptr : it->second;
}

void AttachState(HWND dialog, std::shared_ptr<DialogState> state) {
  std::lock_guard<std::mutex> guard(StateLock());
  States()[dialog] = std::move(state);
}

void DetachState(HWND dialog) {
  std::lock_guard<std::mutex> guard(StateLock());
  States().erase(dialog);
}

}  // namespace dialogs

using dialogs::DialogState;

HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC procedure,
                                LPARAM initParam) {
  std::optional<dialogs::DialogTemplate> t = dialogs::ReadTemplate(dialogTemplate);
  if (!t) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  dialogs::RegisterDialogClass();
  std::shared_ptr<DialogState> state = dialogs::MakeState(*t);
  HWND dialog = dialogs::CreateFrame(instance, *t, *state, parent);
  if (!dialog) return nullptr;
  dialogs::AttachState(dialog, state);
  SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
  SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(state->font), FALSE);
  if (!dialogs::CreateItems(instance, *t, *state, dialog)) {
    DestroyWindow(dialog);
    return nullptr;
  }
  dialogs::InitDialog(dialog, initParam, !(t->style & WS_CHILD));
  if (!IsWindow(dialog)) return nullptr;
  if (t->style & WS_VISIBLE) ShowWindow(dialog, (t->style & WS_CHILD) ? SW_SHOWNA : SW_SHOW);
  return dialog;
}

INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC procedure,
                                LPARAM initParam) {
  HWND owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
  HWND dialog = CreateDialogIndirectParamA(instance, dialogTemplate, owner, procedure, initParam);
  if (!dialog) return -1;
  std::shared_ptr<DialogState> state = dialogs::StateOf(dialog);
  state->modal = true;
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  if (!state->ended) {
    ShowWindow(dialog, SW_SHOW);
    if (!GetFocus() || !IsChild(dialog, GetFocus())) SetFocus(dialog);
  }
  MSG m;
  bool quit = false;
  while (!state->ended && IsWindow(dialog)) {
    if (!GetMessageA(&m, nullptr, 0, 0)) {
      quit = true;
      break;
    }
    if (!IsDialogMessageA(dialog, &m)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
  if (ownerWasEnabled) EnableWindow(owner, TRUE);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  if (quit) PostQuitMessage(static_cast<int>(m.wParam));  // the caller's loop ends too
  return state->result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  std::shared_ptr<DialogState> state = dialogs::StateOf(dialog);
  if (!state) return FALSE;
  state->ended = true;
  state->result = result;
  ShowWindow(dialog, SW_HIDE);
  return TRUE;
}

LRESULT DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto procedure = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC));
  if (procedure) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
    const INT_PTR handled = procedure(dialog, message, wParam, lParam);
    if (message == WM_NCDESTROY) dialogs::DestroyState(dialog);
    if (handled) {
      if (dialogs::AnswersDirectly(message)) return handled;
      return IsWindow(dialog) ? GetWindowLongPtrA(dialog, DWLP_MSGRESULT) : 0;
    }
  } else if (message == WM_NCDESTROY) {
    dialogs::DestroyState(dialog);
  }
  std::shared_ptr<DialogState> state = dialogs::StateOf(dialog);
  switch (message) {
    case WM_INITDIALOG: return 0;
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (!cancel || IsWindowEnabled(cancel))
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case WM_GETFONT: return state ? reinterpret_cast<LRESULT>(state->font) : 0;
    case DM_GETDEFID: return state ? static_cast<LRESULT>(state->defaultId | (DC_HASDEFID << 16)) : 0;
    case DM_SETDEFID:
      if (state) state->defaultId = static_cast<WORD>(wParam);
      return TRUE;
    case WM_SETFOCUS: {
      HWND target = state && state->focused && IsChild(dialog, state->focused)
                        ? state->focused
                        : GetNextDlgTabItem(dialog, nullptr, FALSE);
      if (target) SetFocus(target);
      return 0;
    }
    case WM_ACTIVATE:
      if (state && LOWORD(wParam) == WA_INACTIVE && GetFocus() && IsChild(dialog, GetFocus()))
        state->focused = GetFocus();
      return DefWindowProcA(dialog, message, wParam, lParam);
    default: return DefWindowProcA(dialog, message, wParam, lParam);
  }
}
