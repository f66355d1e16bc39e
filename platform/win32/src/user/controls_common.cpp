// Shared parts of the system control classes.
#include "controls_common.h"

#include <algorithm>

namespace user::controls {

void RegisterControlClasses() {
  static const bool done = [] {
    RegisterStaticClass();
    RegisterButtonClass();
    RegisterEditClass();
    RegisterListBoxClass();
    RegisterComboBoxClass();
    RegisterComboListClass();
    return true;
  }();
  (void)done;
}

void RegisterClassWithState(const char* name, WNDPROC procedure, UINT style) {
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.cbWndExtra = kStateExtra;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent) return;
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetWindowLongA(control, GWL_ID)), code),
               reinterpret_cast<LPARAM>(control));
}

HBRUSH ParentColorBrush(HWND control, HDC dc, UINT message, int fallbackColor) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(fallbackColor));
  HWND parent = GetParent(control);
  LRESULT answer =
      parent ? SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)) : 0;
  return answer ? reinterpret_cast<HBRUSH>(answer) : GetSysColorBrush(fallbackColor);
}

HFONT FontOrDefault(HFONT font) { return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

int FontHeight(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontOrDefault(font));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight > 0 ? tm.tmHeight : 1;
}

std::string TextOf(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

LRESULT CopyItemText(const std::string& text, LPARAM buffer) {
  std::copy(text.begin(), text.end(), reinterpret_cast<char*>(buffer));
  reinterpret_cast<char*>(buffer)[text.size()] = '\0';
  return static_cast<LRESULT>(text.size());
}

RECT ClientRectOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

bool PointIn(const RECT& r, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace user::controls
