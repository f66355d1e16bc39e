#pragma once
// The classic look's pieces that several standard controls draw: texts that emboss when disabled,
// push-button frames, the check box and radio button glyphs.
#include <string>

#include "vcl/stdctrls.h"

namespace stdctrls {

// Text in the DC's font; disabled text is embossed (highlight below right, shadow on top).
void DrawControlText(HDC DC, const std::string& Text, RECT Rect, UINT Format, bool Enabled, COLORREF Color);
// The height of a line of the DC's font.
int LineHeight(HDC DC);
// A push button's frame; Rect becomes the face inside it.
void DrawPushFrame(HDC DC, RECT& Rect, bool Pressed, bool IsDefault);

// Check boxes and radio buttons: the glyph's square and the caption's place beside it.
constexpr int kGlyphSize = 13;
struct TCheckLayout {
  RECT Glyph;
  RECT Text;
};
TCheckLayout LayoutCheck(const RECT& Client, TAlignment Alignment);
void DrawCheckGlyph(HDC DC, const RECT& Glyph, TCheckBoxState State, bool Enabled, bool Pushed);
void DrawRadioGlyph(HDC DC, const RECT& Glyph, bool Checked, bool Enabled, bool Pushed);
// The caption, and its focus rectangle when focused.
void DrawCheckCaption(HDC DC, const std::string& Caption, const RECT& Text, bool Enabled, bool Focused, COLORREF Color);

// The class library's state of an owner-drawn item, from the system's.
inline TOwnerDrawState OwnerDrawStateOf(UINT ItemState) {
  TOwnerDrawState state;
  if (ItemState & ODS_SELECTED) state.Include(odSelected);
  if (ItemState & ODS_FOCUS) state.Include(odFocused);
  if (ItemState & ODS_DISABLED) state.Include(odDisabled);
  if (ItemState & ODS_COMBOBOXEDIT) state.Include(odComboBoxEdit);
  return state;
}

}  // namespace stdctrls

namespace stdctrls {
// The height of the text "0" in the font, measured without any window.
int TextHeightOf(TFont* Font);
}  // namespace stdctrls
