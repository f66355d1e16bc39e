#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "settings/setorra.h"
#include "settings/setorra_block.h"
#include "settings_fixture.h"

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

// A form "fmLogo" with a few bound controls and settings made on it in code.
class SetorraTest : public SettingsTest {
 protected:
  SetorraTest() {
    form = new TForm(nullptr);
    form->SetName("fmLogo");
    cbTiled = new TCheckBox(form);
    cbTiled->SetName("cbTiled");
    cbTiled->SetParent(form);
    cbColor = new TTestColorButton(form);
    cbColor->SetName("cbColor");
    cbColor->SetParent(form);
    cbColor->SetValue(clBlue);
    laName = new TLabel(form);
    laName->SetName("laName");
    laName->SetParent(form);
    keeper = new TTestKeeper(form);
    keeper->SetName("keeper");
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
  }
  ~SetorraTest() override { delete form; }

  TSetorra* Bound(const std::string& path, bool encrypted = false) {
    auto* s = new TSetorra(form);
    s->SetBoundProperty(path);
    s->SetEncrypted(encrypted);
    s->CaptureDefault();
    return s;
  }
  TSetorra* Free(const std::string& name, bool encrypted = false) {
    auto* s = new TSetorra(form);
    s->SetName(name);
    s->SetEncrypted(encrypted);
    return s;
  }
  std::string Key(const std::string& sub = "") const {
    return std::string(kComposerKey) + (sub.empty() ? "" : "\\" + sub);
  }
  void Write(TSetorra* s) { s->WriteToRegistry(&registry, kComposerKey); }
  void Read(TSetorra* s) { s->ReadFromRegistry(&registry, kComposerKey); }
  void WriteRaw(const std::string& name, const std::string& data) {
    ASSERT_TRUE(registry.OpenKey("\\" + Key(), true));
    registry.WriteBinaryData(name, data.data(), static_cast<int>(data.size()));
    registry.CloseKey();
  }

  TForm* form;
  TCheckBox* cbTiled;
  TTestColorButton* cbColor;
  TLabel* laName;
  TTestKeeper* keeper;
  TPRegistry registry;
};

TEST_F(SetorraTest, EveryKindIsStoredInItsRegistryFormat) {
  // Bound settings are made before their control changes, so that the design value is the old one.
  TSetorra* tiled = Bound("cbTiled.Checked");
  cbTiled->SetCheckedValue(true);
  Write(tiled);
  EXPECT_EQ(KeyLines(Key("cbTiled")), std::vector<std::string>{"\"Checked\"=\"True\""});

  TSetorra* color = Bound("cbColor.Value");
  cbColor->SetValue(clRed);
  Write(color);
  EXPECT_EQ(KeyLines(Key("cbColor")), std::vector<std::string>{"\"Value\"=dword:000000ff"});

  TSetorra* style = Bound("laName.Font.Style");
  laName->Font()->SetStyle({fsBold, fsItalic});
  Write(style);
  EXPECT_EQ(KeyLines(Key("laName\\Font")), std::vector<std::string>{"\"Style\"=\"fsBold,fsItalic\""});

  TStringList lines;
  lines.Add("a");
  lines.Add("b");
  const std::vector<std::pair<std::function<void(TSetorra*)>, std::string>> freeValues = {
      {[](TSetorra* s) { s->SetAsBoolean(true); }, "hex:04,00,00,00,01"},
      {[](TSetorra* s) { s->SetAsBoolean(false); }, "hex:04,00,00,00,00"},
      {[](TSetorra* s) { s->SetAsFloat(1.5L); }, "hex:03,00,00,00,00,00,00,00,00,00,00,c0,ff,3f"},
      {[](TSetorra* s) { s->SetAsDateTime(EncodeDate(2000, 1, 1)); }, "hex:05,00,00,00,00,00,00,00,00,00,ae,8e,0e,40"},
      {[](TSetorra* s) { s->SetAsVariant(TVariant("ab")); }, "hex:06,00,00,00,02,00,00,00,61,62"},
      {[&](TSetorra* s) { s->SetAsStrings(&lines); }, "hex:07,00,00,00,06,00,00,00,61,0d,0a,62,0d,0a"},
      {[](TSetorra* s) { s->SetAsString("800x600"); }, "\"800x600\""},
      {[](TSetorra* s) { s->SetAsInteger(-20); }, "dword:ffffffec"},
  };
  for (std::size_t i = 0; i < freeValues.size(); ++i) {
    const std::string name = "Free" + std::to_string(i);
    TSetorra* s = Free(name);
    freeValues[i].first(s);
    Write(s);
    const std::vector<std::string> all = KeyLines(Key());
    const std::string expected = "\"" + name + "\"=" + freeValues[i].second;
    EXPECT_NE(std::find(all.begin(), all.end(), expected), all.end()) << expected;
  }
  // A free setting without a value writes none, but its key is there.
  Write(Free("Nothing"));
  EXPECT_EQ(Hive().find("\"Nothing\""), std::string::npos);
}

