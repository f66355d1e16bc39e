// The modal loop that tracks open menus: one pop-up window per open level, the highlight moved by
// mouse and keys, and the bar's titles when the menu came from a window's bar.
#include <algorithm>
#include <vector>

#include "win32/item_search.h"
#include "menu_layout.h"
#include "menu_state.h"
#include "win32/syscolor.h"
#include "win32/text.h"

namespace menus {
namespace {

struct Level {
  HMENU menu = nullptr;
  HWND window = nullptr;
  Layout layout;
  int hot = -1;
};

struct Tracking {
  HWND owner = nullptr;
  HWND bar = nullptr;  // the window whose bar is open, or none
  HMENU barMenu = nullptr;
  int barHot = -1;
  std::vector<Level> levels;
  UINT chosen = 0;
  bool done = false;
  bool notify = true;
};

Tracking* gTracking = nullptr;

Level* LevelOfWindow(Tracking& t, HWND window) {
  for (Level& l : t.levels)
    if (l.window == window) return &l;
  return nullptr;
}

LRESULT PopupProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && gTracking) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (Level* l = LevelOfWindow(*gTracking, window))
      if (auto m = FindMenu(l->menu)) PaintPopup(dc, *m, l->layout, l->hot);
    EndPaint(window, &ps);
    return 0;
  }
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcA(window, message, wParam, lParam);
}

const char* PopupClass() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = PopupProcedure;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "StartLogoMenuPopup";
    RegisterClassA(&wc);
    return wc.lpszClassName;
  }();
  return name;
}

void Select(Tracking& t, HMENU menu, int position) {
  if (!t.notify) return;
  auto m = FindMenu(menu);
  if (!m || position < 0 || position >= static_cast<int>(m->items.size())) return;
  const MenuItem& item = m->items[static_cast<size_t>(position)];
  const UINT flags = item.state | MF_HILITE | (item.popup ? MF_POPUP : 0) | (item.separator ? MF_SEPARATOR : 0);
  SendMessageA(t.owner, WM_MENUSELECT, MAKEWPARAM(item.popup ? position : item.id, flags),
               reinterpret_cast<LPARAM>(menu));
}

void CloseLevelsFrom(Tracking& t, size_t first) {
  while (t.levels.size() > first) {
    DestroyWindow(t.levels.back().window);
    t.levels.pop_back();
  }
}

void OpenLevel(Tracking& t, HMENU menu, int positionInParent, POINT at, const RECT* avoid) {
  if (t.notify)
    SendMessageA(t.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(positionInParent, 0));
  auto m = FindMenu(menu);
  if (!m) return;
  Level level;
  level.menu = menu;
  level.layout = LayoutPopup(*m);
  const int w = level.layout.size.cx, h = level.layout.size.cy;
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  if (at.x + w > sw) at.x = avoid ? avoid->left - w : sw - w;
  if (at.y + h > sh) at.y = avoid ? std::max<LONG>(0, avoid->top - h) : sh - h;
  at.x = std::max<LONG>(0, at.x);
  at.y = std::max<LONG>(0, at.y);
  level.window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, PopupClass(), "", WS_POPUP, at.x, at.y, w, h,
                                 t.owner, nullptr, nullptr, nullptr);
  t.levels.push_back(level);
  ShowWindow(level.window, SW_SHOWNA);
  SetCapture(t.levels.front().window);
}

void Repaint(HWND window) {
  if (window) InvalidateRect(window, nullptr, FALSE);
}

void SetHot(Tracking& t, size_t index, int hot) {
  Level& l = t.levels[index];
  if (l.hot == hot) return;
  l.hot = hot;
  Repaint(l.window);
  Select(t, l.menu, hot);
}

// Opens the pop-up of the bar's title.
void OpenTitle(Tracking& t, int title) {
  CloseLevelsFrom(t, 0);
  t.barHot = title;
  DrawMenuBar(t.bar);
  RECT r;
  if (!GetMenuItemRect(t.bar, t.barMenu, static_cast<UINT>(title), &r)) return;
  Select(t, t.barMenu, title);
  if (HMENU sub = GetSubMenu(t.barMenu, title)) OpenLevel(t, sub, title, POINT{r.left, r.bottom}, &r);
  else
    SetCapture(t.bar);  // a title that is a command: the bar itself takes the release
}

// A bar title without a pop-up is a command of its own, chosen as an item is.
void ChooseTitle(Tracking& t) {
  auto bar = FindMenu(t.barMenu);
  if (!bar || t.barHot < 0 || t.barHot >= static_cast<int>(bar->items.size())) return;
  const MenuItem& item = bar->items[static_cast<size_t>(t.barHot)];
  if (item.popup || !item.Enabled()) return;
  t.chosen = item.id;
  t.done = true;
}

