// The published properties of scrolling controls and their scroll bars.
#include "vcl/forms_scrolling.h"

const TClassInfo& TControlScrollBar::StaticClassInfo() {
  using C = TControlScrollBar;
  static const TClassInfo info("TControlScrollBar", &TPersistent::StaticClassInfo(),
                               {OrdProperty<C>("Increment", TypeInfo_Integer, &C::Increment, &C::SetIncrement, 8),
                                OrdProperty<C>("Position", TypeInfo_Integer, &C::Position, &C::SetPosition, 0),
                                OrdProperty<C>("Range", TypeInfo_Integer, &C::Range, &C::SetRange, 0),
                                OrdProperty<C>("Tracking", TypeInfo_Boolean, &C::Tracking, &C::SetTracking, false),
                                OrdProperty<C>("Visible", TypeInfo_Boolean, &C::Visible, &C::SetVisible, true)});
  return info;
}

const TClassInfo& TScrollingWinControl::StaticClassInfo() {
  using C = TScrollingWinControl;
  static const TClassInfo info(
      "TScrollingWinControl", &TWinControl::StaticClassInfo(),
      {ObjectProperty<C, TControlScrollBar>("HorzScrollBar", &C::HorzScrollBar, nullptr),
       ObjectProperty<C, TControlScrollBar>("VertScrollBar", &C::VertScrollBar, nullptr),
       OrdProperty<C>("AutoScroll", TypeInfo_Boolean, &C::AutoScroll, &C::SetAutoScroll, true)});
  return info;
}

const TClassInfo& TScrollBox::StaticClassInfo() {
  using C = TScrollBox;
  static const TClassInfo info(
      "TScrollBox", &TScrollingWinControl::StaticClassInfo(),
      {OrdProperty<C>("BorderStyle", TypeInfo_TFormBorderStyle, &C::BorderStyle, &C::SetBorderStyle, bsSingle)}, {},
      CreateComponent<TScrollBox>);
  return info;
}

[[maybe_unused]] static const bool scrollBoxClassRegistered = (RegisterClass(TScrollBox::StaticClassInfo()), true);