TEST_F(SetorraTest, EveryKindComesBackPlainAndScrambled) {
  std::string allBytes;
  for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
  TStringList lines;
  lines.SetText("first\r\n\xff\r\nlast");
  for (bool encrypted : {false, true}) {
    SCOPED_TRACE(encrypted ? "scrambled" : "plain");
    const std::vector<std::function<void(TSetorra*)>> setters = {
        [&](TSetorra* s) { s->SetAsString(allBytes.substr(1)); },
        [](TSetorra* s) { s->SetAsInteger(-2147483647 - 1); },
        [](TSetorra* s) { s->SetAsFloat(-1.0L / 3); },
        [](TSetorra* s) { s->SetAsBoolean(true); },
        [](TSetorra* s) { s->SetAsDateTime(EncodeDate(2026, 12, 10) + EncodeTime(21, 5, 0, 0)); },
        [](TSetorra* s) { s->SetAsVariant(TVariant(2.25)); },
        [&](TSetorra* s) { s->SetAsStrings(&lines); },
        [](TSetorra* s) { s->SetAsInteger(255); },
    };
    for (std::size_t i = 0; i < setters.size(); ++i) {
      const std::string name = "Value" + std::to_string(i);
      TSetorra* out = Free(name, encrypted);
      setters[i](out);
      Write(out);
      TSetorra* in = Free(name, encrypted);
      Read(in);
      EXPECT_EQ(in->Kind(), out->Kind()) << name;
      EXPECT_EQ(in->Value().Text, out->Value().Text) << name;
      EXPECT_EQ(in->Value().Integer, out->Value().Integer) << name;
      EXPECT_EQ(in->Value().Float, out->Value().Float) << name;
      EXPECT_EQ(in->Value().Boolean, out->Value().Boolean) << name;
    }

    // Hidden properties and collections through their bound objects.
    keeper->Notes = {"one", "two"};
    keeper->Panels()->Clear();
    static_cast<TTestPanelItem*>(keeper->Panels()->Add())->Text = "panel";
    static_cast<TTestPanelItem*>(keeper->Panels()->Add())->Width = 7;
    TSetorra* notes = Bound("keeper.Notes", encrypted);
    TSetorra* panels = Bound("keeper.Panels", encrypted);
    EXPECT_EQ(notes->Kind(), skHiddenProps);
    EXPECT_EQ(panels->Kind(), skCollection);
    Write(notes);
    Write(panels);
    keeper->Notes.clear();
    keeper->Panels()->Clear();
    Read(notes);
    Read(panels);
    EXPECT_EQ(keeper->Notes, (std::vector<std::string>{"one", "two"}));
    ASSERT_EQ(keeper->Panels()->Count(), 2);
    EXPECT_EQ(static_cast<TTestPanelItem*>(keeper->Panels()->Items(0))->Text, "panel");
    EXPECT_EQ(static_cast<TTestPanelItem*>(keeper->Panels()->Items(1))->Width, 7);
  }
}

