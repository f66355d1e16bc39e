// The published properties of the file controls.
#include "vcl/filectrl.h"

const TClassInfo& TFileListBox::StaticClassInfo() {
  using C = TFileListBox;
  static const TClassInfo info(
      "TFileListBox", &TCustomListBox::StaticClassInfo(),
      {StrProperty<C>("Directory", &C::Directory, &C::SetDirectory), StrProperty<C>("Mask", &C::Mask, &C::SetMask),
       OrdProperty<C>("ShowGlyphs", TypeInfo_Boolean, &C::ShowGlyphs, &C::SetShowGlyphs, false),
       ObjectProperty<C, TEdit>("FileEdit", &C::FileEdit, &C::SetFileEdit),
       EventProperty<C>("OnChange", TypeInfo_TNotifyEvent, &C::OnChange)},
      {}, CreateComponent<TFileListBox>);
  return info;
}

const TClassInfo& TDirectoryListBox::StaticClassInfo() {
  using C = TDirectoryListBox;
  static const TClassInfo info("TDirectoryListBox", &TCustomListBox::StaticClassInfo(),
                               {ObjectProperty<C, TLabel>("DirLabel", &C::DirLabel, &C::SetDirLabel),
                                ObjectProperty<C, TFileListBox>("FileList", &C::FileList, &C::SetFileList),
                                EventProperty<C>("OnChange", TypeInfo_TNotifyEvent, &C::OnChange)},
                               {}, CreateComponent<TDirectoryListBox>);
  return info;
}

const TTypeInfo TypeInfo_TTextCase{"TTextCase", tkEnumeration, {"tcLowerCase", "tcUpperCase"}};

const TClassInfo& TDriveComboBox::StaticClassInfo() {
  using C = TDriveComboBox;
  static const TClassInfo info(
      "TDriveComboBox", &TCustomComboBox::StaticClassInfo(),
      {ObjectProperty<C, TDirectoryListBox>("DirList", &C::DirList, &C::SetDirList),
       OrdProperty<C>("TextCase", TypeInfo_TTextCase, &C::TextCase, &C::SetTextCase, tcLowerCase)},
      {}, CreateComponent<TDriveComboBox>);
  return info;
}

const TClassInfo& TFilterComboBox::StaticClassInfo() {
  using C = TFilterComboBox;
  static const TClassInfo info("TFilterComboBox", &TCustomComboBox::StaticClassInfo(),
                               {StrProperty<C>("Filter", &C::Filter, &C::SetFilter),
                                ObjectProperty<C, TFileListBox>("FileList", &C::FileList, &C::SetFileList)},
                               {}, CreateComponent<TFilterComboBox>);
  return info;
}

[[maybe_unused]] static const bool fileControlsRegistered =
    (RegisterClass(TFileListBox::StaticClassInfo()), RegisterClass(TDirectoryListBox::StaticClassInfo()),
     RegisterClass(TDriveComboBox::StaticClassInfo()), RegisterClass(TFilterComboBox::StaticClassInfo()), true);
