// AllocateHWnd: a hidden window class whose procedure forwards to the method kept in the window.
#include <mutex>

#include "vcl/sysutils.h"
#include "vcl/utilwindow.h"
#include "win32/user.h"

namespace {

constexpr char kClassName[] = "TPUtilWindow";

LRESULT UtilWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!method) return DefWindowProcA(window, message, wParam, lParam);
  TMessage msg{message, wParam, lParam, 0};
  (*method)(msg);
  return msg.Result;
}

void RegisterUtilWindowClass() {
  static std::once_flag registered;
  std::call_once(registered, [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = UtilWindowProc;
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
  });
}

}  // namespace

HWND AllocateHWnd(TWndMethod Method) {
  RegisterUtilWindowClass();
  HWND window =
      CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (!window) throw EOutOfResources("Error creating window");
  // The method hears from the window once it exists; creation is the default procedure's.
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TWndMethod(std::move(Method))));
  return window;
}

void DeallocateHWnd(HWND Window) {
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(Window, GWLP_USERDATA));
  SetWindowLongPtrA(Window, GWLP_USERDATA, 0);
  DestroyWindow(Window);
  delete method;
}