void OpenHotPopup(Tracking& t, bool selectFirst) {
  Level& l = t.levels.back();
  auto m = FindMenu(l.menu);
  if (!m || l.hot < 0) return;
  const MenuItem& item = m->items[static_cast<size_t>(l.hot)];
  if (!item.popup || !item.Enabled()) return;
  RECT r = l.layout.items[static_cast<size_t>(l.hot)];
  MapWindowPoints(l.window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  OpenLevel(t, item.popup, l.hot, POINT{r.right - 2, r.top - 3}, &r);
  if (selectFirst && t.levels.size() > 1) {
    auto sub = FindMenu(item.popup);
    for (size_t i = 0; sub && i < sub->items.size(); ++i)
      if (!sub->items[i].separator) {
        SetHot(t, t.levels.size() - 1, static_cast<int>(i));
        break;
      }
  }
}

void Choose(Tracking& t) {
  Level& l = t.levels.back();
  auto m = FindMenu(l.menu);
  if (!m || l.hot < 0) return;
  const MenuItem& item = m->items[static_cast<size_t>(l.hot)];
  if (!item.Enabled()) return;
  if (item.popup) return OpenHotPopup(t, true);
  t.chosen = item.id;
  t.done = true;
}

// Where a screen point lies: a level and an item (-1 between items), a bar title, or nowhere.
struct Hit {
  int level = -1;
  int item = -1;
  int title = -1;
};

Hit HitAt(Tracking& t, POINT screen) {
  Hit hit;
  for (int i = static_cast<int>(t.levels.size()) - 1; i >= 0; --i) {
    RECT r;
    GetWindowRect(t.levels[static_cast<size_t>(i)].window, &r);
    if (!PtInRect(&r, screen)) continue;
    hit.level = i;
    POINT p{screen.x - r.left, screen.y - r.top};
    const auto& items = t.levels[static_cast<size_t>(i)].layout.items;
    for (size_t k = 0; k < items.size(); ++k)
      if (PtInRect(&items[k], p)) hit.item = static_cast<int>(k);
    return hit;
  }
  if (t.bar) {
    for (int k = 0, n = GetMenuItemCount(t.barMenu); k < n; ++k) {
      RECT r;
      if (GetMenuItemRect(t.bar, t.barMenu, static_cast<UINT>(k), &r) && PtInRect(&r, screen)) hit.title = k;
    }
  }
  return hit;
}

void MoveHot(Tracking& t, int direction) {
  Level& l = t.levels.back();
  auto m = FindMenu(l.menu);
  if (!m || m->items.empty()) return;
  const int n = static_cast<int>(m->items.size());
  int k = l.hot;
  for (int step = 0; step < n; ++step) {
    k = k < 0 ? (direction > 0 ? 0 : n - 1) : (k + direction + n) % n;
    if (!m->items[static_cast<size_t>(k)].separator) break;
  }
  SetHot(t, t.levels.size() - 1, k);
}

void HandleKey(Tracking& t, WPARAM key) {
  const bool inBarLevel = t.bar && t.levels.size() <= 1;
  switch (key) {
    case VK_ESCAPE:
      if (t.levels.size() > 1) CloseLevelsFrom(t, t.levels.size() - 1);
      else
        t.done = true;
      return;
    case VK_UP: return t.levels.empty() ? void() : MoveHot(t, -1);
    case VK_DOWN:
      if (t.levels.empty()) return;
      return MoveHot(t, 1);
    case VK_RIGHT:
      if (!t.levels.empty()) {
        Level& l = t.levels.back();
        auto m = FindMenu(l.menu);
        if (m && l.hot >= 0 && m->items[static_cast<size_t>(l.hot)].popup) return OpenHotPopup(t, true);
      }
      if (t.bar) OpenTitle(t, (t.barHot + 1) % std::max(1, GetMenuItemCount(t.barMenu)));
      return;
    case VK_LEFT:
      if (!inBarLevel && t.levels.size() > 1) return CloseLevelsFrom(t, t.levels.size() - 1);
      if (t.bar) {
        const int n = std::max(1, GetMenuItemCount(t.barMenu));
        OpenTitle(t, (t.barHot + n - 1) % n);
      }
      return;
    case VK_RETURN:
      if (!t.levels.empty()) Choose(t);
      else if (t.bar)
        ChooseTitle(t);
      return;
    default: return;
  }
}

void HandleChar(Tracking& t, char c) {
  if (t.levels.empty()) return;
  Level& l = t.levels.back();
  auto m = FindMenu(l.menu);
  if (!m) return;
  const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (size_t i = 0; i < m->items.size(); ++i)
    if (itemsearch::AccessKey(m->items[i].text) == key && m->items[i].Enabled()) {
      SetHot(t, t.levels.size() - 1, static_cast<int>(i));
      return Choose(t);
    }
}

void MouseMoved(Tracking& t, const Hit& hit) {
  if (hit.level >= 0) {
    const size_t level = static_cast<size_t>(hit.level);
    if (hit.item == t.levels[level].hot) return;
    CloseLevelsFrom(t, level + 1);
    SetHot(t, level, hit.item);
    OpenHotPopup(t, false);
  } else if (hit.title >= 0 && hit.title != t.barHot) {
    OpenTitle(t, hit.title);
  }
}

// A press outside the menus, or on the title already open, ends the tracking.
void ButtonDown(Tracking& t, const Hit& hit) {
  if ((hit.level < 0 && hit.title < 0) || (hit.title >= 0 && hit.title == t.barHot)) t.done = true;
}

void ButtonUp(Tracking& t, const Hit& hit) {
  if (hit.level >= 0 && hit.item >= 0) {
    while (t.levels.size() > static_cast<size_t>(hit.level) + 1) CloseLevelsFrom(t, t.levels.size() - 1);
    SetHot(t, static_cast<size_t>(hit.level), hit.item);
    Choose(t);
  } else if (t.levels.empty() && hit.title >= 0 && hit.title == t.barHot) {
    ChooseTitle(t);
  }
}

// The right button chooses only when the caller asked for it.
void HandleMouse(Tracking& t, const MSG& msg, bool right) {
  POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  ClientToScreen(msg.hwnd, &p);
  const Hit hit = HitAt(t, p);
  switch (msg.message) {
    case WM_MOUSEMOVE: return MouseMoved(t, hit);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: return ButtonDown(t, hit);
    case WM_LBUTTONUP: return ButtonUp(t, hit);
    case WM_RBUTTONUP: return right ? ButtonUp(t, hit) : void();
    default: return;
  }
}

void HandleKeyDown(Tracking& t, MSG& msg) {
  TranslateMessage(&msg);  // access keys come as characters
  if (msg.wParam == static_cast<WPARAM>(VK_MENU) || msg.wParam == static_cast<WPARAM>(VK_F10)) t.done = true;
  else
    HandleKey(t, msg.wParam);
}

// Anything else goes to its window; another window made active ends the tracking.
void Dispatch(Tracking& t, MSG& msg) {
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  if (GetActiveWindow() != GetAncestor(t.owner, GA_ROOT) && IsWindow(t.owner) && GetActiveWindow()) t.done = true;
}

// One message while a menu is tracked: the menu's own input, or anything else dispatched as usual.
void HandleMessage(Tracking& t, MSG& msg, bool right) {
  if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) return HandleMouse(t, msg, right);
  // A release over the bar that came before the bar took the mouse is still the title's.
  if (msg.message == WM_NCLBUTTONUP) {
    if (!t.levels.empty()) return Dispatch(t, msg);
    const Hit hit = HitAt(t, POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
    if (hit.title >= 0 && hit.title == t.barHot) ChooseTitle(t);
    return;
  }
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) return HandleKeyDown(t, msg);
  if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) return HandleChar(t, static_cast<char>(msg.wParam));
  if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) return;
  Dispatch(t, msg);
}

