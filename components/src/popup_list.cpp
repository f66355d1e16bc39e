// The drop-downs' shared list of menus and the hidden window that owns a menu while it tracks:
// commands, pop-ups opening, the hint of the highlighted item and help on it reach the menu.
#include "components/graphic_button.h"

#include <vector>

#include "vcl/forms.h"
#include "vcl/scope_exit.h"
#include "vcl/utilwindow.h"

namespace {

TPopupList* popupList = nullptr;
// Lists whose last face went while their window was handling a command; freed at the next chance
// once that command has returned (a click may itself drop down another list).
std::vector<TPopupList*> retiredLists;

void FreeRetiredLists() {
  std::erase_if(retiredLists, [](TPopupList* list) {
    if (list->Dispatching()) return false;
    delete list;
    return true;
  });
}

}  // namespace

TPopupList* SharedPopupList() {
  FreeRetiredLists();
  // A list that handed out a command is freed here, outside its window's handler.
  if (popupList && popupList->Spent()) FreeSharedPopupList();
  if (!popupList) popupList = new TPopupList;
  return popupList;
}

void FreeSharedPopupList() {
  FreeRetiredLists();
  if (popupList && popupList->Dispatching()) {
    retiredLists.push_back(popupList);
  } else {
    delete popupList;
  }
  popupList = nullptr;
}

TPopupList::TPopupList() : window_(AllocateHWnd([this](TMessage& m) { WndProc(m); })) {}

TPopupList::~TPopupList() { DeallocateHWnd(window_); }

void TPopupList::WndProc(TMessage& Message) {
  try {
    switch (Message.Msg) {
      case WM_COMMAND:
        for (int i = 0; i < Count(); ++i)
          if (TMenuItem* item = Menu(i)->FindItem(LOWORD(Message.WParam), fkCommand)) {
            // Emptied, not freed: this window is still handling the message.
            Clear();
            spent_ = true;
            dispatching_ = true;
            ScopeExit dispatched([this] { dispatching_ = false; });
            item->Click();
            return;
          }
        break;
      case WM_INITMENUPOPUP:
        for (int i = 0; i < Count(); ++i)
          if (TMenuItem* item = Menu(i)->FindItem(Message.WParam, fkHandle)) {
            if (item != Menu(i)->Items()) item->Click();
            return;
          }
        break;
      case WM_MENUSELECT: return MenuSelect(Message);
      case WM_HELP: return Help(Message);
      default: break;
    }
  } catch (...) {
    Application->HandleException(this);
    return;
  }
  Message.Result = DefWindowProcA(window_, Message.Msg, Message.WParam, Message.LParam);
}

void TPopupList::MenuSelect(TMessage& Message) {
  const UINT flags = HIWORD(Message.WParam);
  auto* menu = reinterpret_cast<HMENU>(Message.LParam);
  const UINT idOrPosition = LOWORD(Message.WParam);
  std::string hint;
  for (int i = 0; i < Count(); ++i) {
    TMenuItem* item = nullptr;
    if (flags & MF_POPUP)
      item = Menu(i)->FindItem(reinterpret_cast<UINT_PTR>(GetSubMenu(menu, static_cast<int>(idOrPosition))), fkHandle);
    else
      item = Menu(i)->FindItem(idOrPosition, fkCommand);
    if (item) {
      hint = item->Hint();
      break;
    }
  }
  Application->SetHint(hint);
}

void TPopupList::Help(TMessage& Message) {
  const auto* info = reinterpret_cast<const HELPINFO*>(Message.LParam);
  if (!info) return;
  for (int i = 0; i < Count(); ++i) {
    TPopupMenu* menu = Menu(i);
    if (menu->Handle() != info->hItemHandle) continue;
    TMenuItem* item = menu->FindItem(static_cast<UINT_PTR>(info->iCtrlId), fkCommand);
    if (!item) item = menu->FindItem(static_cast<UINT_PTR>(info->iCtrlId), fkHandle);
    const int context = item ? item->HelpContext() : 0;
    TCustomForm* form = Screen ? Screen->ActiveForm() : nullptr;
    if (!form) return;
    if (form->BorderIcons().Contains(biHelp)) Application->HelpCommand(HELP_CONTEXTPOPUP, context);
    else
      Application->HelpContext(context);
    return;
  }
}
