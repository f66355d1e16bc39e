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

const TTypeInfo TypeInfo_TScrollBarKind{"TScrollBarKind", tkEnumeration, {"sbHorizontal", "sbVertical"}};
const TTypeInfo TypeInfo_TScrollEvent{"TScrollEvent", tkMethod};
const TTypeInfo TypeInfo_TListBoxStyle{"TListBoxStyle", tkEnumeration, {"lbStandard", "lbOwnerDrawFixed"}};
const TTypeInfo TypeInfo_TDrawItemEvent{"TDrawItemEvent", tkMethod};
const TTypeInfo TypeInfo_TComboBoxStyle{
    "TComboBoxStyle", tkEnumeration, {"csDropDown", "csDropDownList", "csOwnerDrawFixed"}};

const TClassInfo& TScrollBar::StaticClassInfo() {
  using C = TScrollBar;
  static const TClassInfo info("TScrollBar", &TCustomControl::StaticClassInfo(),
                               {OrdProperty<C>("Kind", TypeInfo_TScrollBarKind, &C::Kind, &C::SetKind, sbHorizontal),
                                OrdProperty<C>("Min", TypeInfo_Integer, &C::Min, &C::SetMin, 0),
                                OrdProperty<C>("Max", TypeInfo_Integer, &C::Max, &C::SetMax, 100),
                                OrdProperty<C>("Position", TypeInfo_Integer, &C::Position, &C::SetPosition, 0),
                                OrdProperty<C>("SmallChange", TypeInfo_Integer, &C::SmallChange, &C::SetSmallChange, 1),
                                OrdProperty<C>("LargeChange", TypeInfo_Integer, &C::LargeChange, &C::SetLargeChange, 1),
                                EventProperty<C>("OnChange", TypeInfo_TNotifyEvent, &C::OnChange),
                                EventProperty<C>("OnScroll", TypeInfo_TScrollEvent, &C::OnScroll)},
                               {}, CreateComponent<TScrollBar>);
  return info;
}

const TClassInfo& TCustomListBox::StaticClassInfo() {
  using C = TCustomListBox;
  static const TClassInfo info(
      "TCustomListBox", &TCustomControl::StaticClassInfo(),
      {ObjectProperty<C, TStrings>("Items", &C::Items, &C::SetItems),
       OrdProperty<C>("ItemIndex", TypeInfo_Integer, &C::ItemIndex, &C::SetItemIndex, -1),
       OrdProperty<C>("Sorted", TypeInfo_Boolean, &C::Sorted, &C::SetSorted, false),
       OrdProperty<C>("Style", TypeInfo_TListBoxStyle, &C::Style, &C::SetStyle, lbStandard),
       OrdProperty<C>("ItemHeight", TypeInfo_Integer, &C::ItemHeight, &C::SetItemHeight),
       OrdProperty<C>("BorderStyle", TypeInfo_TFormBorderStyle, &C::BorderStyle, &C::SetBorderStyle, bsSingle),
       EventProperty<C>("OnDrawItem", TypeInfo_TDrawItemEvent, &C::OnDrawItem)});
  return info;
}

const TClassInfo& TListBox::StaticClassInfo() {
  static const TClassInfo info("TListBox", &TCustomListBox::StaticClassInfo(), {}, {}, CreateComponent<TListBox>);
  return info;
}

const TClassInfo& TCustomComboBox::StaticClassInfo() {
  using C = TCustomComboBox;
  static const TClassInfo info(
      "TCustomComboBox", &TCustomControl::StaticClassInfo(),
      {OrdProperty<C>("Style", TypeInfo_TComboBoxStyle, &C::Style, &C::SetStyle, csDropDown),
       ObjectProperty<C, TStrings>("Items", &C::Items, &C::SetItems),
       OrdProperty<C>("ItemIndex", TypeInfo_Integer, &C::ItemIndex, &C::SetItemIndex, -1),
       OrdProperty<C>("Sorted", TypeInfo_Boolean, &C::Sorted, &C::SetSorted, false),
       OrdProperty<C>("ItemHeight", TypeInfo_Integer, &C::ItemHeight, &C::SetItemHeight),
       OrdProperty<C>("DropDownCount", TypeInfo_Integer, &C::DropDownCount, &C::SetDropDownCount, 8),
       EventProperty<C>("OnChange", TypeInfo_TNotifyEvent, &C::OnChange),
       EventProperty<C>("OnDropDown", TypeInfo_TNotifyEvent, &C::OnDropDown),
       EventProperty<C>("OnDrawItem", TypeInfo_TDrawItemEvent, &C::OnDrawItem)});
  return info;
}

const TClassInfo& TComboBox::StaticClassInfo() {
  static const TClassInfo info("TComboBox", &TCustomComboBox::StaticClassInfo(), {}, {}, CreateComponent<TComboBox>);
  return info;
}

[[maybe_unused]] static const bool stdctrlsRegistered =
    (RegisterClass(TLabel::StaticClassInfo()), RegisterClass(TGroupBox::StaticClassInfo()),
     RegisterClass(TButton::StaticClassInfo()), RegisterClass(TCheckBox::StaticClassInfo()),
     RegisterClass(TRadioButton::StaticClassInfo()), RegisterClass(TEdit::StaticClassInfo()),
     RegisterClass(TScrollBar::StaticClassInfo()), RegisterClass(TListBox::StaticClassInfo()),
     RegisterClass(TComboBox::StaticClassInfo()), true);
