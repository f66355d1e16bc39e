// Single-line edits.
#include <cstring>

#include "stdctrls_draw.h"
#include "vcl/forms.h"
#include "win32/clipboard.h"
#include "win32/globalmem.h"

namespace {
constexpr int kMargin = 1;

bool IsKeyDown(int Key) { return GetKeyState(Key) < 0; }

// A single-line edit takes a pasted text up to its first line break.
std::string FirstLine(const std::string& Text) { return Text.substr(0, Text.find_first_of("\r\n")); }
}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetCursor(crIBeam);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (borderStyle_ == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (borderStyle_ == Value) return;
  borderStyle_ = Value;
  RecreateWnd();
}

void TCustomEdit::SetReadOnly(bool Value) {
  readOnly_ = Value;
  Invalidate();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::SetSelStart(int Value) {
  const int length = static_cast<int>(GetText().size());
  anchor_ = caret_ = std::max(0, std::min(Value, length));
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::SetSelLength(int Value) {
  const int length = static_cast<int>(GetText().size());
  anchor_ = SelStart();
  caret_ = std::max(0, std::min(anchor_ + Value, length));
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::SelectAll() {
  anchor_ = 0;
  caret_ = static_cast<int>(GetText().size());
  Invalidate();
}

std::string TCustomEdit::SelText() {
  return GetText().substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()));
}

void TCustomEdit::SetSelText(const std::string& Value) {
  std::string text = GetText();
  const int start = SelStart();
  text.replace(static_cast<size_t>(start), static_cast<size_t>(SelLength()), Value);
  anchor_ = caret_ = start + static_cast<int>(Value.size());
  SetText(text);
}

bool TCustomEdit::InsertTyped(const std::string& Value) {
  std::string fitting = Value;
  if (maxLength_ > 0) {
    const int room = maxLength_ - (static_cast<int>(GetText().size()) - SelLength());
    fitting = fitting.substr(0, static_cast<size_t>(std::max(0, room)));
  }
  if (fitting.empty() && !Value.empty()) {
    MessageBeep(0);
    return false;
  }
  SetSelText(fitting);
  modified_ = true;
  return true;
}

void TCustomEdit::MoveCaret(int Position, bool Extend) {
  caret_ = std::max(0, std::min(Position, static_cast<int>(GetText().size())));
  if (!Extend) anchor_ = caret_;
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::CopyToClipboard() {
  const std::string text = SelText();
  if (text.empty() || !OpenClipboard(HandleAllocated() ? Handle() : nullptr)) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
  CloseClipboard();
}

void TCustomEdit::CutToClipboard() {
  if (readOnly_ || SelLength() == 0) return;
  CopyToClipboard();
  ClearSelection();
  modified_ = true;
}

void TCustomEdit::PasteFromClipboard() {
  if (readOnly_ || !OpenClipboard(HandleAllocated() ? Handle() : nullptr)) return;
  std::string text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    const char* chars = static_cast<const char*>(GlobalLock(data));
    text.assign(chars, strnlen(chars, GlobalSize(data)));
    GlobalUnlock(data);
  }
  CloseClipboard();
  InsertTyped(FirstLine(text));
}

int TCustomEdit::TextX(int Index) {
  const std::string text = GetText();
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  SIZE s{};
  GetTextExtentPoint32A(dc, text.c_str(), Index, &s);
  SelectObject(dc, old);
  DeleteDC(dc);
  return s.cx;
}

int TCustomEdit::CharAtX(int X) {
  const int length = static_cast<int>(GetText().size());
  const int target = X - kMargin + scroll_;
  int previous = 0;
  for (int i = 1; i <= length; ++i) {
    int x = TextX(i);
    if (target < (previous + x) / 2) return i - 1;
    previous = x;
  }
  return length;
}

void TCustomEdit::ScrollToCaret() {
  const int width = std::max(1, ClientWidth() - 2 * kMargin - textRightMargin_);
  const int x = TextX(caret_);
  if (x - scroll_ > width) scroll_ = x - width;
  if (x < scroll_) scroll_ = x;
}

void TCustomEdit::HandleKey(WORD Key) {
  const bool shift = IsKeyDown(VK_SHIFT), ctrl = IsKeyDown(VK_CONTROL);
  const int length = static_cast<int>(GetText().size());
  switch (Key) {
    case VK_LEFT: return MoveCaret(!shift && SelLength() ? SelStart() : caret_ - 1, shift);
    case VK_RIGHT: return MoveCaret(!shift && SelLength() ? SelStart() + SelLength() : caret_ + 1, shift);
    case VK_HOME: return MoveCaret(0, shift);
    case VK_END: return MoveCaret(length, shift);
    case VK_DELETE:
      if (readOnly_) return;
      if (shift) return CutToClipboard();
      if (SelLength() == 0) {
        if (caret_ >= length) return;
        caret_ += 1;
      }
      SetSelText("");
      modified_ = true;
      return;
    case VK_INSERT:
      if (ctrl) CopyToClipboard();
      else if (shift)
        PasteFromClipboard();
      return;
    default: return;
  }
}

void TCustomEdit::HandleChar(char Key) {
  switch (static_cast<unsigned char>(Key)) {
    case 3: return CopyToClipboard();  // Ctrl+C
    case 22: return PasteFromClipboard();  // Ctrl+V
    case 24: return CutToClipboard();  // Ctrl+X
    case VK_BACK:
      if (readOnly_) return;
      if (SelLength() == 0) {
        if (caret_ == 0) return;
        anchor_ = caret_ - 1;
      }
      SetSelText("");
      modified_ = true;
      return;
    default:
      if (static_cast<unsigned char>(Key) < 32 || readOnly_) return;
      InsertTyped(std::string(1, Key));
  }
}

void TCustomEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL; return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!Focused() && CanFocus()) SetFocus();
      MoveCaret(CharAtX(TWMMouse(Message).XPos), IsKeyDown(VK_SHIFT));
      selecting_ = true;
      break;
    case WM_MOUSEMOVE:
      if (selecting_) MoveCaret(CharAtX(TWMMouse(Message).XPos), true);
      break;
    case WM_LBUTTONUP: selecting_ = false; break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case CM_ENTER:
      if (autoSelect_ && !ControlState().Contains(csLButtonDown)) SelectAll();
      break;
    // The clipboard messages other windows send, as the system's edit answers them.
    case WM_CUT: return CutToClipboard();
    case WM_COPY: return CopyToClipboard();
    case WM_PASTE: return PasteFromClipboard();
    case WM_CLEAR:
      if (!readOnly_ && SelLength() > 0) {
        ClearSelection();
        modified_ = true;
      }
      return;
    case CM_TEXTCHANGED: {
      const int length = static_cast<int>(GetText().size());
      anchor_ = std::min(anchor_, length);
      caret_ = std::min(caret_, length);
      ScrollToCaret();
      Invalidate();
      Change();
      return;
    }
    default: break;
  }
  TCustomControl::WndProc(Message);
  // Key events saw the key first; one they swallowed arrives as 0.
  if (Message.Msg == WM_KEYDOWN && Message.WParam) HandleKey(static_cast<WORD>(Message.WParam));
  if (Message.Msg == WM_CHAR && Message.WParam) HandleChar(static_cast<char>(Message.WParam));
}

void TCustomEdit::Paint() {
  HDC dc = Canvas()->Handle();
  RECT r = ClientRect();
  const bool enabled = Enabled();
  FillRect(dc, &r, enabled ? Brush()->Handle() : GetSysColorBrush(COLOR_BTNFACE));
  SelectObject(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  const std::string text = GetText();
  const int y = kMargin;
  const int height = stdctrls::LineHeight(dc);
  const int x0 = kMargin - scroll_;
  if (!enabled) {
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    TextOutA(dc, x0, y, text.c_str(), static_cast<int>(text.size()));
    return;
  }
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  TextOutA(dc, x0, y, text.c_str(), static_cast<int>(text.size()));
  const bool focused = Focused();
  if (focused && SelLength() > 0) {
    const int from = x0 + TextX(SelStart()), to = x0 + TextX(SelStart() + SelLength());
    RECT sel{from, y, to, y + height};
    FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    const std::string part = SelText();
    TextOutA(dc, from, y, part.c_str(), static_cast<int>(part.size()));
  }
  if (focused) {
    RECT caret{x0 + TextX(caret_), y, x0 + TextX(caret_) + 1, y + height};
    FillRect(dc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
  }
}
