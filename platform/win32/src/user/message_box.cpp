// Message boxes: answered by the hook when one is set, else a modal window of their own. Without
// a desktop nobody could answer: the text goes to standard error and the default button is taken.
// The keyboard is a dialog's: Tab and Shift+Tab move the focus among the buttons, the focused one
// being the default; Space presses it, Return answers it, Escape cancels, a button's access key
// (with or without Alt) presses that button.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "host/display.h"
#include "win32/item_search.h"
#include "win32/syscolor.h"
#include "win32/text.h"
#include "window.h"

namespace {

MessageBoxAnswer gAnswer = nullptr;
void* gAnswerContext = nullptr;

RECT Inset(RECT r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

constexpr int kFocusInset = 3;  // the focus rectangle inside the button's edge, as push buttons draw it

struct BoxButton {
  int id;
  const char* label;
  RECT rect;
};

struct Box {
  std::string text;
  HICON icon = nullptr;
  RECT iconRect{};
  RECT textRect{};
  std::vector<BoxButton> buttons;
  int focused = 0;  // the default button until the user moves the focus
  int cancelId = 0;  // 0: Escape and the close box do nothing
  int result = 0;
  int pressed = -1;
  bool spaceDown = false;
};

// The icon of an MB_ICON* style; none for the values that name none.
HICON IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return LoadIconA(nullptr, IDI_HAND);
    case MB_ICONQUESTION: return LoadIconA(nullptr, IDI_QUESTION);
    case MB_ICONEXCLAMATION: return LoadIconA(nullptr, IDI_EXCLAMATION);
    case MB_ICONASTERISK: return LoadIconA(nullptr, IDI_ASTERISK);
    default: return nullptr;
  }
}

std::vector<BoxButton> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK", {}}, {IDCANCEL, "Cancel", {}}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Abort", {}}, {IDRETRY, "&Retry", {}}, {IDIGNORE, "&Ignore", {}}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes", {}}, {IDNO, "&No", {}}, {IDCANCEL, "Cancel", {}}};
    case MB_YESNO: return {{IDYES, "&Yes", {}}, {IDNO, "&No", {}}};
    case MB_RETRYCANCEL: return {{IDRETRY, "&Retry", {}}, {IDCANCEL, "Cancel", {}}};
    default: return {{IDOK, "OK", {}}};
  }
}

Box* BoxOf(HWND window) { return reinterpret_cast<Box*>(GetWindowLongA(window, GWL_USERDATA)); }

void Paint(HWND window, Box& box) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  if (box.icon) DrawIcon(dc, box.iconRect.left, box.iconRect.top, box.icon);
  RECT t = box.textRect;
  DrawTextA(dc, box.text.c_str(), -1, &t, DT_WORDBREAK | DT_NOPREFIX);
  for (std::size_t i = 0; i < box.buttons.size(); ++i) {
    RECT r = box.buttons[i].rect;
    const bool focused = static_cast<int>(i) == box.focused;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (focused) {
      FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
      r = Inset(r, 1);
    }
    DrawEdge(dc, &r, static_cast<int>(i) == box.pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, box.buttons[i].label, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (focused) {
      const RECT focus = Inset(r, kFocusInset);
      DrawFocusRect(dc, &focus);
    }
  }
  SelectObject(dc, oldFont);
  EndPaint(window, &ps);
}

int ButtonAt(const Box& box, LPARAM l) {
  POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  for (std::size_t i = 0; i < box.buttons.size(); ++i) {
    const RECT& r = box.buttons[i].rect;
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return static_cast<int>(i);
  }
  return -1;
}

int IdOf(const Box& box, int index) { return box.buttons[static_cast<std::size_t>(index)].id; }

void MoveFocus(HWND window, Box& box, bool back) {
  const int n = static_cast<int>(box.buttons.size());
  box.focused = (box.focused + (back ? n - 1 : 1)) % n;
  box.spaceDown = false;
  box.pressed = -1;
  InvalidateRect(window, nullptr, TRUE);
}

