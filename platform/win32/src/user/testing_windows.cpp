// The test aids of win32/testing/windows.h.
#include "win32/testing/windows.h"

#include "win32/syscolor.h"
#include "window.h"

using namespace user;

namespace {

std::uint32_t Rgb(COLORREF c) {
  return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace

host::Image CaptureWindow(HWND window) {
  host::Image image;
  WindowPtr top = TopLevelOf(window);
  if (!top || !top->surface) return image;
  const gdi::Surface& s = *top->surface;
  image.width = s.width;
  image.height = s.height;
  image.pixels.reserve(static_cast<std::size_t>(s.width) * s.height);
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) image.pixels.push_back(Rgb(s.ColorOf(s.Get(x, y))));
  return image;
}

host::Image CaptureClient(HWND window) {
  const host::Image whole = CaptureWindow(window);
  WindowPtr top = TopLevelOf(window);
  RECT frame, client;
  if (!top || !GetWindowRect(top->handle, &frame) || !GetClientRect(window, &client)) return {};
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  host::Image image;
  image.width = client.right;
  image.height = client.bottom;
  // A child's client area may reach past its top-level window: those pixels read as black.
  for (int y = origin.y - frame.top; y < origin.y - frame.top + client.bottom; ++y)
    for (int x = origin.x - frame.left; x < origin.x - frame.left + client.right; ++x)
      image.pixels.push_back(x >= 0 && y >= 0 && x < whole.width && y < whole.height ? whole.At(x, y) : 0);
  return image;
}

host::Image IconOverButtonFace(HICON icon) {
  constexpr int size = 32;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, size, size};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  DrawIcon(dc, 0, 0, icon);
  host::Image image;
  image.width = image.height = size;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) image.pixels.push_back(Rgb(GetPixel(dc, x, y)));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return image;
}

host::SurfaceId DisplaySurfaceOf(HWND window) {
  WindowPtr top = TopLevelOf(window);
  return top ? top->hostSurface : 0;
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

void InjectWheel(int notches, int screenX, int screenY) {
  host::InputEvent e;
  e.kind = host::InputEvent::Kind::Wheel;
  e.wheel = notches;
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

void InjectFocusToOtherProgram(HWND topLevel) {
  WindowPtr w = Find(topLevel);
  if (!w) return;
  host::InputEvent e;
  e.kind = host::InputEvent::Kind::FocusOut;
  e.surface = w->hostSurface;
  e.elsewhere = true;
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
