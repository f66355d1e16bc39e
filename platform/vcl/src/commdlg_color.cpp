// The colour dialog over ChooseColorA, its custom colours kept as "ColorA=RRGGBB" lines.
#include "vcl/commdlg.h"

namespace {

std::string CustomColorName(int index) { return std::string("Color") + static_cast<char>('A' + index); }

}  // namespace

TColorDialog::TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner), customColors_(new TStringList) {}

TColorDialog::~TColorDialog() { delete customColors_; }

bool TColorDialog::Execute() {
  COLORREF custom[16];
  for (int i = 0; i < 16; ++i) {
    const std::string value = customColors_->Values(CustomColorName(i));
    custom[i] = static_cast<COLORREF>(value.empty() ? clWhite : StrToIntDef("$" + value, clWhite)) & 0xFFFFFF;
  }
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = GetActiveWindow();
  cc.rgbResult = ColorToRGB(color_);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT;
  if (options_.Contains(cdFullOpen)) cc.Flags |= CC_FULLOPEN;
  if (options_.Contains(cdPreventFullOpen)) cc.Flags |= CC_PREVENTFULLOPEN;
  DoShow();
  const bool chosen = ChooseColorA(&cc) != FALSE;
  DoClose();
  if (!chosen) return false;
  color_ = static_cast<TColor>(cc.rgbResult);
  customColors_->Clear();
  for (int i = 0; i < 16; ++i) customColors_->Add(CustomColorName(i) + "=" + IntToHex(custom[i], 6));
  return true;
}