void MouseDown(HWND window, Box& box, LPARAM l) {
  box.pressed = ButtonAt(box, l);
  if (box.pressed >= 0) {
    box.focused = box.pressed;
    SetCapture(window);
  }
  InvalidateRect(window, nullptr, TRUE);
}

void MouseUp(HWND window, Box& box, LPARAM l) {
  const int at = ButtonAt(box, l);
  if (at >= 0 && at == box.pressed) box.result = IdOf(box, at);
  box.pressed = -1;
  ReleaseCapture();
  InvalidateRect(window, nullptr, TRUE);
}

void KeyDown(HWND window, Box& box, WPARAM key) {
  switch (key) {
    case VK_TAB: MoveFocus(window, box, GetKeyState(VK_SHIFT) < 0); return;
    case VK_SPACE:
      box.spaceDown = true;
      box.pressed = box.focused;
      InvalidateRect(window, nullptr, TRUE);
      return;
    case VK_RETURN: box.result = IdOf(box, box.focused); return;
    case VK_ESCAPE:
      if (box.cancelId) box.result = box.cancelId;
      return;
    default: return;
  }
}

void KeyUp(HWND window, Box& box, WPARAM key) {
  if (key != VK_SPACE || !box.spaceDown) return;
  box.spaceDown = false;
  box.pressed = -1;
  box.result = IdOf(box, box.focused);
  InvalidateRect(window, nullptr, TRUE);
}

// A typed letter, with Alt or without, that is a button's access key answers that button.
void AccessKeyTyped(Box& box, WPARAM typed) {
  for (const BoxButton& b : box.buttons)
    if (itemsearch::IsAccessKey(static_cast<char>(typed), b.label)) box.result = b.id;
}

LRESULT BoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Box* box = BoxOf(window);
  if (!box) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: Paint(window, *box); return 0;
    case WM_LBUTTONDOWN: MouseDown(window, *box, lParam); return 0;
    case WM_LBUTTONUP: MouseUp(window, *box, lParam); return 0;
    case WM_KEYDOWN: KeyDown(window, *box, wParam); return 0;
    case WM_KEYUP: KeyUp(window, *box, wParam); return 0;
    case WM_CHAR:
    case WM_SYSCHAR: AccessKeyTyped(*box, wParam); return 0;
    case WM_CLOSE:
      if (box->cancelId) box->result = box->cancelId;
      return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

const char* BoxClass() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BoxProcedure;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1));
    wc.lpszClassName = "StartLogoMessageBox";
    RegisterClassA(&wc);
    return wc.lpszClassName;
  }();
  return name;
}

// The box's text, icon and buttons, the default button focused; Escape answers Cancel, or OK alone.
void Fill(Box& box, LPCSTR text, UINT type) {
  box.text = text;
  box.icon = IconOf(type);
  box.buttons = ButtonsOf(type);
  box.focused = std::min<int>(static_cast<int>((type & MB_DEFMASK) >> 8), static_cast<int>(box.buttons.size()) - 1);
  for (const BoxButton& b : box.buttons)
    if (b.id == IDCANCEL) box.cancelId = IDCANCEL;
  if ((type & MB_TYPEMASK) == MB_OK) box.cancelId = IDOK;
}

