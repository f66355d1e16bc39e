#include <gtest/gtest.h>

#include "vcl/components.h"
#include "vcl/typinfo.h"

enum TAlign { alNone, alTop, alBottom, alClient };
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

const TTypeInfo TypeInfo_TAlign{"TAlign", tkEnumeration, {"alNone", "alTop", "alBottom", "alClient"}};
const TTypeInfo TypeInfo_TFontStyles{"TFontStyles", tkSet, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
const TTypeInfo TypeInfo_TColor{"TColor", tkInteger};

class TTestFont : public TPersistent {
 public:
  VCL_CLASS_INFO
  int Color = 0;
  TFontStyles Style;
  std::string FaceName = "Arial";
  void SetFaceName(const std::string& v) { FaceName = v; }
};

const TClassInfo& TTestFont::StaticClassInfo() {
  static const TClassInfo info(
      "TTestFont", &TPersistent::StaticClassInfo(),
      {OrdProperty<TTestFont>("Color", TypeInfo_TColor, &TTestFont::Color, &TTestFont::Color, 0),
       OrdProperty<TTestFont>("Style", TypeInfo_TFontStyles, &TTestFont::Style, &TTestFont::Style, 0),
       StrProperty<TTestFont>("Name", &TTestFont::FaceName, &TTestFont::SetFaceName)});
  return info;
}

class TTestLabel : public TComponent {
 public:
  VCL_CLASS_INFO
  explicit TTestLabel(TComponent* owner) : TComponent(owner) {}

  TAlign Align() const { return align_; }
  void SetAlign(TAlign v) { align_ = v; }
  TTestFont* Font() { return &font_; }
  void SetFont(TTestFont* v) { font_.Color = v->Color; }
  std::string Caption;
  bool Checked = false;
  long double Ratio = 1.5L;
  TNotifyEvent OnClick;

 private:
  TAlign align_ = alNone;
  TTestFont font_;
};

const TClassInfo& TTestLabel::StaticClassInfo() {
  static const TClassInfo info(
      "TTestLabel", &TComponent::StaticClassInfo(),
      {OrdProperty<TTestLabel>("Align", TypeInfo_TAlign, &TTestLabel::Align, &TTestLabel::SetAlign, alNone),
       StrProperty<TTestLabel>("Caption", &TTestLabel::Caption, &TTestLabel::Caption),
       OrdProperty<TTestLabel>("Checked", TypeInfo_Boolean, &TTestLabel::Checked, &TTestLabel::Checked, 0),
       FloatProperty<TTestLabel>("Ratio", TypeInfo_Extended, &TTestLabel::Ratio, nullptr),
       ObjectProperty<TTestLabel, TTestFont>("Font", &TTestLabel::Font, &TTestLabel::SetFont),
       EventProperty<TTestLabel>("OnClick", TypeInfo_TNotifyEvent, &TTestLabel::OnClick)},
      {}, &CreateComponent<TTestLabel>);
  return info;
}

class TTestForm : public TComponent {
 public:
  VCL_CLASS_INFO
  using TComponent::TComponent;
  void btLogoClick(TObject* sender) { clickedBy = sender; }
  void Resized(TObject*, int) {}
  TObject* clickedBy = nullptr;
};

const TClassInfo& TTestForm::StaticClassInfo() {
  static const TClassInfo info(
      "TTestForm", &TComponent::StaticClassInfo(), {},
      {Handler<TTestForm>("btLogoClick", &TTestForm::btLogoClick), Handler<TTestForm>("Resized", &TTestForm::Resized)});
  return info;
}

// A chain link whose published "Next" is of its own class.
class TTestLink : public TPersistent {
 public:
  VCL_CLASS_INFO
  TTestLink* Next() const { return next_; }
  void SetNext(TTestLink* v) { next_ = v; }
  int Value = 0;

 private:
  TTestLink* next_ = nullptr;
};

const TClassInfo& TTestLink::StaticClassInfo() {
  static const TClassInfo info(
      "TTestLink", &TPersistent::StaticClassInfo(),
      {ObjectProperty<TTestLink, TTestLink>("Next", &TTestLink::Next, &TTestLink::SetNext),
       OrdProperty<TTestLink>("Value", TypeInfo_Integer, &TTestLink::Value, &TTestLink::Value, 0)});
  return info;
}

TEST(TypInfo, ListsPublishedPropertiesAncestorsFirst) {
  TTestLabel label(nullptr);
  std::vector<std::string> names;
  for (const TPropInfo* p : GetPropList(label)) names.push_back(p->Name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"Name", "Tag", "Align", "Caption", "Checked", "Ratio", "Font", "OnClick"}));
  EXPECT_EQ(GetPropInfo(label, "caption"), GetPropInfo(label, "Caption"));
  EXPECT_EQ(GetPropInfo(label, "Missing"), nullptr);
  EXPECT_EQ(GetPropInfo(label, "Tag")->Default, 0);
  EXPECT_TRUE(label.ClassInfo().InheritsFrom(TComponent::StaticClassInfo()));
}

