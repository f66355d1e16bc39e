#pragma once
// The menus' own state: items of each menu handle.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "win32/menus.h"

namespace menus {

struct MenuItem {
  std::string text;
  UINT id = 0;
  HMENU popup = nullptr;
  UINT state = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_DEFAULT
  bool separator = false;

  bool Enabled() const { return !(state & (MF_GRAYED | MF_DISABLED)) && !separator; }
};

struct Menu {
  bool popup = false;
  std::vector<MenuItem> items;
};

std::recursive_mutex& MenuLock();
std::shared_ptr<Menu> FindMenu(HMENU handle);
MenuItem* FindItem(Menu& menu, UINT item, UINT flags);

// The modal loop of menu_tracking.cpp. From the bar (bar window and the title to open), or a
// pop-up at a point. Returns the chosen command id, or 0.
UINT TrackMenu(HWND owner, HMENU menu, HWND barWindow, int startTitle, bool fromKeyboard, POINT at, UINT flags);
bool EndTracking();
// The bar title whose pop-up is open on this window, or -1.
int OpenBarTitleOf(HWND window);

}  // namespace menus
