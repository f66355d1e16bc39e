// The published properties of panels, bevels, radio groups, images and paint boxes.
#include "vcl/extctrls.h"

const TTypeInfo TypeInfo_TPanelBevel{"TPanelBevel", tkEnumeration, {"bvNone", "bvLowered", "bvRaised"}};
const TTypeInfo TypeInfo_TBevelStyle{"TBevelStyle", tkEnumeration, {"bsLowered", "bsRaised"}};
const TTypeInfo TypeInfo_TBevelShape{
    "TBevelShape",
    tkEnumeration,
    {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"}};

const TClassInfo& TCustomPanel::StaticClassInfo() {
  using C = TCustomPanel;
  static const TClassInfo info(
      "TCustomPanel", &TCustomControl::StaticClassInfo(),
      {OrdProperty<C>("BevelInner", TypeInfo_TPanelBevel, &C::BevelInner, &C::SetBevelInner, bvNone),
       OrdProperty<C>("BevelOuter", TypeInfo_TPanelBevel, &C::BevelOuter, &C::SetBevelOuter, bvRaised),
       OrdProperty<C>("BevelWidth", TypeInfo_Integer, &C::BevelWidth, &C::SetBevelWidth, 1),
       OrdProperty<C>("BorderWidth", TypeInfo_Integer, &C::BorderWidth, &C::SetBorderWidth, 0),
       OrdProperty<C>("BorderStyle", TypeInfo_TFormBorderStyle, &C::BorderStyle, &C::SetBorderStyle, bsNone),
       OrdProperty<C>("Alignment", TypeInfo_TAlignment, &C::Alignment, &C::SetAlignment, taCenter)});
  return info;
}

const TClassInfo& TPanel::StaticClassInfo() {
  static const TClassInfo info("TPanel", &TCustomPanel::StaticClassInfo(), {}, {}, CreateComponent<TPanel>);
  return info;
}

const TClassInfo& TBevel::StaticClassInfo() {
  using C = TBevel;
  static const TClassInfo info("TBevel", &TGraphicControl::StaticClassInfo(),
                               {OrdProperty<C>("Shape", TypeInfo_TBevelShape, &C::Shape, &C::SetShape, bsBox),
                                OrdProperty<C>("Style", TypeInfo_TBevelStyle, &C::Style, &C::SetStyle, bsLowered)},
                               {}, CreateComponent<TBevel>);
  return info;
}

const TClassInfo& TCustomRadioGroup::StaticClassInfo() {
  using C = TCustomRadioGroup;
  static const TClassInfo info("TCustomRadioGroup", &TCustomGroupBox::StaticClassInfo(),
                               {ObjectProperty<C, TStrings>("Items", &C::Items, &C::SetItems),
                                OrdProperty<C>("ItemIndex", TypeInfo_Integer, &C::ItemIndex, &C::SetItemIndex, -1),
                                OrdProperty<C>("Columns", TypeInfo_Integer, &C::Columns, &C::SetColumns, 1)});
  return info;
}

const TClassInfo& TRadioGroup::StaticClassInfo() {
  static const TClassInfo info("TRadioGroup", &TCustomRadioGroup::StaticClassInfo(), {}, {},
                               CreateComponent<TRadioGroup>);
  return info;
}

const TClassInfo& TImage::StaticClassInfo() {
  using C = TImage;
  static const TClassInfo info(
      "TImage", &TGraphicControl::StaticClassInfo(),
      {ObjectProperty<C, TPicture>("Picture", &C::Picture, &C::SetPicture),
       OrdProperty<C>("Stretch", TypeInfo_Boolean, &C::Stretch, &C::SetStretch, false),
       OrdProperty<C>("Center", TypeInfo_Boolean, &C::Center, &C::SetCenter, false),
       OrdProperty<C>("Transparent", TypeInfo_Boolean, &C::Transparent, &C::SetTransparent, false),
       OrdProperty<C>("AutoSize", TypeInfo_Boolean, &C::AutoSize, &C::SetAutoSize, false)},
      {}, CreateComponent<TImage>);
  return info;
}

const TClassInfo& TPaintBox::StaticClassInfo() {
  using C = TPaintBox;
  static const TClassInfo info("TPaintBox", &TGraphicControl::StaticClassInfo(),
                               {EventProperty<C>("OnPaint", TypeInfo_TNotifyEvent, &C::OnPaint)}, {},
                               CreateComponent<TPaintBox>);
  return info;
}

[[maybe_unused]] static const bool extctrlsRegistered =
    (RegisterClass(TPanel::StaticClassInfo()), RegisterClass(TBevel::StaticClassInfo()),
     RegisterClass(TRadioGroup::StaticClassInfo()), RegisterClass(TImage::StaticClassInfo()),
     RegisterClass(TPaintBox::StaticClassInfo()), true);
