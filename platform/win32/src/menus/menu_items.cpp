// Menu handles and their items.
#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "menu_state.h"

namespace menus {

std::recursive_mutex& MenuLock() {
  static std::recursive_mutex lock;
  return lock;
}

namespace {

std::map<HMENU, std::shared_ptr<Menu>>& Table() {
  static std::map<HMENU, std::shared_ptr<Menu>> table;
  return table;
}

HMENU Make(bool popup) {
  static std::uintptr_t next = 0x6000;
  std::lock_guard lock(MenuLock());
  auto menu = std::make_shared<Menu>();
  menu->popup = popup;
  HMENU handle = reinterpret_cast<HMENU>(next += 4);
  Table()[handle] = menu;
  return handle;
}

}  // namespace

std::shared_ptr<Menu> FindMenu(HMENU handle) {
  std::lock_guard lock(MenuLock());
  auto at = Table().find(handle);
  return at == Table().end() ? nullptr : at->second;
}

MenuItem* FindItem(Menu& menu, UINT item, UINT flags) {
  if (flags & MF_BYPOSITION) return item < menu.items.size() ? &menu.items[item] : nullptr;
  for (MenuItem& i : menu.items) {
    if (!i.popup && i.id == item) return &i;
    if (i.popup)
      if (auto sub = FindMenu(i.popup))
        if (MenuItem* found = FindItem(*sub, item, flags)) return found;
  }
  return nullptr;
}

static void Destroy(HMENU handle) {
  std::shared_ptr<Menu> menu;
  {
    std::lock_guard lock(MenuLock());
    auto at = Table().find(handle);
    if (at == Table().end()) return;
    menu = at->second;
    Table().erase(at);
  }
  for (const MenuItem& i : menu->items)
    if (i.popup) Destroy(i.popup);
}

}  // namespace menus

using namespace menus;

HMENU CreateMenu() { return Make(false); }
HMENU CreatePopupMenu() { return Make(true); }

BOOL DestroyMenu(HMENU menu) {
  if (!FindMenu(menu)) return FALSE;
  Destroy(menu);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return FindMenu(menu) != nullptr; }

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR text) {
  auto m = FindMenu(menu);
  if (!m) return FALSE;
  MenuItem item;
  item.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_DEFAULT);
  item.separator = (flags & MF_SEPARATOR) != 0;
  if (flags & MF_POPUP) item.popup = reinterpret_cast<HMENU>(idNewItem);
  else
    item.id = static_cast<UINT>(idNewItem);
  if (text && !item.separator) item.text = text;
  std::lock_guard lock(MenuLock());
  size_t at = m->items.size();
  if (position != static_cast<UINT>(-1)) {
    if (flags & MF_BYPOSITION) {
      at = std::min<size_t>(position, m->items.size());
    } else {
      auto found = std::find_if(m->items.begin(), m->items.end(), [&](const MenuItem& i) { return i.id == position; });
      if (found == m->items.end()) return FALSE;
      at = static_cast<size_t>(found - m->items.begin());
    }
  }
  m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), item);
  return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR text) {
  return InsertMenuA(menu, static_cast<UINT>(-1), flags | MF_BYPOSITION, idNewItem, text);
}

namespace {

BOOL Remove(HMENU menu, UINT position, UINT flags, bool destroyPopup) {
  auto m = FindMenu(menu);
  if (!m) return FALSE;
  std::lock_guard lock(MenuLock());
  for (size_t i = 0; i < m->items.size(); ++i) {
    MenuItem& item = m->items[i];
    if ((flags & MF_BYPOSITION) ? i != position : (item.popup || item.id != position)) continue;
    if (destroyPopup && item.popup) Destroy(item.popup);
    m->items.erase(m->items.begin() + static_cast<std::ptrdiff_t>(i));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return Remove(menu, position, flags, false); }
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return Remove(menu, position, flags, true); }

int GetMenuItemCount(HMENU menu) {
  auto m = FindMenu(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  auto m = FindMenu(menu);
  if (!m || position < 0 || position >= static_cast<int>(m->items.size())) return static_cast<UINT>(-1);
  const MenuItem& item = m->items[static_cast<size_t>(position)];
  return item.popup ? static_cast<UINT>(-1) : item.id;
}

HMENU GetSubMenu(HMENU menu, int position) {
  auto m = FindMenu(menu);
  if (!m || position < 0 || position >= static_cast<int>(m->items.size())) return nullptr;
  return m->items[static_cast<size_t>(position)].popup;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  auto m = FindMenu(menu);
  MenuItem* i = m ? FindItem(*m, item, flags) : nullptr;
  if (!i) return static_cast<UINT>(-1);
  return i->state | (i->separator ? MF_SEPARATOR : 0) | (i->popup ? MF_POPUP : 0);
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR text, int size, UINT flags) {
  auto m = FindMenu(menu);
  MenuItem* i = m ? FindItem(*m, item, flags) : nullptr;
  if (!i) return 0;
  if (!text || size <= 0) return static_cast<int>(i->text.size());
  const size_t n = std::min<size_t>(i->text.size(), static_cast<size_t>(size) - 1);
  std::memcpy(text, i->text.data(), n);
  text[n] = 0;
  return static_cast<int>(n);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  auto m = FindMenu(menu);
  MenuItem* i = m ? FindItem(*m, item, check) : nullptr;
  if (!i) return static_cast<DWORD>(-1);
  const DWORD old = i->state & MF_CHECKED;
  i->state = (i->state & ~MF_CHECKED) | (check & MF_CHECKED);
  return old;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  auto m = FindMenu(menu);
  MenuItem* i = m ? FindItem(*m, item, enable) : nullptr;
  if (!i) return static_cast<BOOL>(-1);
  const BOOL old = static_cast<BOOL>(i->state & (MF_GRAYED | MF_DISABLED));
  i->state = (i->state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return old;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
  auto m = FindMenu(menu);
  if (!m) return FALSE;
  for (MenuItem& i : m->items) i.state &= ~MF_DEFAULT;
  if (item == static_cast<UINT>(-1)) return TRUE;
  MenuItem* i = FindItem(*m, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (!i) return FALSE;
  i->state |= MF_DEFAULT;
  return TRUE;
}
