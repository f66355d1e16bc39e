// Mouse and keyboard input: routing the display's events to windows, capture, focus, activation,
// key state and the mouse position.
#include "input.h"

#include <atomic>
#include <cstdlib>

#include "paint.h"
#include "queue.h"
#include "win32/kernel.h"
#include "win32/menus.h"

namespace user {
namespace {

struct LastClick {
  HWND window = nullptr;
  UINT message = 0;
  DWORD time = 0;
  POINT at{0, 0};
};

struct InputState {
  // Capture, focus and activation change only on the windows' thread; others may read them.
  std::atomic<HWND> capture{nullptr};
  std::atomic<HWND> focus{nullptr};
  std::atomic<HWND> active{nullptr};
  // While the modes end because the user turned to another program, the activations they cause
  // stay ours: no window is raised over what the user turned to.
  std::atomic<bool> cancelling{false};
  // Guards the rest; never held while a window procedure runs.
  std::mutex data;
  // Bit 7 down, bit 0 toggled. `keys` is as of the last input message read (GetKeyState);
  // `asyncKeys` as of the last input routed (GetAsyncKeyState).
  BYTE keys[256] = {};
  BYTE asyncKeys[256] = {};
  POINT cursorPos{0, 0};
  LastClick lastClick;
  UINT doubleClickTime = 500;
};

InputState& State() {
  static InputState s;
  return s;
}

bool Down(int vk) {
  std::lock_guard lock(State().data);
  return (State().asyncKeys[vk & 0xFF] & 0x80) != 0;
}

WPARAM MouseKeys() {
  WPARAM k = 0;
  if (Down(VK_LBUTTON)) k |= MK_LBUTTON;
  if (Down(VK_RBUTTON)) k |= MK_RBUTTON;
  if (Down(VK_MBUTTON)) k |= MK_MBUTTON;
  if (Down(VK_SHIFT)) k |= MK_SHIFT;
  if (Down(VK_CONTROL)) k |= MK_CONTROL;
  return k;
}

void Press(BYTE& k, bool down) {
  if (down && !(k & 0x80)) k ^= 0x01;
  k = static_cast<BYTE>(down ? (k | 0x80) : (k & ~0x80));
}

void SetKey(int vk, bool down) {
  std::lock_guard lock(State().data);
  Press(State().asyncKeys[vk & 0xFF], down);
}

bool SyncDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

void PostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowPtr w = Find(window);
  if (!w) return;
  PostedMessage p;
  p.msg = MSG{window, message, wParam, lParam, GetTickCount(), POINT{0, 0}};
  GetCursorPos(&p.msg.pt);
  Post(w->queue, p);
}

bool Within(HWND ancestor, HWND window) { return window && (window == ancestor || IsChild(ancestor, window)); }

RECT ScreenRect(const Window& w) {
  POINT o = WindowOrigin(w);
  return RECT{o.x, o.y, o.x + w.Width(), o.y + w.Height()};
}

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

HWND HitAmongChildren(HWND parent, POINT pt, LRESULT* hit, bool skipDisabled, bool* blocked);

// The window or the child of it under a screen point; null when the point misses the window or
// the window lets it through. A disabled top-level window is hit with HTERROR; a disabled child
// sets `blocked`, as its input goes to its parent.
HWND HitWindow(HWND window, POINT pt, LRESULT* hit, bool skipDisabled, bool* blocked) {
  WindowPtr c = Find(window);
  if (!c || !c->Visible() || (c->style & WS_MINIMIZE) || !Contains(ScreenRect(*c), pt)) return nullptr;
  if (skipDisabled && (c->style & WS_DISABLED)) {
    if (IsTopLevel(*c)) {
      *hit = HTERROR;
      return window;
    }
    *blocked = true;
    return nullptr;
  }
  POINT co = ClientOrigin(*c);
  RECT client{co.x, co.y, co.x + c->client.right - c->client.left, co.y + c->client.bottom - c->client.top};
  if (Contains(client, pt)) {
    bool childBlocked = false;
    if (HWND deeper = HitAmongChildren(window, pt, hit, skipDisabled, &childBlocked)) return deeper;
  }
  LRESULT h = SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
  if (h == HTTRANSPARENT) return nullptr;
  *hit = h;
  return window;
}

HWND HitAmongChildren(HWND parent, POINT pt, LRESULT* hit, bool skipDisabled, bool* blocked) {
  std::vector<HWND> kids;
  {
    std::lock_guard lock(TreeLock());
    WindowPtr p = Find(parent);
    if (!p) return nullptr;
    kids = p->children;
  }
  for (HWND k : kids) {
    if (HWND found = HitWindow(k, pt, hit, skipDisabled, blocked)) return found;
    if (*blocked) return nullptr;
  }
  return nullptr;
}

// The window of a modal loop (a modal form, a message box) comes to the front of the desktop when
// the user reaches for the window it disabled.
void BringActiveToFront() {
  WindowPtr active = Find(State().active);
  if (!active || !active->Visible() || !active->hostSurface) return;
  SetWindowPos(active->handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  host::TheDisplay().Raise(active->hostSurface);
}

// The event's point on the screen, recorded as the cursor position; false when the native window it
// came from is gone. `surfaceTop` is the top-level window of that native window, if any.
bool PlaceCursor(const host::InputEvent& e, POINT* pt, HWND* surfaceTop) {
  *pt = POINT{e.x, e.y};
  *surfaceTop = nullptr;
  if (e.surface) {
    *surfaceTop = TopLevelOfSurface(e.surface);
    WindowPtr t = Find(*surfaceTop);
    if (!t) return false;
    pt->x += t->shownAs.x;
    pt->y += t->shownAs.y;
  }
  std::lock_guard lock(State().data);
  State().cursorPos = *pt;
  return true;
}

// The client-area message of a press or release, with the button's key state updated; a move
// otherwise.
UINT ButtonMessage(const host::InputEvent& e) {
  using Kind = host::InputEvent::Kind;
  if (e.kind != Kind::MouseDown && e.kind != Kind::MouseUp) return WM_MOUSEMOVE;
  const bool down = e.kind == Kind::MouseDown;
  UINT message = 0;
  int vk = 0;
  switch (e.button) {
    case host::InputEvent::Left:
      message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
      vk = VK_LBUTTON;
      break;
    case host::InputEvent::Right:
      message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
      vk = VK_RBUTTON;
      break;
    default:
      message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
      vk = VK_MBUTTON;
      break;
  }
  SetKey(vk, down);
  return message;
}

// The wheel turns the focused window, else the active one, wherever the cursor is.
void RouteWheel(const host::InputEvent& e, POINT pt) {
  InputState& s = State();
  HWND target = s.focus ? s.focus : s.active;
  if (target)
    PostInput(target, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(MouseKeys()), e.wheel * 120), MAKELPARAM(pt.x, pt.y));
}

// The capturing window, else the window under the point (within a native window's own tree).
HWND MouseTarget(HWND surfaceTop, POINT pt, LRESULT* hit) {
  HWND target = State().capture;
  if (!target && surfaceTop) {
    bool blocked = false;
    target = HitWindow(surfaceTop, pt, hit, true, &blocked);
  } else if (!target) {
    target = WindowAt(pt, hit, true);
  }
  return target;
}

bool IsButtonDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

// A press on an inactive top-level window activates it unless the window under the press declines;
// true when the press is eaten (or its window went away).
bool ActivateOnPress(HWND target, LRESULT hit, UINT message) {
  WindowPtr top = TopLevelOf(target);
  if (!top || top->handle == State().active) return false;
  // The window under the press chooses whether it activates and whether the press is eaten.
  const LRESULT how = SendMessageA(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->handle),
                                   MAKELPARAM(static_cast<int>(hit), static_cast<int>(message)));
  if (how != MA_NOACTIVATE && how != MA_NOACTIVATEANDEAT && IsWindow(top->handle)) SetActiveWindow(top->handle);
  return how == MA_ACTIVATEANDEAT || how == MA_NOACTIVATEANDEAT || !IsWindow(target);
}