TEST_F(SetorraTest, TheScrambledBlockIsMarkerKindAndValue) {
  TSetorra* s = Free("Secret", true);
  s->SetAsInteger(0x01020304);
  Write(s);
  ASSERT_TRUE(registry.OpenKey("\\" + Key(), false));
  std::string block(32, '\0');
  block.resize(static_cast<std::size_t>(registry.ReadBinaryData("Secret", block.data(), 32)));
  registry.CloseKey();
  ASSERT_EQ(block.size(), 18u);  // 14 bytes and 4 for an integer
  const std::optional<std::string> plain = UnscrambleBlock(block, s->UniqueName());
  ASSERT_TRUE(plain);
  EXPECT_EQ(*plain, Bytes({5, 0, 0, 0, 'T', 'R', 'V', 'O', 'K', 2, 0, 0, 0, 4, 3, 2, 1}));
  EXPECT_FALSE(UnscrambleBlock(block, "OtherKey"));
  // Every seed and every byte value comes back.
  const std::string bytes = ScrambleMarker() + Bytes({255, 0, 255, 254, 1, 255});
  for (int seed : {0, 1, 128, 255}) EXPECT_EQ(UnscrambleBlock(ScrambleBlock(bytes, "k", seed), "k"), bytes);
}

TEST_F(SetorraTest, DamagedValuesLeaveTheSettingAsItWas) {
  const std::vector<std::pair<const char*, std::string>> damaged = {
      {"too short for a kind", Bytes({3, 0, 0})},
      {"float one byte short", Bytes({3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xc0, 0xff})},
      {"float one byte long", Bytes({3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xc0, 0xff, 0x3f, 0})},
      {"boolean without its byte", Bytes({4, 0, 0, 0})},
      {"boolean with two bytes", Bytes({4, 0, 0, 0, 1, 1})},
      {"counted text longer than the data", Bytes({6, 0, 0, 0, 5, 0, 0, 0, 'a', 'b'})},
      {"counted text shorter than the data", Bytes({7, 0, 0, 0, 1, 0, 0, 0, 'a', 'b'})},
      {"huge count", Bytes({6, 0, 0, 0, 0xff, 0xff, 0xff, 0xff})},
      {"text kind as bytes", Bytes({1, 0, 0, 0, 1, 0, 0, 0, 'a'})},
      {"unknown kind", Bytes({42, 0, 0, 0, 1})},
      {"collection without a bound collection", Bytes({9, 0, 0, 0, 14, 0})},
      {"hidden property without a bound object", Bytes({8, 0, 0, 0, 1, 0})},
  };
  for (const auto& [what, data] : damaged) {
    SCOPED_TRACE(what);
    WriteRaw("V", data);
    TSetorra* s = Free("V");
    s->SetAsInteger(7);
    Read(s);
    EXPECT_EQ(s->Kind(), skInteger);
    EXPECT_EQ(s->AsInteger(), 7);
  }

  // Bound: the property keeps its value too, also for data its own reader rejects.
  keeper->Panels()->Add();
  TSetorra* panels = Bound("keeper.Panels");
  {
    const std::string data = Bytes({9, 0, 0, 0, 14, 1, 5, 'W', 'i', 'd', 't', 'h', 2});  // cut in the value
    ASSERT_TRUE(registry.OpenKey("\\" + Key("keeper"), true));
    registry.WriteBinaryData("Panels", data.data(), static_cast<int>(data.size()));
    registry.CloseKey();
  }
  Read(panels);
  EXPECT_EQ(keeper->Panels()->Count(), 1);
  TSetorra* tiled = Bound("cbTiled.Checked");
  ASSERT_TRUE(registry.OpenKey("\\" + Key("cbTiled"), true));
  registry.WriteBinaryData("Checked", "\x04\x00\x00", 3);
  registry.CloseKey();
  Read(tiled);
  EXPECT_FALSE(cbTiled->Checked());
}

