// Cursor objects: the stock and made cursors, the one shown and its show count, and the default
// WM_SETCURSOR. The display draws whichever is current.
#include "cursors.h"

#include <cstdlib>
#include <map>
#include <mutex>

namespace user {
namespace {

struct Cursor {
  int stock = 0;  // a stock cursor id, or 0 for a made one
  host::Image image;
  int hotX = 0, hotY = 0;
};

struct CursorState {
  std::mutex data;
  int showCount = 0;
  HCURSOR cursor = nullptr;
  std::map<HCURSOR, Cursor> cursors;
  std::uintptr_t nextCursor = 0x30000;
};

CursorState& State() {
  static CursorState s;
  return s;
}

// The up arrow, which the desktop has no shape for: a white arrow with a black rim, its hot spot
// at the tip.
Cursor UpArrow() {
  constexpr int kSize = 32, kTipX = 15, kHeadRows = 9, kShaftHalf = 2, kBottom = 22;
  constexpr std::uint32_t kClear = 0x00000000u, kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u;
  const auto covers = [](int x, int y) {
    const int across = std::abs(x - kTipX);
    if (y < 0 || y > kBottom) return false;
    return y < kHeadRows ? across <= y : across <= kShaftHalf;
  };
  Cursor c;
  c.stock = static_cast<int>(reinterpret_cast<std::uintptr_t>(IDC_UPARROW));
  c.hotX = kTipX;
  c.hotY = 0;
  c.image.width = c.image.height = kSize;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      bool rim = false;
      for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) rim = rim || covers(x + i, y + j);
      c.image.pixels.push_back(covers(x, y) ? kWhite : rim ? kBlack : kClear);
    }
  return c;
}

void ApplyPointer() {
  CursorState& s = State();
  host::Display& d = host::TheDisplay();
  auto it = s.cursors.find(s.cursor);
  if (s.showCount < 0 || it == s.cursors.end()) {
    d.SetPointer(host::pointer::kHidden, nullptr, 0, 0);
    return;
  }
  const Cursor& c = it->second;
  d.SetPointer(c.stock, c.image.pixels.empty() ? nullptr : &c.image, c.hotX, c.hotY);
}

}  // namespace

LRESULT DefaultSetCursor(HWND window, WPARAM, LPARAM hitAndMessage) {
  WindowPtr w = Find(window);
  if (!w) return FALSE;
  if ((w->style & WS_CHILD) && SendMessageA(w->parent, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), hitAndMessage))
    return TRUE;
  const LRESULT hit = static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(hitAndMessage)));
  if (hit == HTCLIENT) {
    if (w->cls->cursor) SetCursor(w->cls->cursor);
    return FALSE;
  }
  if (hit == HTLEFT || hit == HTRIGHT) SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
  else if (hit == HTTOP || hit == HTBOTTOM)
    SetCursor(LoadCursorA(nullptr, IDC_SIZENS));
  else if (hit == HTTOPLEFT || hit == HTBOTTOMRIGHT)
    SetCursor(LoadCursorA(nullptr, IDC_SIZENWSE));
  else if (hit == HTTOPRIGHT || hit == HTBOTTOMLEFT)
    SetCursor(LoadCursorA(nullptr, IDC_SIZENESW));
  else
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  return FALSE;
}

}  // namespace user

using namespace user;

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  const std::uintptr_t id = reinterpret_cast<std::uintptr_t>(name);
  if (instance || id < 32512 || id > 32651) return nullptr;
  CursorState& s = State();
  std::lock_guard lock(s.data);
  HCURSOR h = reinterpret_cast<HCURSOR>(0x20000 + id);
  if (!s.cursors.count(h)) {
    Cursor c;
    c.stock = static_cast<int>(id);
    s.cursors[h] = name == IDC_UPARROW ? UpArrow() : c;
  }
  return h;
}

HCURSOR CreateCursor(HINSTANCE, int hotX, int hotY, int width, int height, const void* andMask, const void* xorMask) {
  if (width <= 0 || height <= 0 || width > 256 || height > 256 || !andMask || !xorMask) return nullptr;
  Cursor c;
  c.hotX = hotX;
  c.hotY = hotY;
  c.image.width = width;
  c.image.height = height;
  const int stride = (width + 15) / 16 * 2;
  const BYTE* a = static_cast<const BYTE*>(andMask);
  const BYTE* x = static_cast<const BYTE*>(xorMask);
  // 0xAARRGGBB; inverting pixels show black, since the display cannot invert.
  for (int j = 0; j < height; ++j)
    for (int i = 0; i < width; ++i) {
      const int byte = j * stride + i / 8, bit = 7 - i % 8;
      const bool andBit = (a[byte] >> bit) & 1, xorBit = (x[byte] >> bit) & 1;
      std::uint32_t p = andBit && !xorBit ? 0x00000000u : (!andBit && xorBit ? 0xFFFFFFFFu : 0xFF000000u);
      c.image.pixels.push_back(p);
    }
  CursorState& s = State();
  std::lock_guard lock(s.data);
  HCURSOR h = reinterpret_cast<HCURSOR>(s.nextCursor);
  s.nextCursor += 4;
  s.cursors[h] = std::move(c);
  return h;
}

BOOL DestroyCursor(HCURSOR cursor) {
  CursorState& s = State();
  std::lock_guard lock(s.data);
  auto it = s.cursors.find(cursor);
  if (it == s.cursors.end() || it->second.stock) return FALSE;
  if (s.cursor == cursor) s.cursor = nullptr;
  s.cursors.erase(it);
  return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
  CursorState& s = State();
  std::lock_guard lock(s.data);
  HCURSOR old = s.cursor;
  if (cursor && !s.cursors.count(cursor)) return old;
  s.cursor = cursor;
  if (old != cursor) ApplyPointer();
  return old;
}

HCURSOR GetCursor() {
  std::lock_guard lock(State().data);
  return State().cursor;
}

int ShowCursor(BOOL show) {
  CursorState& s = State();
  std::lock_guard lock(s.data);
  const bool wasShown = s.showCount >= 0;
  s.showCount += show ? 1 : -1;
  if (wasShown != (s.showCount >= 0)) ApplyPointer();
  return s.showCount;
}