// The text's extent when wrapped to the box's width, measured on the screen's DC with the dialog font.
RECT MeasureText(LPCSTR text) {
  constexpr int kTextWidth = 360;
  RECT measure{0, 0, kTextWidth, 0};
  HDC screen = GetDC(nullptr);
  HGDIOBJ oldFont = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
  DrawTextA(screen, text, -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(screen, oldFont);
  ReleaseDC(nullptr, screen);
  return measure;
}

// The width the caption bar needs for the caption's text in the bold caption font, with the
// window's icon before it and the close box after it.
int CaptionWidth(LPCSTR caption) {
  constexpr int kCaptionFontHeight = -11;
  HFONT font = CreateFontA(kCaptionFontHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0,
                           VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
  HDC screen = GetDC(nullptr);
  HGDIOBJ oldFont = SelectObject(screen, font);
  SIZE text{};
  GetTextExtentPoint32A(screen, caption, static_cast<int>(std::strlen(caption)), &text);
  SelectObject(screen, oldFont);
  ReleaseDC(nullptr, screen);
  DeleteObject(font);
  const int button = GetSystemMetrics(SM_CXSIZE) + GetSystemMetrics(SM_CXEDGE);
  return text.cx + 2 * button + 2 * GetSystemMetrics(SM_CXEDGE);
}

// The icon at the margin with the text beside it, a text shorter than the icon level with its
// middle; the buttons centred below both; as wide as the caption needs. Returns the client size.
SIZE LayOut(Box& box, const RECT& measure, int captionWidth) {
  const int margin = 12, bw = 75, bh = 23, gap = 6, iconSize = 32;
  const int textLeft = box.icon ? margin + iconSize + margin : margin;
  const int contentH = box.icon ? std::max<int>(iconSize, measure.bottom) : measure.bottom;
  const int textTop = margin + (contentH - measure.bottom) / 2;
  box.iconRect = RECT{margin, margin, margin + iconSize, margin + iconSize};
  box.textRect = RECT{textLeft, textTop, textLeft + measure.right, textTop + measure.bottom};
  const int buttonsWidth = static_cast<int>(box.buttons.size()) * (bw + gap) - gap;
  const int clientW = std::max<int>({box.textRect.right + margin, buttonsWidth + 2 * margin, captionWidth});
  const int clientH = contentH + 3 * margin + bh;
  int x = (clientW - buttonsWidth) / 2;
  for (BoxButton& b : box.buttons) {
    b.rect = RECT{x, clientH - margin - bh, x + bw, clientH - margin};
    x += bw + gap;
  }
  return SIZE{clientW, clientH};
}

// The box's window, centred on the screen, on top of all when the type asks.
HWND CreateBox(HWND owner, LPCSTR caption, UINT type, SIZE client) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | ((type & (MB_TOPMOST | MB_SYSTEMMODAL)) ? WS_EX_TOPMOST : 0);
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  return CreateWindowExA(exStyle, BoxClass(), caption, style, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, owner, nullptr, nullptr, nullptr);
}

// Dispatches messages until the box is answered or gone; false when the loop met WM_QUIT, whose
// exit code is left in `m`.
bool PumpUntilAnswered(HWND window, const Box& box, MSG& m) {
  while (!box.result && IsWindow(window)) {
    if (!GetMessageA(&m, nullptr, 0, 0)) return false;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return true;
}

// Shows the box modal to its owner's top-level window and returns the answer.
int RunModal(HWND window, HWND owner, Box& box) {
  SetWindowLongA(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&box));
  HWND ownerTop = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  const bool ownerWasEnabled = ownerTop && IsWindowEnabled(ownerTop);
  if (ownerWasEnabled) EnableWindow(ownerTop, FALSE);
  ShowWindow(window, SW_SHOW);
  SetFocus(window);
  MSG m;
  const bool quit = !PumpUntilAnswered(window, box, m);
  if (ownerWasEnabled) EnableWindow(ownerTop, TRUE);
  if (IsWindow(window)) {
    SetWindowLongA(window, GWL_USERDATA, 0);
    DestroyWindow(window);
  }
  if (ownerTop && IsWindow(ownerTop)) SetActiveWindow(ownerTop);
  if (quit) PostQuitMessage(static_cast<int>(m.wParam));  // the caller's loop ends too
  return box.result;
}

}  // namespace

void SetMessageBoxAnswer(MessageBoxAnswer answer, void* context) {
  gAnswer = answer;
  gAnswerContext = context;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  if (!text) text = "";
  if (!caption) caption = "Error";
  if (gAnswer) return gAnswer(owner, text, caption, type, gAnswerContext);
  Box box;
  Fill(box, text, type);
  // Nobody could answer (no desktop): say it on standard error and take the default button.
  if (host::Unattended()) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return IdOf(box, box.focused);
  }
  const SIZE client = LayOut(box, MeasureText(text), CaptionWidth(caption));
  HWND window = CreateBox(owner, caption, type, client);
  if (!window) return 0;
  return RunModal(window, owner, box);
}
