// Colour values: system colours, names for the form reader and the settings store.
#include <iterator>

#include "vcl/graphics.h"
#include "win32/syscolor.h"

namespace {

struct TColorName {
  TColor Value;
  const char* Name;
};

constexpr TColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

bool RegisterColorNames() {
  RegisterIntegerConsts(TypeInfo_TColor, IdentToColor, ColorToIdent);
  return true;
}

}  // namespace

const TTypeInfo TypeInfo_TColor{"TColor", tkInteger};
// Here, beside the type, so that every program that names TColor has the names registered.
[[maybe_unused]] static const bool colorNamesRegistered = RegisterColorNames();

COLORREF ColorToRGB(TColor Color) {
  if (Color < 0) return GetSysColor(Color & 0xFF);
  return static_cast<COLORREF>(Color);
}

bool IdentToColor(const std::string& Ident, std::int64_t& Color) {
  for (const TColorName& entry : kColorNames)
    if (SameText(entry.Name, Ident)) {
      Color = entry.Value;
      return true;
    }
  return false;
}

bool ColorToIdent(std::int64_t Color, std::string& Ident) {
  for (const TColorName& entry : kColorNames)
    if (entry.Value == Color) {
      Ident = entry.Name;
      return true;
    }
  return false;
}

std::string ColorToString(TColor Color) {
  std::string name;
  if (ColorToIdent(Color, name)) return name;
  return "$" + IntToHex(static_cast<std::uint32_t>(Color), 8);
}

TColor StringToColor(const std::string& S) {
  std::int64_t value = 0;
  if (IdentToColor(S, value)) return static_cast<TColor>(value);
  return static_cast<TColor>(StrToInt(S));
}