// The press message, turned into its double-click when it repeats the last press on a window that
// asks for double clicks, soon enough and near enough.
UINT CountClick(HWND target, LRESULT hit, UINT message, POINT pt) {
  InputState& s = State();
  WindowPtr w = Find(target);
  const DWORD now = GetTickCount();
  LastClick& last = s.lastClick;
  const bool isDouble = w && (w->cls->style & CS_DBLCLKS) && hit == HTCLIENT && last.window == target &&
                        last.message == message && now - last.time <= s.doubleClickTime &&
                        std::abs(pt.x - last.at.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                        std::abs(pt.y - last.at.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  if (isDouble) {
    last = LastClick{};
    return message + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
  }
  last = LastClick{target, message, now, pt};
  return message;
}

// Client messages carry client coordinates and the key state; non-client ones the hit and the
// screen point.
void PostMouse(HWND target, LRESULT hit, UINT message, POINT pt) {
  if (hit == HTCLIENT || State().capture) {
    POINT c = pt;
    ScreenToClient(target, &c);
    PostInput(target, message, MouseKeys(), MAKELPARAM(c.x, c.y));
  } else {
    PostInput(target, message - (WM_MOUSEMOVE - WM_NCMOUSEMOVE), static_cast<WPARAM>(hit), MAKELPARAM(pt.x, pt.y));
  }
}

void RouteMouse(const host::InputEvent& e) {
  POINT pt{0, 0};
  HWND surfaceTop = nullptr;  // input of a native window stays in it
  if (!PlaceCursor(e, &pt, &surfaceTop)) return;
  UINT message = ButtonMessage(e);
  if (e.kind == host::InputEvent::Kind::Wheel) {
    RouteWheel(e, pt);
    return;
  }
  LRESULT hit = HTCLIENT;
  HWND target = MouseTarget(surfaceTop, pt, &hit);
  if (!target) return;
  const bool buttonDown = IsButtonDown(message);
  if (hit == HTERROR) {
    if (buttonDown) {
      MessageBeep(0);
      BringActiveToFront();
    }
    return;
  }
  if (!State().capture)
    SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                 MAKELPARAM(static_cast<int>(hit), static_cast<int>(message)));
  if (buttonDown) {
    if (ActivateOnPress(target, hit, message)) return;
    message = CountClick(target, hit, message, pt);
  }
  PostMouse(target, hit, message, pt);
}

void RouteKey(const host::InputEvent& e) {
  InputState& s = State();
  const bool down = e.kind == host::InputEvent::Kind::KeyDown;
  const bool wasDown = Down(e.key);
  SetKey(e.key, down);
  HWND target = s.focus;
  bool sys = !target;
  if (!target) target = s.active;
  if (!target) return;
  if ((Down(VK_MENU) || e.key == VK_MENU || e.key == VK_F10) && !Down(VK_CONTROL)) sys = true;
  UINT message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  LPARAM l = 1;
  if (Down(VK_MENU)) l |= 1 << 29;
  if (wasDown) l |= 1 << 30;
  if (!down) l |= static_cast<LPARAM>(1u << 31);
  PostInput(target, message, static_cast<WPARAM>(e.key), l);
}

// The user turned to another program: an open menu or pop-up closes and a held tracking ends, as a
// cancel, as a press outside them would.
void CancelModes() {
  State().cancelling = true;
  EndMenu();
  if (HWND holder = GetCapture()) SendMessageA(holder, WM_CANCELMODE, 0, 0);
  if (GetCapture()) ReleaseCapture();
  State().cancelling = false;
}

void Route(const host::InputEvent& e) {
  using Kind = host::InputEvent::Kind;
  switch (e.kind) {
    case Kind::MouseMove:
    case Kind::MouseDown:
    case Kind::MouseUp:
    case Kind::Wheel: RouteMouse(e); break;
    case Kind::KeyDown:
    case Kind::KeyUp: RouteKey(e); break;
    case Kind::Close:
      if (HWND top = TopLevelOfSurface(e.surface)) PostMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case Kind::FocusIn:
      // The desktop moved the focus itself: follow it without asking the desktop back, or a late
      // focus event for an earlier request would start a new one and the two never settle.
      if (HWND top = TopLevelOfSurface(e.surface); top && IsWindowEnabled(top) && GetActiveWindow() != top)
        Activate(top, false);
      else if (top && !IsWindowEnabled(top) && GetActiveWindow() != top)
        BringActiveToFront();
      break;
    case Kind::FocusOut:
      // Only a held mode asks the desktop where the keyboard went.
      if (GetCapture() && (e.elsewhere || !host::TheDisplay().KeyboardHere())) CancelModes();
      break;
    case Kind::Moved: FollowDisplayMove(e.surface, POINT{e.x, e.y}); break;
    case Kind::Expose:
      if (WindowPtr top = Find(TopLevelOfSurface(e.surface))) top->dirty = true;
      break;
  }
}

// The character a key types with the current shift state (US layout), 0 for none.
int CharacterOf(int vk) {
  const bool shift = SyncDown(VK_SHIFT), ctrl = SyncDown(VK_CONTROL);
  const bool caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return vk - 'A' + 1;
    return (shift != caps) ? vk : vk - 'A' + 'a';
  }
  if (ctrl) return 0;
  if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : vk;
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return '0' + (vk - VK_NUMPAD0);
  switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return '\b';
    case VK_TAB: return '\t';
    case VK_ESCAPE: return 0x1B;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    case 0xBA: return shift ? ':' : ';';
    case 0xBB: return shift ? '+' : '=';
    case 0xBC: return shift ? '<' : ',';
    case 0xBD: return shift ? '_' : '-';
    case 0xBE: return shift ? '>' : '.';
    case 0xBF: return shift ? '?' : '/';
    case 0xC0: return shift ? '~' : '`';
    case 0xDB: return shift ? '{' : '[';
    case 0xDC: return shift ? '|' : '\\';
    case 0xDD: return shift ? '}' : ']';
    case 0xDE: return shift ? '"' : '\'';
    default: return 0;
  }
}

}  // namespace

