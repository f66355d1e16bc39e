#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formreader_text.h"
#include "vcl/formtext.h"
#include "vcl/strings.h"
#include "vcl/typinfo.h"

namespace {

enum TReaderTestAlign { ralNone, ralTop, ralClient };
enum TReaderTestStyle { rfsBold, rfsItalic, rfsUnderline };
using TReaderTestStyles = TSet<TReaderTestStyle>;

const TTypeInfo TypeInfo_TReaderTestAlign{"TReaderTestAlign", tkEnumeration, {"ralNone", "ralTop", "ralClient"}};
const TTypeInfo TypeInfo_TReaderTestStyles{"TReaderTestStyles", tkSet, {"rfsBold", "rfsItalic", "rfsUnderline"}};
const TTypeInfo TypeInfo_TReaderTestColor{"TReaderTestColor", tkInteger};

class TReaderTestFont : public TPersistent {
 public:
  VCL_CLASS_INFO
  std::string Name = "MS Sans Serif";
  int Height = 0;
  TReaderTestStyles Style;
};

const TClassInfo& TReaderTestFont::StaticClassInfo() {
  static const TClassInfo info(
      "TReaderTestFont", &TPersistent::StaticClassInfo(),
      {StrProperty<TReaderTestFont>("Name", &TReaderTestFont::Name, &TReaderTestFont::Name),
       OrdProperty<TReaderTestFont>("Height", TypeInfo_Integer, &TReaderTestFont::Height, &TReaderTestFont::Height),
       OrdProperty<TReaderTestFont>("Style", TypeInfo_TReaderTestStyles, &TReaderTestFont::Style,
                                    &TReaderTestFont::Style)});
  return info;
}

// Records what the reader did to it, and when.
class TReaderTestControl : public TComponent, public IChildComponent {
 public:
  VCL_CLASS_INFO
  explicit TReaderTestControl(TComponent* owner) : TComponent(owner) {}
  ~TReaderTestControl() override { delete items_; }

  void SetParentComponent(TComponent* parent) override { ParentComponent = parent; }

  TReaderTestFont* Font() { return &font_; }
  void SetFont(TReaderTestFont* v) { font_.Name = v->Name; }
  TStrings* Items() { return items_; }
  void SetItems(TStrings* v) { items_->Assign(v); }
  TComponent* Partner() const { return partner_; }
  void SetPartner(TComponent* v) { partner_ = v; }
  void SetCaption(const std::string& v) {
    Caption = v;
    loadingWhileSet = ComponentState().Contains(csLoading);
  }
  const std::string& GetCaption() const { return Caption; }

  TComponent* ParentComponent = nullptr;
  std::string Caption;
  int Left = 0;
  int Color = 0;
  char Accel = 0;
  TReaderTestAlign Align = ralNone;
  bool Visible = true;
  long double Ratio = 0;
  TNotifyEvent OnClick;
  std::string Glyph;
  std::vector<std::string> Settings;
  bool loadingWhileSet = false;
  std::string captionAtLoaded;
  std::vector<std::string>* loadOrder = nullptr;

 protected:
  void DefineProperties(TFiler* filer) override {
    filer->DefineBinaryProperty(
        "Glyph",
        [this](TStream* s) {
          Glyph.assign(static_cast<std::size_t>(s->Size()), '\0');
          s->ReadBuffer(Glyph.data(), s->Size());
        },
        nullptr, true);
    filer->DefineProperty(
        "Settings",
        [this](TReader* r) {
          r->ReadListBegin();
          while (!r->EndOfList()) {
            std::string name = r->ReadString();
            Settings.push_back(name + (r->ReadBoolean() ? "+" : "-"));
          }
          r->ReadListEnd();
        },
        nullptr, true);
  }
  void Loaded() override {
    TComponent::Loaded();
    captionAtLoaded = Caption;
    // The last component of the description is complete before anyone's Loaded.
    auto* last = dynamic_cast<TReaderTestControl*>(Owner()->FindComponent("c"));
    if (loadOrder) loadOrder->push_back(Name() + ":" + (last ? last->Caption : "?"));
  }