TEST(TypInfo, ReadsAndWritesByKind) {
  TTestLabel label(nullptr);
  SetStrProp(label, *GetPropInfo(label, "Name"), "laJokeFile");
  EXPECT_EQ(label.Name(), "laJokeFile");
  SetOrdProp(label, *GetPropInfo(label, "Tag"), 46371);
  EXPECT_EQ(label.Tag(), 46371);
  SetStrProp(label, *GetPropInfo(label, "Caption"), "c:\\jokes.txt");
  EXPECT_EQ(GetStrProp(label, *GetPropInfo(label, "Caption")), "c:\\jokes.txt");
  EXPECT_EQ(GetFloatProp(label, *GetPropInfo(label, "Ratio")), 1.5L);
  EXPECT_EQ(GetObjectProp(label, *GetPropInfo(label, "Font")), label.Font());

  EXPECT_THROW(SetFloatProp(label, *GetPropInfo(label, "Ratio"), 2), EPropertyError);
  EXPECT_THROW(SetStrProp(label, *GetPropInfo(label, "Tag"), "1"), EPropertyError);
  EXPECT_THROW(GetOrdProp(label, *GetPropInfo(label, "Caption")), EPropertyError);
  TComponent notAFont(nullptr);
  EXPECT_THROW(SetObjectProp(label, *GetPropInfo(label, "Font"), &notAFont), EPropertyError);
}

