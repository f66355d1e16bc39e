// TMenuItem: the tree of items and the entries of its menu handles.
#include <algorithm>
#include <map>

#include "vcl/lists.h"
#include "vcl/menus.h"

namespace {

// Command ids of the living items; WM_COMMAND finds the item through it.
std::map<WORD, TMenuItem*>& Commands() {
  static std::map<WORD, TMenuItem*> commands;
  return commands;
}

WORD UniqueCommand(TMenuItem* Item) {
  static WORD next = 0;
  auto& commands = Commands();
  if (commands.size() >= 0xFFFE) throw EMenuError("Too many menu items");
  do next = static_cast<WORD>(next % 0xFFFE + 1);
  while (commands.count(next));
  commands[next] = Item;
  return next;
}

}  // namespace

bool TMenu::DispatchCommand(WORD Command) {
  auto it = Commands().find(Command);
  if (it == Commands().end()) return false;
  it->second->Click();
  return true;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(UniqueCommand(this)) {}

TMenuItem::~TMenuItem() {
  while (!items_.empty()) delete items_.back();
  if (parent_) parent_->Remove(this);
  if (handle_) DestroyMenu(handle_);
  Commands().erase(command_);
}

void TMenuItem::SetParentComponent(TComponent* ParentComponent) {
  if (auto* item = dynamic_cast<TMenuItem*>(ParentComponent)) item->Add(this);
  else if (auto* menu = dynamic_cast<TMenu*>(ParentComponent))
    menu->Items()->Add(this);
}

void TMenuItem::SetCaption(const std::string& Value) {
  if (caption_ == Value) return;
  caption_ = Value;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (shortCut_ == Value) return;
  shortCut_ = Value;
  Changed();
}

void TMenuItem::SetChecked(bool Value) {
  if (checked_ == Value) return;
  checked_ = Value;
  if (Value && radioItem_ && parent_)
    for (TMenuItem* sibling : parent_->items_)
      if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_) sibling->checked_ = false;
  Changed();
}

void TMenuItem::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  Changed();
}

void TMenuItem::SetDefault(bool Value) {
  if (default_ == Value) return;
  if (Value && parent_)
    for (TMenuItem* sibling : parent_->items_) sibling->default_ = false;
  default_ = Value;
  Changed();
}

void TMenuItem::SetRadioItem(bool Value) {
  if (radioItem_ == Value) return;
  radioItem_ = Value;
  Changed();
}

void TMenuItem::SetGroupIndex(int Value) { groupIndex_ = Value; }

void TMenuItem::SetVisible(bool Value) {
  if (visible_ == Value) return;
  visible_ = Value;
  Changed();
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (%d)", {Index});
  return items_[static_cast<size_t>(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(items_.begin(), items_.end(), Item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->parent_) throw EMenuError("Menu inserted twice");
  if (Index < 0 || Index > Count()) throw EMenuError("Sub-menu is not in menu");
  items_.insert(items_.begin() + Index, Item);
  Item->parent_ = this;
  // An item that gets its first child turns into a pop-up in its parent's handle.
  if (Count() == 1 && parent_) parent_->RebuildHandle();
  RebuildHandle();
}

void TMenuItem::Delete(int Index) {
  TMenuItem* item = Items(Index);
  items_.erase(items_.begin() + Index);
  item->parent_ = nullptr;
  RebuildHandle();
  if (items_.empty() && parent_) parent_->RebuildHandle();
}

void TMenuItem::Remove(TMenuItem* Item) {
  int index = IndexOf(Item);
  if (index < 0) throw EMenuError("Sub-menu is not in menu");
  Delete(index);
}

HMENU TMenuItem::Handle() {
  if (!handle_) {
    handle_ = isBar_ ? CreateMenu() : CreatePopupMenu();
    if (!handle_) throw EMenuError("Could not create the menu");
    RebuildHandle();
  }
  return handle_;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

void TMenuItem::Changed() {
  if (parent_) parent_->RebuildHandle();
}

void TMenuItem::RebuildHandle() {
  if (!handle_) return;
  while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  int position = 0;
  for (TMenuItem* item : items_) {
    if (!item->visible_) continue;
    if (item->IsLine()) {
      AppendMenuA(handle_, MF_SEPARATOR, 0, nullptr);
    } else {
      UINT flags = MF_STRING;
      if (item->checked_) flags |= MF_CHECKED;
      if (!item->enabled_) flags |= MF_GRAYED;
      std::string text = item->caption_;
      if (std::string keys = ShortCutToText(item->shortCut_); !keys.empty()) text += "\t" + keys;
      UINT_PTR id = item->command_;
      if (!item->items_.empty()) {
        flags |= MF_POPUP;
        id = reinterpret_cast<UINT_PTR>(item->Handle());
      }
      AppendMenuA(handle_, flags, id, text.c_str());
      if (item->default_) SetMenuDefaultItem(handle_, static_cast<UINT>(position), TRUE);
    }
    ++position;
  }
  TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  if (root->menu_) root->menu_->MenuChanged();
}

TMenuItem* TMenuItem::FindByShortCut(TShortCut Key) {
  for (TMenuItem* item : items_) {
    if (!item->visible_) continue;
    if (item->shortCut_ == Key && !item->IsLine()) return item;
    if (TMenuItem* found = item->FindByShortCut(Key)) return found;
  }
  return nullptr;
}

TMenuItem* TMenuItem::FindByHandle(HMENU Menu) {
  if (handle_ == Menu) return this;
  for (TMenuItem* item : items_)
    if (TMenuItem* found = item->FindByHandle(Menu)) return found;
  return nullptr;
}

TMenuItem* TMenuItem::FindByCommand(WORD Command) {
  for (TMenuItem* item : items_) {
    if (item->command_ == Command) return item;
    if (TMenuItem* found = item->FindByCommand(Command)) return found;
  }
  return nullptr;
}
