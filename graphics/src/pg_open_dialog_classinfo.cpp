// The published properties of the open dialog with picture preview.
#include "graphics/pg_image.h"
#include "graphics/pg_open_dialog.h"

const TClassInfo& TPGOpenDialog::StaticClassInfo() {
  using C = TPGOpenDialog;
  static const TClassInfo info(
      "TPGOpenDialog", &TOpenDialog::StaticClassInfo(),
      {OrdProperty<C>("StretchMode", TypeInfo_TStretchMode, &C::StretchMode, &C::SetStretchMode, smPrecise),
       OrdProperty<C>("Options", TypeInfo_TOpenOptions, &C::Options, &C::SetOptions,
                      TOpenOptions{ofHideReadOnly, ofShareAware}.Bits()),
       OrdProperty<C>("UseDefaultFilter", TypeInfo_Boolean, &C::UseDefaultFilter, &C::SetUseDefaultFilter, true),
       OrdProperty<C>("ProgressClockBkColor", TypeInfo_TColor, &C::ProgressClockBkColor, &C::SetProgressClockBkColor,
                      clBtnFace),
       OrdProperty<C>("ProgressClockLineColor", TypeInfo_TColor, &C::ProgressClockLineColor,
                      &C::SetProgressClockLineColor, clBtnShadow),
       OrdProperty<C>("ProgressClockVisible", TypeInfo_Boolean, &C::ProgressClockVisible, &C::SetProgressClockVisible,
                      true),
       OrdProperty<C>("Palette8BitSys24BitGraphic", TypeInfo_TPalette8BitSys24BitGraphic,
                      &C::Palette8BitSys24BitGraphic, &C::SetPalette8BitSys24BitGraphic, pOptimized252Sys16),
       OrdProperty<C>("Palette8BitSys8BitGraphic", TypeInfo_TPalette8BitSys8BitGraphic, &C::Palette8BitSys8BitGraphic,
                      &C::SetPalette8BitSys8BitGraphic, pOptimized252Sys16),
       OrdProperty<C>("ShowInfo", TypeInfo_Boolean, &C::ShowInfo, &C::SetShowInfo, true)},
      {}, CreateComponent<TPGOpenDialog>);
  return info;
}

[[maybe_unused]] static const bool pgOpenDialogRegistered = (RegisterClass(TPGOpenDialog::StaticClassInfo()), true);
