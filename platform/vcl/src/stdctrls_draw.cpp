// Painting pieces of the classic standard controls.
#include "stdctrls_draw.h"

#include <algorithm>

namespace stdctrls {
namespace {

// Pixel maps of the glyphs: each letter is a system colour, blanks are left alone.
int ColorOfCode(char Code, int Interior) {
  switch (Code) {
    case 'S': return COLOR_BTNSHADOW;
    case 'D': return COLOR_3DDKSHADOW;
    case 'L': return COLOR_3DLIGHT;
    case 'H': return COLOR_BTNHIGHLIGHT;
    case 'W': return Interior;
    default: return -1;
  }
}

void DrawMap(HDC DC, int X, int Y, const char* const* Rows, int Count, int Interior) {
  for (int y = 0; y < Count; ++y)
    for (int x = 0; Rows[y][x]; ++x) {
      int color = ColorOfCode(Rows[y][x], Interior);
      if (color >= 0) SetPixelV(DC, X + x, Y + y, GetSysColor(color));
    }
}

constexpr const char* kRadio[12] = {"    SSSS    ", "  SSDDDDSS  ", " SDDWWWWDDH ", " SDWWWWWWLH ",
                                    "SDWWWWWWWWLH", "SDWWWWWWWWLH", "SDWWWWWWWWLH", "SDWWWWWWWWLH",
                                    " SDWWWWWWLH ", " HLWWWWWWLH ", "  HHLLLLHH  ", "    HHHH    "};
constexpr const char* kRadioDot[4] = {" XX ", "XXXX", "XXXX", " XX "};
constexpr const char* kCheckMark[7] = {"      X", "     XX", "X   XXX", "XX XXX ", "XXXXX  ", " XXX   ", "  X    "};

}  // namespace

int LineHeight(HDC DC) {
  SIZE s{};
  GetTextExtentPoint32A(DC, "Wg", 2, &s);
  return s.cy;
}

void DrawControlText(HDC DC, const std::string& Text, RECT Rect, UINT Format, bool Enabled, COLORREF Color) {
  int oldMode = SetBkMode(DC, TRANSPARENT);
  if (Enabled) {
    COLORREF old = SetTextColor(DC, Color);
    DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &Rect, Format);
    SetTextColor(DC, old);
  } else {
    RECT shifted{Rect.left + 1, Rect.top + 1, Rect.right + 1, Rect.bottom + 1};
    COLORREF old = SetTextColor(DC, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &shifted, Format);
    SetTextColor(DC, GetSysColor(COLOR_BTNSHADOW));
    DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &Rect, Format);
    SetTextColor(DC, old);
  }
  SetBkMode(DC, oldMode);
}

void DrawPushFrame(HDC DC, RECT& Rect, bool Pressed, bool IsDefault) {
  if (IsDefault || Pressed) {
    FrameRect(DC, &Rect, GetSysColorBrush(COLOR_WINDOWFRAME));
    Rect = {Rect.left + 1, Rect.top + 1, Rect.right - 1, Rect.bottom - 1};
  }
  if (Pressed) {
    FrameRect(DC, &Rect, GetSysColorBrush(COLOR_BTNSHADOW));
    Rect = {Rect.left + 1, Rect.top + 1, Rect.right - 1, Rect.bottom - 1};
  } else {
    DrawEdge(DC, &Rect, EDGE_RAISED, BF_RECT | BF_ADJUST);
  }
}

TCheckLayout LayoutCheck(const RECT& Client, TAlignment Alignment) {
  const int top = Client.top + (Client.bottom - Client.top - kGlyphSize) / 2;
  TCheckLayout l{};
  if (Alignment == taLeftJustify) {
    l.Glyph = {Client.right - kGlyphSize, top, Client.right, top + kGlyphSize};
    l.Text = {Client.left, Client.top, l.Glyph.left - 4, Client.bottom};
  } else {
    l.Glyph = {Client.left, top, Client.left + kGlyphSize, top + kGlyphSize};
    l.Text = {l.Glyph.right + 4, Client.top, Client.right, Client.bottom};
  }
  return l;
}

void DrawCheckGlyph(HDC DC, const RECT& Glyph, TCheckBoxState State, bool Enabled, bool Pushed) {
  RECT r = Glyph;
  DrawEdge(DC, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  const bool faceInside = Pushed || !Enabled || State == cbGrayed;
  FillRect(DC, &r, GetSysColorBrush(faceInside ? COLOR_BTNFACE : COLOR_WINDOW));
  if (State == cbUnchecked) return;
  const COLORREF mark = GetSysColor(Enabled && State == cbChecked ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 7; ++x)
      if (kCheckMark[y][x] == 'X') SetPixelV(DC, r.left + 1 + x, r.top + 1 + y, mark);
}

void DrawRadioGlyph(HDC DC, const RECT& Glyph, bool Checked, bool Enabled, bool Pushed) {
  const int interior = Pushed || !Enabled ? COLOR_BTNFACE : COLOR_WINDOW;
  DrawMap(DC, Glyph.left, Glyph.top, kRadio, 12, interior);
  if (!Checked) return;
  const COLORREF dot = GetSysColor(Enabled ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      if (kRadioDot[y][x] == 'X') SetPixelV(DC, Glyph.left + 4 + x, Glyph.top + 4 + y, dot);
}

void DrawCheckCaption(HDC DC, const std::string& Caption, const RECT& Text, bool Enabled, bool Focused,
                      COLORREF Color) {
  RECT measured = Text;
  DrawTextA(DC, Caption.c_str(), static_cast<int>(Caption.size()), &measured, DT_SINGLELINE | DT_CALCRECT);
  const int height = measured.bottom - measured.top;
  RECT r{Text.left, Text.top + (Text.bottom - Text.top - height) / 2, Text.right, 0};
  r.bottom = r.top + height;
  DrawControlText(DC, Caption, r, DT_SINGLELINE | DT_LEFT, Enabled, Color);
  if (Focused && !Caption.empty()) {
    RECT focus{r.left - 1, r.top - 1, std::min<LONG>(Text.right, r.left + (measured.right - measured.left) + 1),
               r.bottom + 1};
    DrawFocusRect(DC, &focus);
  }
}

}  // namespace stdctrls

namespace stdctrls {
int TextHeightOf(TFont* Font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font->Handle());
  SIZE s{};
  GetTextExtentPoint32A(dc, "0", 1, &s);
  SelectObject(dc, old);
  DeleteDC(dc);
  return s.cy;
}
}  // namespace stdctrls