 private:
  TReaderTestFont font_;
  TStrings* items_ = new TStringList;
  TComponent* partner_ = nullptr;
};

const TClassInfo& TReaderTestControl::StaticClassInfo() {
  using C = TReaderTestControl;
  static const TClassInfo info("TReaderTestControl", &TComponent::StaticClassInfo(),
                               {StrProperty<C>("Caption", &C::GetCaption, &C::SetCaption),
                                OrdProperty<C>("Left", TypeInfo_Integer, &C::Left, &C::Left),
                                OrdProperty<C>("Color", TypeInfo_TReaderTestColor, &C::Color, &C::Color),
                                OrdProperty<C>("Accel", TypeInfo_Char, &C::Accel, &C::Accel),
                                OrdProperty<C>("Align", TypeInfo_TReaderTestAlign, &C::Align, &C::Align),
                                OrdProperty<C>("Visible", TypeInfo_Boolean, &C::Visible, &C::Visible),
                                FloatProperty<C>("Ratio", TypeInfo_Extended, &C::Ratio, &C::Ratio),
                                ObjectProperty<C, TReaderTestFont>("Font", &C::Font, &C::SetFont),
                                ObjectProperty<C, TStrings>("Items", &C::Items, &C::SetItems),
                                ObjectProperty<C, TComponent>("Partner", &C::Partner, &C::SetPartner),
                                EventProperty<C>("OnClick", TypeInfo_TNotifyEvent, &C::OnClick)},
                               {}, &CreateComponent<C>);
  return info;
}

class TReaderTestForm : public TComponent {
 public:
  VCL_CLASS_INFO
  using TComponent::TComponent;
  void btLogoClick(TObject* sender) { clickedBy = sender; }

  TReaderTestControl* btLogo = nullptr;
  TReaderTestControl* pnMain = nullptr;
  TObject* clickedBy = nullptr;
  std::string Caption;
};

const TClassInfo& TReaderTestForm::StaticClassInfo() {
  static const TClassInfo info(
      "TReaderTestForm", &TComponent::StaticClassInfo(),
      {StrProperty<TReaderTestForm>("Caption", &TReaderTestForm::Caption, &TReaderTestForm::Caption)},
      {Handler<TReaderTestForm>("btLogoClick", &TReaderTestForm::btLogoClick)});
  return info;
}

// Classes register once, as a program does at start.
const bool registered = [] {
  RegisterClass(TReaderTestControl::StaticClassInfo());
  RegisterIntegerConsts(TypeInfo_TReaderTestColor,
                        [](const std::string& ident, std::int64_t& value) {
                          if (SameText(ident, "clBtnFace")) value = -2147483633;
                          else if (SameText(ident, "clRed"))
                            value = 0xFF;
                          else
                            return false;
                          return true;
                        },
                        {});
  return true;
}();

const char* const kForm = R"(object fmTest: TReaderTestForm
  Caption = 'Tarnquill'
  object pnMain: TReaderTestControl
    Left = -8
    Color = clBtnFace
    Align = ralClient
    Font.Name = 'Arial'
    Font.Height = -13
    Font.Style = [rfsBold, rfsItalic]
    object btLogo: TReaderTestControl
      Caption = 'It''s'#13#10 +
        'two lines'
      Left = $10
      Color = $00FF8000
      Accel = 'L'
      Visible = False
      Ratio = 1.25
      Items.Strings = (
        'first'
        'second')
      Glyph = {
        00FF 7f}
      Settings = ('Left' True 'Top' False)
      Partner = Later
      OnClick = btLogoClick
    end
  end
  object Later: TReaderTestControl
    Caption = 'last'
  end
end
)";