void StartTracking(Tracking& t, HMENU menu, int startTitle, bool fromKeyboard, POINT at) {
  gTracking = &t;
  // Keys come as the focus window's; without one they would not reach the menu.
  if (!GetFocus()) SetFocus(t.owner);
  if (t.bar) {
    OpenTitle(t, startTitle);
    if (fromKeyboard && !t.levels.empty()) MoveHot(t, 1);
  } else {
    OpenLevel(t, menu, 0, at, nullptr);
  }
}

}  // namespace

UINT TrackMenu(HWND owner, HMENU menu, HWND barWindow, int startTitle, bool fromKeyboard, POINT at, UINT flags) {
  if (gTracking) return 0;  // one menu at a time
  Tracking t;
  t.owner = owner;
  t.bar = barWindow;
  t.barMenu = barWindow ? menu : nullptr;
  t.notify = !(flags & TPM_NONOTIFY);
  StartTracking(t, menu, startTitle, fromKeyboard, at);
  const bool right = (flags & TPM_RIGHTBUTTON) != 0;
  MSG msg;
  bool quit = false;
  // A bar is tracked while a title is lit, even one without a pop-up.
  while (!t.done && (!t.levels.empty() || t.bar)) {
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      quit = true;
      break;
    }
    HandleMessage(t, msg, right);
  }
  CloseLevelsFrom(t, 0);
  ReleaseCapture();
  gTracking = nullptr;
  if (t.bar) DrawMenuBar(t.bar);
  if (t.notify && IsWindow(owner)) SendMessageA(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return t.chosen;
}

int OpenBarTitleOf(HWND window) { return gTracking && gTracking->bar == window ? gTracking->barHot : -1; }

bool EndTracking() {
  if (!gTracking) return false;
  gTracking->done = true;
  PostMessageA(gTracking->owner, WM_NULL, 0, 0);
  return true;
}

}  // namespace menus

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  if (!menus::FindMenu(menu) || !IsWindow(owner)) return FALSE;
  const UINT chosen = menus::TrackMenu(owner, menu, nullptr, 0, false, POINT{x, y}, flags);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (!chosen) return FALSE;
  PostMessageA(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
  return TRUE;
}

BOOL EndMenu() { return menus::EndTracking() ? TRUE : FALSE; }
