// The test aids of win32/testing/windows.h.
#include "win32/testing/windows.h"

#include "window.h"

using namespace user;

host::Image CaptureWindow(HWND window) {
  host::Image image;
  WindowPtr top = TopLevelOf(window);
  if (!top || !top->surface) return image;
  const gdi::Surface& s = *top->surface;
  image.width = s.width;
  image.height = s.height;
  image.pixels.reserve(static_cast<std::size_t>(s.width) * s.height);
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      COLORREF c = s.ColorOf(s.Get(x, y));
      image.pixels.push_back((static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    }
  return image;
}

namespace {

void Inject(host::InputEvent e) { host::TheDisplay().Inject(e); }

}  // namespace

void InjectMouseMove(int screenX, int screenY) {
  host::InputEvent e;
  e.kind = host::InputEvent::Kind::MouseMove;
  e.x = screenX;
  e.y = screenY;
  Inject(e);
}

void InjectMouseButton(int button, bool down, int screenX, int screenY) {
  host::InputEvent e;
  e.kind = down ? host::InputEvent::Kind::MouseDown : host::InputEvent::Kind::MouseUp;
  e.button = button;
  e.x = screenX;
  e.y = screenY;
  Inject(e);
}

void InjectKey(int virtualKey, bool down) {
  host::InputEvent e;
  e.kind = down ? host::InputEvent::Kind::KeyDown : host::InputEvent::Kind::KeyUp;
  e.key = virtualKey;
  Inject(e);
}

void InjectClose(HWND topLevel) {
  WindowPtr w = Find(topLevel);
  if (!w) return;
  host::InputEvent e;
  e.kind = host::InputEvent::Kind::Close;
  e.surface = w->hostSurface;
  Inject(e);
}

void PumpMessages() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));  // left for the test's own loop
      return;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}