TEST(FormReader, BuildsNestedComponentsWithEveryKindOfValue) {
  ASSERT_TRUE(registered);
  TReaderTestForm form(nullptr);
  ReadComponentText(kForm, &form, {FormField("btLogo", form.btLogo), FormField("pnMain", form.pnMain)});

  EXPECT_EQ(form.Name(), "fmTest");
  EXPECT_EQ(form.Caption, "Tarnquill");
  ASSERT_EQ(form.ComponentCount(), 3);
  ASSERT_NE(form.pnMain, nullptr);
  ASSERT_NE(form.btLogo, nullptr);
  auto* later = dynamic_cast<TReaderTestControl*>(form.FindComponent("Later"));
  ASSERT_NE(later, nullptr);
  // Everything is owned by the root; parents follow the nesting.
  EXPECT_EQ(form.btLogo->Owner(), &form);
  EXPECT_EQ(form.pnMain->ParentComponent, &form);
  EXPECT_EQ(form.btLogo->ParentComponent, form.pnMain);
  EXPECT_EQ(later->ParentComponent, &form);

  const TReaderTestControl& pn = *form.pnMain;
  EXPECT_EQ(pn.Left, -8);
  EXPECT_EQ(pn.Color, -2147483633);
  EXPECT_EQ(pn.Align, ralClient);
  EXPECT_EQ(form.pnMain->Font()->Name, "Arial");
  EXPECT_EQ(form.pnMain->Font()->Height, -13);
  EXPECT_TRUE(form.pnMain->Font()->Style == (TReaderTestStyles{rfsBold, rfsItalic}));

  const TReaderTestControl& bt = *form.btLogo;
  EXPECT_EQ(bt.Caption, "It's\r\ntwo lines");
  EXPECT_EQ(bt.Left, 16);
  EXPECT_EQ(bt.Color, 0x00FF8000);
  EXPECT_EQ(bt.Accel, 'L');
  EXPECT_FALSE(bt.Visible);
  EXPECT_EQ(bt.Ratio, 1.25L);
  EXPECT_EQ(form.btLogo->Items()->Text(), "first\r\nsecond\r\n");
  EXPECT_EQ(bt.Glyph, std::string("\x00\xFF\x7F", 3));
  EXPECT_EQ(bt.Settings, (std::vector<std::string>{"Left+", "Top-"}));
  EXPECT_EQ(form.btLogo->Partner(), later);
}

TEST(FormReader, BindsEventsToTheRootsHandlers) {
  TReaderTestForm form(nullptr);
  ReadComponentText(kForm, &form, {FormField("btLogo", form.btLogo)});
  ASSERT_TRUE(form.btLogo->OnClick);
  form.btLogo->OnClick(form.btLogo);
  EXPECT_EQ(form.clickedBy, form.btLogo);
}

TEST(FormReader, LoadedRunsAfterAllPropertiesInCreationOrder) {
  std::vector<std::string> order;
  const TClassInfo::TFactory recording = [&order](TComponent* owner) -> TComponent* {
    auto* c = new TReaderTestControl(owner);
    c->loadOrder = &order;
    return c;
  };
  static const TClassInfo recordingInfo("TReaderTestRecording", &TReaderTestControl::StaticClassInfo(), {}, {},
                                        recording);
  RegisterClass(recordingInfo);

  TReaderTestForm form(nullptr);
  ReadComponentText(R"(object f: TReaderTestForm
  object a: TReaderTestRecording
    Caption = 'a'
    object b: TReaderTestRecording
      Caption = 'b'
    end
  end
  object c: TReaderTestRecording
    Caption = 'c'
  end
end)",
                    &form);
  EXPECT_EQ(order, (std::vector<std::string>{"a:c", "b:c", "c:c"}));
  for (const char* name : {"a", "b", "c"}) {
    auto* c = static_cast<TReaderTestControl*>(form.FindComponent(name));
    EXPECT_TRUE(c->loadingWhileSet) << name;
    EXPECT_EQ(c->captionAtLoaded, name);
    EXPECT_FALSE(c->ComponentState().Contains(csLoading)) << name;
    EXPECT_FALSE(c->ComponentState().Contains(csReading)) << name;
  }
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
}

TEST(FormReader, StringListsReplaceTheirLinesAndNotifyOnce) {
  TReaderTestForm form(nullptr);
  auto* existing = new TReaderTestControl(&form);
  existing->SetName("btLogo");
  auto* items = static_cast<TStringList*>(existing->Items());
  items->Add("old");
  int changes = 0;
  items->OnChange = [&](TObject*) { ++changes; };
  const std::string head = "inherited f: TReaderTestForm\n inherited btLogo: TReaderTestControl\n  Items.Strings = ";
  ReadComponentText(head + "('a' 'b')\n end\nend", &form);
  EXPECT_EQ(items->Text(), "a\r\nb\r\n");
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(ReadComponentText(head + "('a' 2)\n end\nend", &form), EReadError);
}

