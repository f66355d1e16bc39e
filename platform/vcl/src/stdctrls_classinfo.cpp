// The published properties of the standard controls, and their registration for form descriptions.
#include "vcl/stdctrls.h"

const TTypeInfo TypeInfo_TAlignment{"TAlignment", tkEnumeration, {"taLeftJustify", "taRightJustify", "taCenter"}};
const TTypeInfo TypeInfo_TTextLayout{"TTextLayout", tkEnumeration, {"tlTop", "tlCenter", "tlBottom"}};
const TTypeInfo TypeInfo_TCheckBoxState{"TCheckBoxState", tkEnumeration, {"cbUnchecked", "cbChecked", "cbGrayed"}};

const TClassInfo& TCustomLabel::StaticClassInfo() {
  using C = TCustomLabel;
  static const TClassInfo info(
      "TCustomLabel", &TGraphicControl::StaticClassInfo(),
      {OrdProperty<C>("Alignment", TypeInfo_TAlignment, &C::Alignment, &C::SetAlignment, taLeftJustify),
       OrdProperty<C>("Layout", TypeInfo_TTextLayout, &C::Layout, &C::SetLayout, tlTop),
       OrdProperty<C>("AutoSize", TypeInfo_Boolean, &C::AutoSize, &C::SetAutoSize, true),
       OrdProperty<C>("WordWrap", TypeInfo_Boolean, &C::WordWrap, &C::SetWordWrap, false),
       OrdProperty<C>("Transparent", TypeInfo_Boolean, &C::Transparent, &C::SetTransparent, false),
       OrdProperty<C>("ShowAccelChar", TypeInfo_Boolean, &C::ShowAccelChar, &C::SetShowAccelChar, true),
       ObjectProperty<C, TWinControl>("FocusControl", &C::FocusControl, &C::SetFocusControl)});
  return info;
}

const TClassInfo& TLabel::StaticClassInfo() {
  static const TClassInfo info("TLabel", &TCustomLabel::StaticClassInfo(), {}, {}, CreateComponent<TLabel>);
  return info;
}

const TClassInfo& TCustomGroupBox::StaticClassInfo() {
  static const TClassInfo info("TCustomGroupBox", &TCustomControl::StaticClassInfo());
  return info;
}

const TClassInfo& TGroupBox::StaticClassInfo() {
  static const TClassInfo info("TGroupBox", &TCustomGroupBox::StaticClassInfo(), {}, {}, CreateComponent<TGroupBox>);
  return info;
}

const TClassInfo& TButtonControl::StaticClassInfo() {
  static const TClassInfo info("TButtonControl", &TCustomControl::StaticClassInfo());
  return info;
}

const TClassInfo& TButton::StaticClassInfo() {
  using C = TButton;
  static const TClassInfo info(
      "TButton", &TButtonControl::StaticClassInfo(),
      {OrdProperty<C>("Default", TypeInfo_Boolean, &C::Default, &C::SetDefault, false),
       OrdProperty<C>("Cancel", TypeInfo_Boolean, &C::Cancel, &C::SetCancel, false),
       OrdProperty<C>("ModalResult", TypeInfo_Integer, &C::ModalResult, &C::SetModalResult, mrNone)},
      {}, CreateComponent<TButton>);
  return info;
}

const TClassInfo& TCustomCheckBox::StaticClassInfo() {
  using C = TCustomCheckBox;
  static const TClassInfo info(
      "TCustomCheckBox", &TButtonControl::StaticClassInfo(),
      {OrdProperty<C>("Alignment", TypeInfo_TAlignment, &C::Alignment, &C::SetAlignment, taRightJustify),
       OrdProperty<C>("AllowGrayed", TypeInfo_Boolean, &C::AllowGrayed, &C::SetAllowGrayed, false),
       OrdProperty<C>("State", TypeInfo_TCheckBoxState, &C::State, &C::SetState, cbUnchecked),
       OrdProperty<C>("Checked", TypeInfo_Boolean, &C::Checked, &C::SetCheckedValue, false)});
  return info;
}

const TClassInfo& TCheckBox::StaticClassInfo() {
  static const TClassInfo info("TCheckBox", &TCustomCheckBox::StaticClassInfo(), {}, {}, CreateComponent<TCheckBox>);
  return info;
}

const TClassInfo& TRadioButton::StaticClassInfo() {
  using C = TRadioButton;
  static const TClassInfo info(
      "TRadioButton", &TButtonControl::StaticClassInfo(),
      {OrdProperty<C>("Alignment", TypeInfo_TAlignment, &C::Alignment, &C::SetAlignment, taRightJustify),
       OrdProperty<C>("Checked", TypeInfo_Boolean, &C::Checked, &C::SetCheckedValue, false)},
      {}, CreateComponent<TRadioButton>);
  return info;
}

const TClassInfo& TCustomEdit::StaticClassInfo() {
  using C = TCustomEdit;
  static const TClassInfo info(
      "TCustomEdit", &TCustomControl::StaticClassInfo(),
      {OrdProperty<C>("MaxLength", TypeInfo_Integer, &C::MaxLength, &C::SetMaxLength, 0),
       OrdProperty<C>("ReadOnly", TypeInfo_Boolean, &C::ReadOnly, &C::SetReadOnly, false),
       OrdProperty<C>("AutoSelect", TypeInfo_Boolean, &C::AutoSelect, &C::SetAutoSelect, true),
       OrdProperty<C>("BorderStyle", TypeInfo_TFormBorderStyle, &C::BorderStyle, &C::SetBorderStyle, bsSingle),
       EventProperty<C>("OnChange", TypeInfo_TNotifyEvent, &C::OnChange)});
  return info;
}

const TClassInfo& TEdit::StaticClassInfo() {
  static const TClassInfo info("TEdit", &TCustomEdit::StaticClassInfo(), {}, {}, CreateComponent<TEdit>);
  return info;
}

[[maybe_unused]] static const bool stdctrlsRegistered =
    (RegisterClass(TLabel::StaticClassInfo()), RegisterClass(TGroupBox::StaticClassInfo()),
     RegisterClass(TButton::StaticClassInfo()), RegisterClass(TCheckBox::StaticClassInfo()),
     RegisterClass(TRadioButton::StaticClassInfo()), RegisterClass(TEdit::StaticClassInfo()), true);
