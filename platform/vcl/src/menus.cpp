// Menus: the main menu on its form's window, pop-up menus, shortcut keys and the published
// properties of menus and items.
#include "vcl/menus.h"

#include <algorithm>

#include "vcl/forms.h"

namespace {

// The living menus, for WM_INITMENUPOPUP and shortcuts to find the item.
std::vector<TMenu*>& Menus() {
  static std::vector<TMenu*> menus;
  return menus;
}

}  // namespace

TMenu::TMenu(TComponent* AOwner, bool IsBar) : TComponent(AOwner), items_(new TMenuItem(nullptr)) {
  items_->isBar_ = IsBar;
  items_->menu_ = this;
  Menus().push_back(this);
}

TMenu::~TMenu() {
  Menus().erase(std::find(Menus().begin(), Menus().end(), this));
  items_->menu_ = nullptr;
  delete items_;
}

bool TMenu::DispatchPopup(HMENU Menu) {
  for (TMenu* menu : Menus())
    if (TMenuItem* item = menu->items_->FindByHandle(Menu)) {
      if (item != menu->items_) item->Click();
      return true;
    }
  return false;
}

bool TMenu::IsShortCut(TMessage& Message) {
  const TShortCut key = ShortCut(static_cast<WORD>(Message.WParam), KeyDataToShiftState(Message.LParam));
  if (key == scNone) return false;
  TMenuItem* item = items_->FindByShortCut(key);
  if (!item || !item->Enabled()) return false;
  item->Click();
  return true;
}

TMenuItem* TMenu::FindItem(UINT_PTR Value, TFindItemKind Kind) {
  switch (Kind) {
    case fkCommand: return Value <= 0xFFFF ? items_->FindByCommand(static_cast<WORD>(Value)) : nullptr;
    case fkHandle: return Value ? items_->FindByHandle(reinterpret_cast<HMENU>(Value)) : nullptr;
    case fkShortCut:
      return Value != scNone && Value <= 0xFFFF ? items_->FindByShortCut(static_cast<TShortCut>(Value)) : nullptr;
  }
  return nullptr;
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner, true) {}

TMainMenu::~TMainMenu() {
  // The window must not keep a handle that goes with this menu.
  if (window_ && IsWindow(window_) && GetMenu(window_) == Handle()) ::SetMenu(window_, nullptr);
}

void TMainMenu::MenuChanged() {
  if (window_ && IsWindow(window_)) DrawMenuBar(window_);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner, false) {}

void TPopupMenu::Popup(int X, int Y) {
  if (OnPopup) OnPopup(this);
  // The active window owns the pop-up (a right click has just activated the control's form) so
  // that it stays open; the choice comes back here rather than through that window's WM_COMMAND.
  HWND owner = GetActiveWindow();
  const WORD chosen = static_cast<WORD>(
      TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, X, Y, 0, owner, nullptr));
  if (chosen) DispatchCommand(chosen);
}

bool IsMenuKey(TControl* Control, TMessage& Message) {
  for (TControl* c = Control; c; c = c->Parent())
    if (TPopupMenu* popup = c->PopupMenu(); popup && popup->IsShortCut(Message)) return true;
  TCustomForm* form = GetParentForm(Control);
  return form && form->Menu() && form->Menu()->IsShortCut(Message);
}

const TClassInfo& TMenuItem::StaticClassInfo() {
  using C = TMenuItem;
  static const TClassInfo info(
      "TMenuItem", &TComponent::StaticClassInfo(),
      {StrProperty<C>("Caption", &C::Caption, &C::SetCaption),
       OrdProperty<C>("Checked", TypeInfo_Boolean, &C::Checked, &C::SetChecked, false),
       OrdProperty<C>("Default", TypeInfo_Boolean, &C::Default, &C::SetDefault, false),
       OrdProperty<C>("Enabled", TypeInfo_Boolean, &C::Enabled, &C::SetEnabled, true),
       OrdProperty<C>("GroupIndex", TypeInfo_Integer, &C::GroupIndex, &C::SetGroupIndex, 0),
       OrdProperty<C>("HelpContext", TypeInfo_Integer, &C::HelpContext, &C::SetHelpContext, 0),
       StrProperty<C>("Hint", &C::Hint, &C::SetHint),
       OrdProperty<C>("RadioItem", TypeInfo_Boolean, &C::RadioItem, &C::SetRadioItem, false),
       OrdProperty<C>("ShortCut", TypeInfo_TShortCut, &C::GetShortCut, &C::SetShortCut, scNone),
       OrdProperty<C>("Visible", TypeInfo_Boolean, &C::Visible, &C::SetVisible, true),
       EventProperty<C>("OnClick", TypeInfo_TNotifyEvent, &C::OnClick)},
      {}, CreateComponent<TMenuItem>);
  return info;
}

const TClassInfo& TMenu::StaticClassInfo() {
  static const TClassInfo info("TMenu", &TComponent::StaticClassInfo());
  return info;
}

const TClassInfo& TMainMenu::StaticClassInfo() {
  static const TClassInfo info("TMainMenu", &TMenu::StaticClassInfo(), {}, {}, CreateComponent<TMainMenu>);
  return info;
}

const TClassInfo& TPopupMenu::StaticClassInfo() {
  using C = TPopupMenu;
  static const TClassInfo info("TPopupMenu", &TMenu::StaticClassInfo(),
                               {OrdProperty<C>("AutoPopup", TypeInfo_Boolean, &C::AutoPopup, &C::SetAutoPopup, true),
                                EventProperty<C>("OnPopup", TypeInfo_TNotifyEvent, &C::OnPopup)},
                               {}, CreateComponent<TPopupMenu>);
  return info;
}

[[maybe_unused]] static const bool menuClassesRegistered = (RegisterClass(TMenuItem::StaticClassInfo()),
                                                            RegisterClass(TMainMenu::StaticClassInfo()),
                                                            RegisterClass(TPopupMenu::StaticClassInfo()), true);
