// TextBox: a one-line edit box painted by the run time.
#include "vbrun/controls.h"

namespace vb {

TextBox::TextBox(TComponent* owner) : TCustomControl(owner) {
  SetColor(clWindow);
  SetTabStop(true);
}

void TextBox::SetAlignment(TAlignment value) {
  alignment_ = value;
  Invalidate();
}

void TextBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS; return;
    case WM_LBUTTONDOWN:
      if (CanFocus()) SetFocus();
      break;
    case WM_CHAR: {
      const char key = static_cast<char>(Message.WParam);
      std::string text = GetText();
      if (locked_) return;
      if (key == '\b') {
        if (!text.empty()) text.pop_back();
      } else if (static_cast<unsigned char>(key) >= ' ') {
        if (maxLength_ > 0 && static_cast<int>(text.size()) >= maxLength_) return;
        text.push_back(key);
      } else {
        break;
      }
      SetText(text);
      Invalidate();
      return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
  }
  TCustomControl::WndProc(Message);
}

void TextBox::Paint() {
  TRect r = ClientRect();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(r);
  RECT edge = r;
  DrawEdge(Canvas()->Handle(), &edge, EDGE_SUNKEN, BF_RECT);
  Canvas()->SetFont(Font());
  const std::string text = GetText();
  const int width = Canvas()->TextWidth(text);
  const int x = alignment_ == taCenter ? (r.right - width) / 2 : alignment_ == taRightJustify ? r.right - 4 - width : 4;
  const int y = (r.bottom - Canvas()->TextHeight("Wg")) / 2;
  SetBkMode(Canvas()->Handle(), TRANSPARENT);
  Canvas()->TextOut(x, y, text);
  if (Focused()) {
    Canvas()->Pen()->SetColor(clWindowText);
    Canvas()->MoveTo(x + width + 1, y);
    Canvas()->LineTo(x + width + 1, y + Canvas()->TextHeight("Wg"));
  }
}

}  // namespace vb
