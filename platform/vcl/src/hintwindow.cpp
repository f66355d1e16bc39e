// THintWindow: a topmost popup with a thin black border, the hint colour and the hint font.
#include "vcl/hintwindow.h"

#include <algorithm>

#include "vcl/forms.h"

namespace {

// Between the border and the text.
constexpr int kPadX = 2;
constexpr int kPadY = 1;
constexpr int kBorder = 1;
constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;

}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
  SetColor(Application ? Application->HintColor() : clInfoBk);
  SetFont(Screen->HintFont());
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void THintWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCHITTEST:
      // The mouse goes through to whatever lies beneath.
      Message.Result = HTTRANSPARENT;
      return;
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; return;
    default: TCustomControl::WndProc(Message);
  }
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& AHint) {
  const int padding = 2 * (kBorder + kPadX);
  RECT r{0, 0, std::max(MaxWidth - padding, 1), 0};
  // Measured without a window: the hint is sized before it is shown.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  DrawTextA(dc, AHint.c_str(), static_cast<int>(AHint.size()), &r, kTextFormat | DT_CALCRECT);
  SelectObject(dc, old);
  DeleteDC(dc);
  return {0, 0, r.right + padding, r.bottom + 2 * (kBorder + kPadY)};
}

void THintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  SetCaption(AHint);
  const int width = Rect.right - Rect.left, height = Rect.bottom - Rect.top;
  const int left = std::max(0, std::min(Rect.left, Screen->Width() - width));
  const int top = std::max(0, std::min(Rect.top, Screen->Height() - height));
  SetBounds(left, top, width, height);
  SetWindowPos(Handle(), HWND_TOPMOST, left, top, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::Paint() {
  TRect r = ClientRect();
  r.left += kPadX;
  r.top += kPadY;
  r.right -= kPadX;
  r.bottom -= kPadY;
  const std::string text = Caption();
  HDC dc = Canvas()->Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  SelectObject(dc, Font()->Handle());
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, kTextFormat);
}

const TClassInfo& THintWindow::StaticClassInfo() {
  static const TClassInfo info("THintWindow", &TCustomControl::StaticClassInfo());
  return info;
}