TEST(TypInfo, EnumerationsAndSetsByName) {
  TTestLabel label(nullptr);
  const TPropInfo& align = *GetPropInfo(label, "Align");
  SetEnumProp(label, align, "ALCLIENT");
  EXPECT_EQ(label.Align(), alClient);
  EXPECT_EQ(GetEnumProp(label, align), "alClient");
  EXPECT_THROW(SetEnumProp(label, align, "alLeft"), EPropertyError);
  EXPECT_EQ(GetEnumValue(TypeInfo_TAlign, "alLeft"), -1);

  const TPropInfo& checked = *GetPropInfo(label, "Checked");
  SetEnumProp(label, checked, "True");
  EXPECT_TRUE(label.Checked);
  EXPECT_EQ(GetEnumProp(label, checked), "True");

  const TPropPath style = FindPropPath(label, "Font.Style");
  ASSERT_EQ(style.Instance, label.Font());
  SetSetProp(*style.Instance, *style.Prop, "fsItalic, FSBOLD");
  EXPECT_EQ(label.Font()->Style, (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(GetSetProp(*style.Instance, *style.Prop), "fsBold,fsItalic");
  SetSetProp(*style.Instance, *style.Prop, "[]");
  EXPECT_TRUE(label.Font()->Style.Empty());
  EXPECT_THROW(SetSetProp(*style.Instance, *style.Prop, "fsBold,fsWide"), EPropertyError);
}

TEST(TypInfo, DottedPathsGoThroughObjectProperties) {
  TTestLabel label(nullptr);
  const TPropPath color = FindPropPath(label, "font.color");
  ASSERT_NE(color.Prop, nullptr);
  SetOrdProp(*color.Instance, *color.Prop, 255);
  EXPECT_EQ(label.Font()->Color, 255);
  const TPropPath name = FindPropPath(label, "Font.Name");
  EXPECT_EQ(GetStrProp(*name.Instance, *name.Prop), "Arial");
  for (const char* missing : {"Font.Size", "Caption.Length", "Nothing", "Font.", ""})
    EXPECT_EQ(FindPropPath(label, missing).Prop, nullptr) << missing;
}

TEST(TypInfo, AnObjectPropertyMayBeOfItsOwnClass) {
  TTestLink first, second;
  const TPropInfo* next = GetPropInfo(first, "Next");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->Kind(), tkClass);
  EXPECT_EQ(next->PropType().ClassType, &TTestLink::StaticClassInfo());
  SetObjectProp(first, *next, &second);
  EXPECT_EQ(first.Next(), &second);
  const TPropPath value = FindPropPath(first, "Next.Value");
  ASSERT_EQ(value.Instance, &second);
  SetOrdProp(*value.Instance, *value.Prop, 7);
  EXPECT_EQ(second.Value, 7);
  TTestFont notALink;
  EXPECT_THROW(SetObjectProp(first, *next, &notALink), EPropertyError);
}

TEST(TypInfo, EventsBindToPublishedHandlersByName) {
  TTestForm form(nullptr);
  TTestLabel* button = new TTestLabel(&form);
  const TPropInfo& onClick = *GetPropInfo(*button, "OnClick");
  SetMethodProp(*button, onClick, form, "BTLOGOCLICK");
  ASSERT_TRUE(button->OnClick);
  button->OnClick(button);
  EXPECT_EQ(form.clickedBy, button);
  EXPECT_THROW(SetMethodProp(*button, onClick, form, "NoSuchHandler"), EPropertyError);
  // A handler of another signature does not fit the event.
  EXPECT_THROW(SetMethodProp(*button, onClick, form, "Resized"), EPropertyError);
}

TEST(TypInfo, RegisteredClassesAreCreatedByName) {
  RegisterClass(TTestLabel::StaticClassInfo());
  EXPECT_EQ(GetClass("TTESTLABEL"), &TTestLabel::StaticClassInfo());
  EXPECT_EQ(GetClass("TUnknown"), nullptr);
  EXPECT_THROW(FindClass("TUnknown"), EClassNotFound);
  TComponent owner(nullptr);
  TComponent* made = FindClass("TTestLabel").Create()(&owner);
  EXPECT_EQ(made->ClassName(), "TTestLabel");
  EXPECT_EQ(owner.Components(0), made);
}

TEST(TypInfo, IntegerConstantsByType) {
  EXPECT_EQ(FindIdentToInt(TypeInfo_TColor), nullptr);
  RegisterIntegerConsts(
      TypeInfo_TColor,
      [](const std::string& ident, std::int64_t& value) {
        if (!SameText(ident, "clRed")) return false;
        value = 255;
        return true;
      },
      [](std::int64_t value, std::string& ident) {
        if (value != 255) return false;
        ident = "clRed";
        return true;
      });
  std::int64_t value = 0;
  ASSERT_NE(FindIdentToInt(TypeInfo_TColor), nullptr);
  EXPECT_TRUE((*FindIdentToInt(TypeInfo_TColor))("CLRED", value));
  EXPECT_EQ(value, 255);
  std::string ident;
  EXPECT_TRUE((*FindIntToIdent(TypeInfo_TColor))(255, ident));
  EXPECT_EQ(ident, "clRed");
  EXPECT_EQ(FindIntToIdent(TypeInfo_Integer), nullptr);
}
