#pragma once
// Where the items of a pop-up menu and the titles of a bar lie, and how they are drawn.
#include <vector>

#include "menu_state.h"

namespace menus {

struct Layout {
  std::vector<RECT> items;  // window coordinates of the pop-up
  SIZE size{0, 0};
};

Layout LayoutPopup(const Menu& menu);
void PaintPopup(HDC dc, const Menu& menu, const Layout& layout, int hot);
// The titles of a bar of the given width, in bar coordinates.
std::vector<RECT> LayoutBar(const Menu& menu, int width);
void PaintBar(HDC dc, const Menu& menu, const RECT& bar, int open);

inline bool PtInRect(const RECT* r, POINT p) {
  return p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}

}  // namespace menus
