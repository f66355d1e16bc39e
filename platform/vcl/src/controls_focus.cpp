// Focus, tab order and the keyboard of windowed controls.
#include <algorithm>

#include "vcl/controls.h"
#include "vcl/forms.h"
#include "vcl/menus.h"
#include "win32/stdcontrols.h"

namespace {

bool IsDialogKey(WPARAM key) {
  switch (key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: return true;
    default: return false;
  }
}

}  // namespace

bool TWinControl::CanFocus() {
  TCustomForm* form = GetParentForm(this);
  if (!form || !form->Visible() || !form->Enabled()) return false;
  for (TControl* c = this; c != form; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this) form->SetActiveControl(this);
  else if (Visible() && Enabled())
    ::SetFocus(Handle());
}

bool TWinControl::Focused() { return handle_ && GetFocus() == handle_; }

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  int count = static_cast<int>(list.size());
  if (Value < 0 || Value >= count) Value = count - 1;
  list.erase(std::find(list.begin(), list.end(), this));
  list.insert(list.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value) {
  if (tabStop_ == Value) return;
  tabStop_ = Value;
  if (!handle_) return;
  LONG_PTR style = GetWindowLongA(handle_, GWL_STYLE);
  style = Value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
  SetWindowLongA(handle_, GWL_STYLE, style);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* c : tabList_) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int count = static_cast<int>(list.size());
  auto found = std::find(list.begin(), list.end(), CurControl);
  int start = found != list.end() ? static_cast<int>(found - list.begin()) : (GoForward ? count - 1 : 0);
  int i = start;
  do {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c->CanFocus() && (!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this)) return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) next->SetFocus();
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}
void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}
void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}
void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TWinControl* form = GetParentForm(this);
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview() && form->DoKeyDown(Message)) return true;
  WORD key = static_cast<WORD>(Message.WParam);
  KeyDown(key, KeyDataToShiftState(Message.LParam));
  Message.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TWinControl* form = GetParentForm(this);
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview() && form->DoKeyUp(Message)) return true;
  WORD key = static_cast<WORD>(Message.WParam);
  KeyUp(key, KeyDataToShiftState(Message.LParam));
  Message.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TWinControl* form = GetParentForm(this);
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview() && form->DoKeyPress(Message)) return true;
  char key = static_cast<char>(Message.WParam);
  KeyPress(key);
  Message.WParam = static_cast<unsigned char>(key);
  return key == 0;
}

void TWinControl::HandleKeyMessage(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      if (IsMenuKey(this, Message) || DoKeyDown(Message)) return;
      WPARAM key = Message.WParam;
      if (form && IsDialogKey(key) && Perform(CM_WANTSPECIALKEY, key, Message.LParam) == 0) {
        LRESULT code = Perform(WM_GETDLGCODE, 0, 0);
        bool wanted = (code & DLGC_WANTALLKEYS) || (key == VK_TAB && (code & DLGC_WANTTAB)) ||
                      (key >= VK_LEFT && key <= VK_DOWN && (code & DLGC_WANTARROWS));
        if (!wanted && form->Perform(CM_DIALOGKEY, key, Message.LParam) != 0) return;
      }
      return DefaultHandler(Message);
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (DoKeyUp(Message)) return;
      return DefaultHandler(Message);
    case WM_CHAR:
      if (DoKeyPress(Message)) return;
      if (form && Message.WParam != VK_SPACE && !(Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) &&
          form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
        return;
      return DefaultHandler(Message);
    case WM_SYSCHAR:
      if (form && Message.WParam != VK_SPACE && form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
        return;
      return DefaultHandler(Message);
    default: DefaultHandler(Message);
  }
}
