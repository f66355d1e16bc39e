#pragma once
// The "ComboBox" class's state, shared by its field (controls_combobox.cpp) and the list it drops
// down (controls_combobox_list.cpp).
#include <vector>

#include "controls_common.h"
#include "win32/scrollbar_draw.h"

namespace user::controls {

struct ComboItem {
  std::string text;
  ULONG_PTR data = 0;  // an owner-drawn item without CBS_HASSTRINGS is this value alone
};

struct ComboState {
  HFONT font = nullptr;
  std::vector<ComboItem> items;
  int selected = -1;
  bool focused = false;
  int measuredHeight = 0;  // the parent's WM_MEASUREITEM answer for owner-drawn items
  int droppedHeight = 0;  // from a window made taller than its field; 0 shows up to 8 items
  int droppedWidth = 0;
  HWND list = nullptr;  // the drop-down, made when first opened
  bool dropped = false;
  int hot = -1;  // the item under the pointer or the keys while open
  int top = 0;  // the first item the open list shows
  scrollbar::Part pressedPart = scrollbar::kNowhere;
  int thumbGrab = 0;  // where along the thumb the pointer took it
  int dragScroll = 0;  // -1 or 1 while the held button has the pointer above or below the items
};

int ComboItemHeight(const ComboState& state);
// Draws one item (or none, index -1) in `r` on `back`, with the DC's text colour unless lit: the
// text, or WM_DRAWITEM to the parent for CBS_OWNERDRAWFIXED. `itemState` holds ODS_... flags.
void DrawComboItem(HWND combo, const ComboState& state, HDC dc, int index, const RECT& r, UINT itemState, HBRUSH back);

// The drop-down: where it goes on the screen, and showing it at the hot item.
RECT ComboListRect(HWND combo, const ComboState& state);
int ComboListRows(const ComboState& state);
void ShowComboList(HWND combo, ComboState& state);
void SetComboHot(ComboState& state, int index);
void ScrollComboList(ComboState& state, int top);
// Stops what a held button does on the list: a scroll-bar part's repeat, scrolling past an edge.
void StopComboListTracking(HWND list, ComboState& state);
// Closes the open list, taking the hot item or not, and tells the parent.
void CloseComboList(HWND combo, bool accept);

}  // namespace user::controls