HWND WindowAt(POINT screen, LRESULT* hit, bool skipDisabled) {
  LRESULT h = HTNOWHERE;
  bool blocked = false;
  HWND found = HitAmongChildren(Desktop(), screen, &h, skipDisabled, &blocked);
  if (hit) *hit = h;
  return found;
}

HWND TopLevelOfSurface(host::SurfaceId surface) {
  if (!surface) return nullptr;
  std::lock_guard lock(TreeLock());
  for (HWND h : Find(Desktop())->children)
    if (WindowPtr w = Find(h); w && w->hostSurface == surface) return h;
  return nullptr;
}

void NoteInputRead(const MSG& msg) {
  int vk = 0;
  bool down = false;
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      vk = static_cast<int>(msg.wParam);
      down = true;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP: vk = static_cast<int>(msg.wParam); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
      vk = VK_LBUTTON;
      down = true;
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
      vk = VK_RBUTTON;
      down = true;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
      vk = VK_MBUTTON;
      down = true;
      break;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP: vk = VK_LBUTTON; break;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP: vk = VK_RBUTTON; break;
    case WM_MBUTTONUP:
    case WM_NCMBUTTONUP: vk = VK_MBUTTON; break;
    default: return;
  }
  std::lock_guard lock(State().data);
  Press(State().keys[vk & 0xFF], down);
}

