// The published properties of the transparent controls.
#include "graphics/transparent_controls.h"

const TClassInfo& TPGLabel::StaticClassInfo() {
  static const TClassInfo info(
      "TPGLabel", &TLabel::StaticClassInfo(),
      {OrdProperty<TPGLabel>("Transparent", TypeInfo_Boolean, &TPGLabel::Transparent, &TPGLabel::SetTransparent, true)},
      {}, CreateComponent<TPGLabel>);
  return info;
}

const TClassInfo& TPGBevel::StaticClassInfo() {
  static const TClassInfo info("TPGBevel", &TBevel::StaticClassInfo(), {}, {}, CreateComponent<TPGBevel>);
  return info;
}

#define PG_TRANSPARENT_CLASS_INFO(Class, Base)                                                                        \
  const TClassInfo& Class::StaticClassInfo() {                                                                        \
    static const TClassInfo info(                                                                                     \
        #Class, &Base::StaticClassInfo(),                                                                             \
        {OrdProperty<Class>("Transparent", TypeInfo_Boolean, &Class::Transparent, &Class::SetTransparent, true)}, {}, \
        CreateComponent<Class>);                                                                                      \
    return info;                                                                                                      \
  }

PG_TRANSPARENT_CLASS_INFO(TPGRadioButton, TRadioButton)
PG_TRANSPARENT_CLASS_INFO(TPGCheckBox, TCheckBox)
PG_TRANSPARENT_CLASS_INFO(TPGGroupBox, TGroupBox)
PG_TRANSPARENT_CLASS_INFO(TPGPanel, TPanel)

[[maybe_unused]] static const bool transparentControlsRegistered =
    (RegisterClass(TPGLabel::StaticClassInfo()), RegisterClass(TPGBevel::StaticClassInfo()),
     RegisterClass(TPGRadioButton::StaticClassInfo()), RegisterClass(TPGCheckBox::StaticClassInfo()),
     RegisterClass(TPGGroupBox::StaticClassInfo()), RegisterClass(TPGPanel::StaticClassInfo()), true);
