// The published properties of the open, save and colour dialogs.
#include "vcl/commdlg.h"

const TTypeInfo TypeInfo_TOpenOptions{
    "TOpenOptions",
    tkSet,
    {"ofReadOnly",     "ofOverwritePrompt",  "ofHideReadOnly",       "ofNoChangeDir",         "ofShowHelp",
     "ofNoValidate",   "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",       "ofFileMustExist",
     "ofCreatePrompt", "ofShareAware",       "ofNoReadOnlyReturn",   "ofNoTestFileCreate",    "ofNoNetworkButton",
     "ofNoLongNames",  "ofOldStyleDialog",   "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing"}};

const TClassInfo& TCommonDialog::StaticClassInfo() {
  using C = TCommonDialog;
  static const TClassInfo info("TCommonDialog", &TComponent::StaticClassInfo(),
                               {EventProperty<C>("OnShow", TypeInfo_TNotifyEvent, &C::OnShow),
                                EventProperty<C>("OnClose", TypeInfo_TNotifyEvent, &C::OnClose)});
  return info;
}

const TClassInfo& TOpenDialog::StaticClassInfo() {
  using C = TOpenDialog;
  static const TClassInfo info(
      "TOpenDialog", &TCommonDialog::StaticClassInfo(),
      {StrProperty<C>("DefaultExt", &C::DefaultExt, &C::SetDefaultExt),
       StrProperty<C>("FileName", &C::FileName, &C::SetFileName), StrProperty<C>("Filter", &C::Filter, &C::SetFilter),
       OrdProperty<C>("FilterIndex", TypeInfo_Integer, &C::FilterIndex, &C::SetFilterIndex, 1),
       StrProperty<C>("InitialDir", &C::InitialDir, &C::SetInitialDir),
       OrdProperty<C>("Options", TypeInfo_TOpenOptions, &C::Options, &C::SetOptions,
                      TOpenOptions{ofHideReadOnly}.Bits()),
       StrProperty<C>("Title", &C::Title, &C::SetTitle),
       EventProperty<C>("OnCanClose", TypeInfo_TCloseQueryEvent, &C::OnCanClose),
       EventProperty<C>("OnFolderChange", TypeInfo_TNotifyEvent, &C::OnFolderChange),
       EventProperty<C>("OnSelectionChange", TypeInfo_TNotifyEvent, &C::OnSelectionChange),
       EventProperty<C>("OnTypeChange", TypeInfo_TNotifyEvent, &C::OnTypeChange)},
      {}, CreateComponent<TOpenDialog>);
  return info;
}

const TClassInfo& TSaveDialog::StaticClassInfo() {
  static const TClassInfo info("TSaveDialog", &TOpenDialog::StaticClassInfo(), {}, {}, CreateComponent<TSaveDialog>);
  return info;
}

const TTypeInfo TypeInfo_TColorDialogOptions{
    "TColorDialogOptions", tkSet, {"cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor", "cdAnyColor"}};

const TClassInfo& TColorDialog::StaticClassInfo() {
  using C = TColorDialog;
  static const TClassInfo info(
      "TColorDialog", &TCommonDialog::StaticClassInfo(),
      {OrdProperty<C>("Color", TypeInfo_TColor, &C::Color, &C::SetColor, clBlack),
       ObjectProperty<C, TStrings>("CustomColors", &C::CustomColors, &C::SetCustomColors),
       OrdProperty<C>("Options", TypeInfo_TColorDialogOptions, &C::Options, &C::SetOptions, 0)},
      {}, CreateComponent<TColorDialog>);
  return info;
}

[[maybe_unused]] static const bool commdlgRegistered = (RegisterClass(TOpenDialog::StaticClassInfo()),
                                                        RegisterClass(TSaveDialog::StaticClassInfo()),
                                                        RegisterClass(TColorDialog::StaticClassInfo()), true);