void PumpInput() {
  host::InputEvent e;
  while (host::TheDisplay().Poll(e)) Route(e);
}

void ForgetInputWindow(HWND window) {
  InputState& s = State();
  if (Within(window, s.capture)) ReleaseCapture();
  if (Within(window, s.focus)) {
    HWND old = s.focus;
    s.focus = nullptr;
    SendMessageA(old, WM_KILLFOCUS, 0, 0);
  }
  if (s.active == window) ActivateAnotherThan(window);
  if (Within(window, s.lastClick.window)) s.lastClick = LastClick{};
}

void DefaultActivate(HWND window, WPARAM state) {
  if (LOWORD(state) == WA_INACTIVE || IsIconic(window)) return;
  if (!Within(window, GetFocus())) SetFocus(window);
}

void ActivateAnotherThan(HWND window) {
  InputState& s = State();
  if (s.active != window) return;
  auto usable = [&](HWND h) {
    WindowPtr w = Find(h);
    return w && h != window && !w->destroying && w->Visible() && !(w->style & (WS_DISABLED | WS_MINIMIZE)) &&
           w->queue == CurrentQueue();
  };
  HWND next = nullptr;
  if (WindowPtr w = Find(window); w && usable(w->owner)) next = w->owner;
  if (!next) {
    std::vector<HWND> tops;
    {
      std::lock_guard tree(TreeLock());
      tops = Find(Desktop())->children;
    }
    for (HWND h : tops)
      if (usable(h)) {
        next = h;
        break;
      }
  }
  if (next) {
    SetActiveWindow(next);
    return;
  }
  s.active = nullptr;
  SendMessageA(window, WM_NCACTIVATE, FALSE, 0);
  SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);
  if (HWND old = s.focus; Within(window, old)) {
    s.focus = nullptr;
    SendMessageA(old, WM_KILLFOCUS, 0, 0);
  }
}

}  // namespace user