TEST_F(SetorraTest, ADamagedScrambledValueLeavesTheSettingEmptyAndThePropertyAlone) {
  TSetorra* writer = Bound("cbColor.Value", true);
  cbColor->SetValue(clRed);
  Write(writer);
  ASSERT_TRUE(registry.OpenKey("\\" + Key("cbColor"), false));
  std::string block(64, '\0');
  block.resize(static_cast<std::size_t>(registry.ReadBinaryData("Value", block.data(), 64)));
  registry.CloseKey();
  ASSERT_EQ(block.size(), 18u);
  std::string flipped = block;
  flipped[3] = static_cast<char>(flipped[3] ^ 0x40);
  std::string cut = block.substr(0, 16);
  std::string longer = block + "x";
  for (const std::string& data : {flipped, cut, longer, std::string(), std::string("\x01")}) {
    ASSERT_TRUE(registry.OpenKey("\\" + Key("cbColor"), false));
    registry.WriteBinaryData("Value", data.data(), static_cast<int>(data.size()));
    registry.CloseKey();
    cbColor->SetValue(clGreen);
    TSetorra* reader = Bound("cbColor.Value", true);
    Read(reader);
    EXPECT_EQ(reader->Value().Kind, skNone) << data.size();
    EXPECT_EQ(cbColor->Value(), clGreen);
  }
  // The same block under another setting's key does not unscramble.
  ASSERT_TRUE(registry.OpenKey("\\" + Key(), false));
  registry.WriteBinaryData("Other", block.data(), static_cast<int>(block.size()));
  registry.CloseKey();
  TSetorra* other = Free("Other", true);
  other->SetAsInteger(3);
  Read(other);
  EXPECT_EQ(other->Kind(), skNone);
}

TEST_F(SetorraTest, GettersConvertByKind) {
  TSetorra* s = Free("S");
  auto text = [&](const std::string& t) {
    s->SetAsString(t);
    return s;
  };
  EXPECT_EQ(text("12.9")->AsInteger(), 12);
  EXPECT_EQ(text("-12.9")->AsInteger(), -12);
  EXPECT_EQ(text(" 3.5 ")->AsFloat(), 3.5L);
  EXPECT_EQ(text("abc")->AsInteger(), 0);
  EXPECT_EQ(text("$10")->AsFloat(), 0);
  EXPECT_EQ(text("1e12")->AsInteger(), std::numeric_limits<std::int32_t>::max());
  EXPECT_TRUE(text("True")->AsBoolean());
  EXPECT_FALSE(text("true")->AsBoolean());
  EXPECT_EQ(text("x")->AsVariant().AsText(), "x");
  s->SetAsFloat(-1e12L);
  EXPECT_EQ(s->AsInteger(), std::numeric_limits<std::int32_t>::min());
  EXPECT_TRUE(s->AsBoolean());
  EXPECT_EQ(s->AsString(), "-1000000000000");
  s->SetAsBoolean(true);
  EXPECT_EQ(s->AsString(), "True");
  EXPECT_EQ(s->AsInteger(), 1);
  EXPECT_EQ(s->AsFloat(), 1.0L);
  EXPECT_EQ(s->AsVariant().VarType(), varBoolean);
  s->SetAsInteger(0);
  EXPECT_FALSE(s->AsBoolean());
  EXPECT_EQ(s->AsString(), "0");
  s->SetAsDateTime(EncodeDate(2026, 12, 10));
  EXPECT_EQ(s->AsString(), "12/10/2026");
  EXPECT_EQ(s->AsFloat(), EncodeDate(2026, 12, 10));
  EXPECT_EQ(s->AsVariant().VarType(), varDouble);
  TStringList list;
  list.Add("kept");
  s->GetAsStrings(&list);
  EXPECT_EQ(list.Text(), "kept\r\n12/10/2026\r\n");

  auto message = [](const std::function<void()>& f) {
    try {
      f();
    } catch (const ESetorraException& e) {
      return e.Message;
    }
    return std::string("no exception");
  };
  EXPECT_EQ(message([&] { s->AsBoolean(); }), "TSetorra.AsBoolean cannot convert from TDateTime type");
  EXPECT_EQ(message([&] { s->AsInteger(); }), "TSetorra.AsInteger cannot convert from TDateTime type");
  s->SetAsStrings(&list);
  EXPECT_EQ(message([&] { s->AsBoolean(); }), "TSetorra.AsBoolean cannot convert from TStrings type");
  EXPECT_EQ(message([&] { s->AsInteger(); }), "TSetorra.AsInteger cannot convert from TStrings type");
  EXPECT_EQ(message([&] { s->AsFloat(); }), "TSetorra.AsFloat cannot convert from TStrings type");
  EXPECT_EQ(s->AsString(), "kept\r\n12/10/2026\r\n");
  TStringList replaced;
  replaced.Add("old");
  s->GetAsStrings(&replaced);
  EXPECT_EQ(replaced.Count(), 2);
  EXPECT_EQ(message([&] { s->SetAsVariant(TVariant::Array({TVariant(1)})); }),
            "TSetorra.AsVariant cannot accept variant arrays");

  TSetorra* empty = Free("E");
  EXPECT_EQ(empty->AsString(), "");
  EXPECT_EQ(empty->AsInteger(), 0);
  EXPECT_FALSE(empty->AsBoolean());
  EXPECT_EQ(empty->AsVariant().VarType(), varString);

  TSetorra* panels = Bound("keeper.Panels");
  const std::string getError = "Cannot use GetAs functions with collections or hidden properties";
  const std::string setError = "Cannot use SetAs functions with collections or hidden properties";
  EXPECT_EQ(message([&] { panels->AsString(); }), getError);
  EXPECT_EQ(message([&] { panels->AsInteger(); }), getError);
  EXPECT_EQ(message([&] { panels->AsFloat(); }), getError);
  EXPECT_EQ(message([&] { panels->AsBoolean(); }), getError);
  EXPECT_EQ(message([&] { panels->AsVariant(); }), getError);
  EXPECT_EQ(message([&] { panels->GetAsStrings(&list); }), getError);
  EXPECT_EQ(message([&] { panels->SetAsString("x"); }), setError);
  EXPECT_EQ(message([&] { panels->SetAsInteger(1); }), setError);
  TSetorra* notes = Bound("keeper.Notes");
  EXPECT_EQ(message([&] { notes->AsString(); }), getError);
  EXPECT_EQ(message([&] { notes->SetAsBoolean(true); }), setError);
}