TEST(FormReader, PropertiesAfterNestedObjectsAreASyntaxError) {
  TReaderTestForm form(nullptr);
  EXPECT_THROW(ReadComponentText("object f: TReaderTestForm\n object a: TReaderTestControl\n end\n"
                                 " Caption = 'late'\nend",
                                 &form),
               EParserError);
}

struct TFailureCase {
  const char* body;  // placed on line 3 of a description
  const char* message;
  bool classNotFound;
};

TEST(FormReader, FailsLoudlyNamingWhatAndTheLine) {
  const TFailureCase cases[] = {
      {"object x: TNoSuchClass\n  end", "Class TNoSuchClass not found (line 3)", true},
      {"object x: TReaderTestControl\n  Colour = clRed\n  end",
       "Error reading x.Colour: Property Colour does not exist in TReaderTestControl (line 4)", false},
      {"object x: TReaderTestControl\n  Font.Size = 8\n  end",
       "Property Size does not exist in TReaderTestFont (line 4)", false},
      {"object x: TReaderTestControl\n  Align = alLeft\n  end", "Invalid property value: alLeft (line 4)", false},
      {"object x: TReaderTestControl\n  Color = clNoSuch\n  end", "Invalid property value: clNoSuch (line 4)", false},
      {"object x: TReaderTestControl\n  Font.Style = [rfsBold, fsShadow]\n  end",
       "Invalid property element: fsShadow (line 4)", false},
      {"object x: TReaderTestControl\n  OnClick = NoHandler\n  end",
       "Handler NoHandler not found in TReaderTestForm (line 4)", false},
      {"object x: TReaderTestControl\n  Left = 'text'\n  end", "Error reading x.Left: Invalid property value (line 4)",
       false},
      {"object x: TReaderTestControl\n  Partner = Nobody\n  end",
       "Error reading x.Partner: component Nobody not found (line 4)", false},
      {"object x: TReaderTestControl\n  Caption = 'open\n  end", "Unterminated string on line 4", false},
      {"object x: TReaderTestControl\n  Glyph = {ABC}\n  end", "Invalid binary value on line 4", false},
  };
  for (const TFailureCase& c : cases) {
    TReaderTestForm form(nullptr);
    const std::string text = std::string("object f: TReaderTestForm\n  Caption = 'x'\n  ") + c.body + "\nend\n";
    try {
      ReadComponentText(text, &form);
      ADD_FAILURE() << "no error for " << c.body;
    } catch (const EClassNotFound& e) {
      EXPECT_TRUE(c.classNotFound) << e.Message;
      EXPECT_NE(e.Message.find(c.message), std::string::npos) << e.Message;
    } catch (const Exception& e) {
      EXPECT_FALSE(c.classNotFound) << e.Message;
      EXPECT_NE(e.Message.find(c.message), std::string::npos) << e.Message;
    }
  }
}

TEST(FormReader, FieldsMustFindTheirComponent) {
  TReaderTestForm form(nullptr);
  TReaderTestControl* missing = nullptr;
  try {
    ReadComponentText(kForm, &form, {FormField("btMissing", missing)});
    ADD_FAILURE();
  } catch (const EReadError& e) {
    EXPECT_NE(e.Message.find("Field btMissing"), std::string::npos) << e.Message;
  }
  TReaderTestForm other(nullptr);
  TReaderTestForm* wrongType = nullptr;
  EXPECT_THROW(ReadComponentText(kForm, &other, {FormField("btLogo", wrongType)}), EReadError);
}

TEST(FormReader, InheritedObjectsReuseTheAncestorsComponent) {
  TReaderTestForm form(nullptr);
  auto* existing = new TReaderTestControl(&form);
  existing->SetName("btLogo");
  ReadComponentText("inherited f: TReaderTestForm\n inherited btLogo: TReaderTestControl\n  Left = 7\n end\nend",
                    &form);
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(existing->Left, 7);
  EXPECT_EQ(existing->ParentComponent, &form);
}