using namespace user;

HWND SetCapture(HWND window) {
  InputState& s = State();
  HWND old = s.capture;
  s.capture = IsWindow(window) ? window : nullptr;
  if (old && old != s.capture) SendMessageA(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(s.capture.load()));
  return old;
}

BOOL ReleaseCapture() {
  InputState& s = State();
  HWND old = s.capture;
  s.capture = nullptr;
  if (old) SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return State().capture; }

UINT GetDoubleClickTime() { return State().doubleClickTime; }

BOOL SetDoubleClickTime(UINT milliseconds) {
  State().doubleClickTime = milliseconds ? milliseconds : 500;
  return TRUE;
}

HWND SetFocus(HWND window) {
  InputState& s = State();
  if (window && !IsWindow(window)) return nullptr;
  if (window) {
    WindowPtr top = TopLevelOf(window);
    if (top && top->handle != s.active) SetActiveWindow(top->handle);
  }
  HWND old = s.focus;
  if (old == window) return old;
  s.focus = window;
  if (old && IsWindow(old)) SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
  if (window && s.focus == window) SendMessageA(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() { return State().focus; }

HWND SetActiveWindow(HWND window) { return Activate(window, true); }

namespace user {

HWND Activate(HWND window, bool raiseOnDesktop) {
  InputState& s = State();
  WindowPtr top = TopLevelOf(window);
  if (!top) return nullptr;
  HWND old = s.active;
  if (old == top->handle) return old;
  s.active = top->handle;
  if (old && IsWindow(old)) {
    SendMessageA(old, WM_NCACTIVATE, FALSE, 0);
    SendMessageA(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(top->handle));
  }
  SetWindowPos(top->handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (raiseOnDesktop && top->hostSurface && !s.cancelling) host::TheDisplay().Raise(top->hostSurface);
  SendMessageA(top->handle, WM_NCACTIVATE, TRUE, 0);
  SendMessageA(top->handle, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, IsIconic(top->handle) ? 1 : 0),
               reinterpret_cast<LPARAM>(old));
  return old;
}

}  // namespace user

HWND GetActiveWindow() { return State().active; }

BOOL SetForegroundWindow(HWND window) { return IsWindow(window) && SetActiveWindow(window) != window ? TRUE : FALSE; }

HWND GetForegroundWindow() { return GetActiveWindow(); }

SHORT GetKeyState(int virtualKey) {
  std::lock_guard lock(State().data);
  BYTE k = State().keys[virtualKey & 0xFF];
  return static_cast<SHORT>(((k & 0x80) ? 0x8000 : 0) | (k & 1));
}

SHORT GetAsyncKeyState(int virtualKey) { return static_cast<SHORT>(Down(virtualKey) ? 0x8000 : 0); }

BOOL GetKeyboardState(BYTE* state) {
  if (!state) return FALSE;
  std::lock_guard lock(State().data);
  std::copy(std::begin(State().keys), std::end(State().keys), state);
  return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  const int c = CharacterOf(static_cast<int>(msg->wParam));
  if (!c) return FALSE;
  // The character comes right after its key, before input that followed.
  PostedMessage p;
  p.msg = *msg;
  p.msg.message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  p.msg.wParam = static_cast<WPARAM>(c);
  auto q = CurrentQueue();
  {
    std::lock_guard lock(q->mutex);
    q->posted.push_front(p);
  }
  return TRUE;
}

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  std::lock_guard lock(State().data);
  *point = State().cursorPos;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  {
    std::lock_guard lock(State().data);
    State().cursorPos = POINT{x, y};
  }
  host::TheDisplay().SetMousePosition(x, y);
  return TRUE;
}
