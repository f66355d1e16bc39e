// Layout and painting of pop-up menus and menu bars in the classic look.
#include "menu_layout.h"

#include <algorithm>

#include "win32/syscolor.h"
#include "win32/text.h"

namespace menus {
namespace {

constexpr int kFrame = 3;
constexpr int kItemHeight = 18;
constexpr int kSeparatorHeight = 9;
constexpr int kCheckColumn = 18;
constexpr int kArrowColumn = 18;
constexpr int kShortcutGap = 16;
constexpr int kTitlePadding = 14;

struct Texts {
  std::string label, shortcut;
};

Texts Split(const std::string& text) {
  const size_t tab = text.find('\t');
  if (tab == std::string::npos) return {text, ""};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

HFONT FontFor(const MenuItem& item) {
  static HFONT bold = [] {
    LOGFONTA lf{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&lf);
  }();
  return (item.state & MF_DEFAULT) ? bold : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE Measure(HDC dc, const MenuItem& item, const std::string& text) {
  HGDIOBJ old = SelectObject(dc, FontFor(item));
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void Label(HDC dc, const MenuItem& item, const std::string& text, RECT r, UINT align, COLORREF color, bool embossed) {
  HGDIOBJ old = SelectObject(dc, FontFor(item));
  SetBkMode(dc, TRANSPARENT);
  if (embossed) {
    RECT shifted{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, text.c_str(), -1, &shifted, align | DT_SINGLELINE | DT_VCENTER);
    color = GetSysColor(COLOR_BTNSHADOW);
  }
  SetTextColor(dc, color);
  DrawTextA(dc, text.c_str(), -1, &r, align | DT_SINGLELINE | DT_VCENTER);
  SelectObject(dc, old);
}

void Shift(RECT& r, int dx, int dy) {
  r.left += dx;
  r.right += dx;
  r.top += dy;
  r.bottom += dy;
}

void Fill(HDC dc, const RECT& r, int sysColor) { FillRect(dc, &r, GetSysColorBrush(sysColor)); }

void CheckMark(HDC dc, int x, int y, COLORREF color) {
  // A 7 by 7 tick: three pixels thick, falling then rising.
  static constexpr int kRise[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i)
    for (int k = 0; k < 3; ++k) SetPixelV(dc, x + i, y + kRise[i] + k, color);
}

void Arrow(HDC dc, int x, int y, COLORREF color) {
  for (int i = 0; i < 4; ++i)
    for (int k = -i; k <= i; ++k) SetPixelV(dc, x + 3 - i, y + k, color);
}

}  // namespace

Layout LayoutPopup(const Menu& menu) {
  Layout layout;
  HDC dc = CreateCompatibleDC(nullptr);
  int label = 0, shortcut = 0;
  for (const MenuItem& item : menu.items) {
    Texts t = Split(item.text);
    label = std::max<int>(label, Measure(dc, item, t.label).cx);
    if (!t.shortcut.empty()) shortcut = std::max<int>(shortcut, Measure(dc, item, t.shortcut).cx);
  }
  DeleteDC(dc);
  const int width = kCheckColumn + label + (shortcut ? kShortcutGap + shortcut : 0) + kArrowColumn;
  int y = kFrame;
  for (const MenuItem& item : menu.items) {
    const int h = item.separator ? kSeparatorHeight : kItemHeight;
    layout.items.push_back(RECT{kFrame, y, kFrame + width, y + h});
    y += h;
  }
  layout.size = SIZE{width + 2 * kFrame, y + kFrame};
  return layout;
}

void PaintPopup(HDC dc, const Menu& menu, const Layout& layout, int hot) {
  RECT all{0, 0, layout.size.cx, layout.size.cy};
  Fill(dc, all, COLOR_MENU);
  DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
  for (size_t i = 0; i < menu.items.size(); ++i) {
    const MenuItem& item = menu.items[i];
    RECT r = layout.items[i];
    if (item.separator) {
      RECT line{r.left + 1, (r.top + r.bottom) / 2 - 1, r.right - 1, (r.top + r.bottom) / 2 + 1};
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
      continue;
    }
    const bool lit = static_cast<int>(i) == hot;
    if (lit) Fill(dc, r, COLOR_HIGHLIGHT);
    const bool enabled = item.Enabled();
    const COLORREF color = GetSysColor(lit ? COLOR_HIGHLIGHTTEXT : enabled ? COLOR_MENUTEXT : COLOR_GRAYTEXT);
    const bool embossed = !enabled && !lit;
    if (item.state & MF_CHECKED) CheckMark(dc, r.left + 6, r.top + 5, color);
    Texts t = Split(item.text);
    RECT text{r.left + kCheckColumn, r.top, r.right - kArrowColumn, r.bottom};
    Label(dc, item, t.label, text, DT_LEFT, color, embossed);
    if (!t.shortcut.empty()) Label(dc, item, t.shortcut, text, DT_RIGHT, color, embossed);
    if (item.popup) Arrow(dc, r.right - 12, (r.top + r.bottom) / 2, color);
  }
}

std::vector<RECT> LayoutBar(const Menu& menu, int width) {
  std::vector<RECT> titles;
  HDC dc = CreateCompatibleDC(nullptr);
  int x = 0, y = 0;
  const int h = GetSystemMetrics(SM_CYMENU);
  for (const MenuItem& item : menu.items) {
    const int w = Measure(dc, item, item.text).cx + kTitlePadding;
    if (x > 0 && x + w > width) x = 0, y += h;  // a row full: the next one below
    titles.push_back(RECT{x, y, x + w, y + h});
    x += w;
  }
  DeleteDC(dc);
  return titles;
}

void PaintBar(HDC dc, const Menu& menu, const RECT& bar, int open) {
  Fill(dc, bar, COLOR_MENU);
  std::vector<RECT> titles = LayoutBar(menu, bar.right - bar.left);
  for (size_t i = 0; i < titles.size(); ++i) {
    RECT r = titles[i];
    Shift(r, bar.left, bar.top);
    const MenuItem& item = menu.items[i];
    const bool pressed = static_cast<int>(i) == open;
    if (pressed) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    RECT text = r;
    if (pressed) Shift(text, 1, 1);
    Label(dc, item, item.text, text, DT_CENTER, GetSysColor(item.Enabled() ? COLOR_MENUTEXT : COLOR_GRAYTEXT),
          !item.Enabled());
  }
}

}  // namespace menus