struct TValueCase {
  const char* text;
  TValueType type;
  std::int64_t integer;
  const char* string;
};

TEST(FormText, ValuesBecomeTheirBinaryForm) {
  const TValueCase cases[] = {
      {"5", vaInt8, 5, nullptr},
      {"-128", vaInt8, -128, nullptr},
      {"300", vaInt16, 300, nullptr},
      {"-40000", vaInt32, -40000, nullptr},
      {"$FF", vaInt16, 255, nullptr},
      {"$FF000000", vaInt32, -16777216, nullptr},
      {"5000000000", vaInt64, 5000000000, nullptr},
      {"'a''b'", vaString, 0, "a'b"},
      {"#65#66'c'", vaString, 0, "ABc"},
      {"'x' + #$41", vaString, 0, "xA"},
      {"''", vaString, 0, ""},
      {"crHandPoint", vaIdent, 0, "crHandPoint"},
      {"Form1.Edit1", vaIdent, 0, "Form1.Edit1"},
  };
  for (const TValueCase& c : cases) {
    const TFormBinary binary = ObjectTextToBinary(std::string("object a: T\n V = ") + c.text + "\nend");
    TMemoryStream stream;
    stream.WriteBuffer(binary.Data.data(), static_cast<std::int64_t>(binary.Data.size()));
    // Signature, class "T", name "a", property name "V".
    stream.SetPosition(4 + 2 + 2 + 2);
    TReader reader(&stream);
    ASSERT_EQ(reader.NextValue(), c.type) << c.text;
    if (c.string) EXPECT_EQ(c.type == vaIdent ? reader.ReadIdent() : reader.ReadString(), c.string) << c.text;
    else
      EXPECT_EQ(reader.ReadInt64(), c.integer) << c.text;
    EXPECT_EQ(reader.ReadValue(), vaNull) << "end of properties after " << c.text;
  }
}

TEST(FormText, LongStringsAndCollections) {
  const std::string longText(300, 'q');
  const TFormBinary binary = ObjectTextToBinary("object a: T\n V = '" + longText +
                                                "'\n C = <\n  item\n   W = 1\n  end\n  item [2]\n  end>\nend");
  TMemoryStream stream;
  stream.WriteBuffer(binary.Data.data(), static_cast<std::int64_t>(binary.Data.size()));
  stream.SetPosition(10);
  TReader reader(&stream);
  ASSERT_EQ(reader.NextValue(), vaLString);
  EXPECT_EQ(reader.ReadString(), longText);
  stream.Seek(2, soFromCurrent);  // "C"
  ASSERT_EQ(reader.ReadValue(), vaCollection);
  reader.ReadListBegin();
  stream.Seek(2, soFromCurrent);  // "W"
  EXPECT_EQ(reader.ReadInteger(), 1);
  reader.ReadListEnd();
  EXPECT_EQ(reader.ReadInteger(), 2);  // the second item's index
  reader.ReadListBegin();
  reader.ReadListEnd();
  reader.ReadListEnd();
}

TEST(FormReaderBinary, DamagedStreamsRaiseReadErrors) {
  const std::string cases[] = {
      std::string("TPF1\x01T\x01"
                  "a\x00\x00",
                  11),
      std::string("TPF0\x01T\x01"
                  "a",
                  8),  // ends inside the object
      std::string("TPF0\x01T\x01"
                  "a\x01V\x0C\xFF\xFF\xFF\x7F",
                  16),  // a string longer than the stream
      std::string("TPF0\x01T\x01"
                  "a\x01V\x0A\x10\x00\x00\x00\x01",
                  15),  // short binary data
  };
  for (const std::string& data : cases) {
    TReaderTestForm form(nullptr);
    TMemoryStream stream;
    stream.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
    stream.SetPosition(0);
    TReader reader(&stream);
    EXPECT_THROW(reader.ReadRootComponent(&form), EReadError) << data.size();
  }
}

}  // namespace
