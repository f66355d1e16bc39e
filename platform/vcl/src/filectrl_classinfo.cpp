// The published properties of the file controls.
#include "vcl/filectrl.h"

const TClassInfo& TFileListBox::StaticClassInfo() {
  using C = TFileListBox;
  static const TClassInfo info(
      "TFileListBox", &TCustomListBox::StaticClassInfo(),
      {StrProperty<C>("Directory", &C::Directory, &C::SetDirectory),
       StrProperty<C>("Mask", &C::Mask, &C::SetMask),
       OrdProperty<C>("ShowGlyphs", TypeInfo_Boolean, &C::ShowGlyphs, &C::SetShowGlyphs, false),
       ObjectProperty<C, TEdit>("FileEdit", &C::FileEdit, &C::SetFileEdit)},
      {}, CreateComponent<TFileListBox>);
  return info;
}

[[maybe_unused]] static const bool fileListClassRegistered = (RegisterClass(TFileListBox::StaticClassInfo()), true);