TEST_F(SetorraTest, PathsBindAsTheRulesSay) {
  // A first part naming the form is dropped; an enumeration takes names only.
  TSetorra* border = Bound("fmLogo.BorderStyle");
  EXPECT_EQ(border->AsString(), "bsSizeable");
  border->SetAsString("bsDialog");
  EXPECT_EQ(form->BorderStyle(), bsDialog);
  border->SetAsString("bsNoSuchStyle");
  EXPECT_EQ(form->BorderStyle(), bsDialog);
  border->SetAsInteger(0);
  EXPECT_EQ(form->BorderStyle(), bsDialog);

  // Set members in any case and order; unknown pieces are ignored.
  TSetorra* style = Bound("laName.Font.Style");
  style->SetAsString("FSITALIC,fsNothing,fsbold");
  EXPECT_EQ(laName->Font()->Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(style->AsString(), "fsBold,fsItalic");

  // Integers take numbers only.
  TSetorra* color = Bound("cbColor.Value");
  color->SetAsString("no number");
  EXPECT_EQ(cbColor->Value(), clBlue);
  color->SetAsString(" 255 ");
  EXPECT_EQ(cbColor->Value(), clRed);
  color->SetAsFloat(12.75L);
  EXPECT_EQ(cbColor->Value(), 12);
  color->SetAsBoolean(true);
  EXPECT_EQ(cbColor->Value(), 12);

  // Components by name; none held is an empty name.
  TSetorra* partner = Bound("keeper.Partner");
  EXPECT_EQ(partner->Kind(), skString);
  EXPECT_EQ(partner->AsString(), "");
  partner->SetAsString("laName");
  EXPECT_EQ(keeper->Partner, laName);
  partner->SetAsString("nobody");
  EXPECT_EQ(keeper->Partner, laName);

  // Nothing named, or an unassigned object on the way: kind 0, nothing written, no crash.
  for (const char* path :
       {"nothing.Value", "keeper.Missing.Name", "keeper", "cbColor.NoSuchProperty", "cbColor.Value.X"}) {
    TSetorra* none = Bound(path);
    EXPECT_EQ(none->Kind(), skNone) << path;
    EXPECT_EQ(none->AsString(), "") << path;
    none->SetAsString("x");
    EXPECT_FALSE(none->IsModified()) << path;
  }
  EXPECT_EQ(Bound("keeper.Font.Name")->AsString(), keeper->Font()->Name());
}

TEST_F(SetorraTest, LocationsAndUniqueNames) {
  TSetorra* bound = Bound("laName.Font.Style");
  EXPECT_EQ(bound->GetRegistryLocation("K"), (std::pair<std::string, std::string>{"K\\laName\\Font", "Style"}));
  EXPECT_EQ(bound->UniqueName(), "laName_Font_Style");
  TSetorra* named = Free("Logo Check!");
  EXPECT_EQ(named->GetRegistryLocation("K"), (std::pair<std::string, std::string>{"K", "Logo Check!"}));
  EXPECT_EQ(named->UniqueName(), "Logo_Check_");
}

TEST_F(SetorraTest, ADesignValueIsDeletedWithItsEmptiedKey) {
  TSetorra* color = Bound("cbColor.Value");
  EXPECT_FALSE(color->IsModified());
  cbColor->SetValue(clRed);
  EXPECT_TRUE(color->IsModified());
  Write(color);
  ASSERT_TRUE(KeyExists(Key("cbColor")));
  cbColor->SetValue(clBlue);
  Write(color);
  EXPECT_FALSE(KeyExists(Key("cbColor")));
  EXPECT_TRUE(KeyExists(Key()));

  // A key that still holds another value or a sub-key stays.
  cbColor->SetValue(clRed);
  Write(color);
  ASSERT_TRUE(registry.OpenKey("\\" + Key("cbColor\\Extra"), true));
  registry.WriteInteger("Kept", 1);
  registry.CloseKey();
  cbColor->SetValue(clBlue);
  Write(color);
  EXPECT_TRUE(KeyExists(Key("cbColor")));
  EXPECT_EQ(KeyLines(Key("cbColor")), std::vector<std::string>{});
  EXPECT_EQ(KeyLines(Key("cbColor\\Extra")), std::vector<std::string>{"\"Kept\"=dword:00000001"});
}

TEST_F(SetorraTest, SettingsWithoutNameOrPathOrFollowingTheApplicationAreLeftAlone) {
  // The form key's default value would be read into a setting with neither name nor path.
  ASSERT_TRUE(registry.OpenKey("\\" + Key(), true));
  registry.WriteString("", "default");
  registry.CloseKey();
  auto* anonymous = new TSetorra(form);
  anonymous->SetAsInteger(5);
  Read(anonymous);
  EXPECT_EQ(anonymous->AsInteger(), 5);
  Write(anonymous);
  EXPECT_EQ(KeyLines(Key()), std::vector<std::string>{"@=\"default\""});

  TSetorra* related = Free("Shared");
  related->SetRelAppSetting("Shared");
  related->SetAsInteger(9);
  Write(related);
  EXPECT_EQ(KeyLines(Key()), std::vector<std::string>{"@=\"default\""});
  WriteRaw("Shared", Bytes({4, 0, 0, 0, 1}));
  Read(related);
  EXPECT_EQ(related->Kind(), skInteger);
}

TEST(Extended, TheTenBytesAreWrittenOut) {
  const std::vector<std::pair<long double, std::vector<int>>> table = {
      {1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xff, 0x3f}},
      {-2.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xc0}},
      {0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {36526.0L, {0, 0, 0, 0, 0, 0, 0xae, 0x8e, 0x0e, 0x40}},
      {std::numeric_limits<long double>::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xff, 0x7f}},
  };
  for (const auto& [value, bytes] : table) {
    std::uint8_t out[10];
    ExtendedToBytes(value, out);
    EXPECT_EQ(std::vector<int>(out, out + 10), bytes) << static_cast<double>(value);
    std::uint8_t in[10];
    for (int i = 0; i < 10; ++i) in[i] = static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(i)]);
    EXPECT_EQ(BytesToExtended(in), value);
  }
  for (long double v : {std::numeric_limits<long double>::max(), std::numeric_limits<long double>::min(),
                        std::numeric_limits<long double>::denorm_min(), -1.0L / 3, 1e-4000L}) {
    std::uint8_t b[10];
    ExtendedToBytes(v, b);
    EXPECT_EQ(BytesToExtended(b), v);
  }
  std::uint8_t nan[10];
  ExtendedToBytes(std::numeric_limits<long double>::quiet_NaN(), nan);
  EXPECT_TRUE(std::isnan(BytesToExtended(nan)));
}

}  // namespace
