// Stored values of every kind, plain and scrambled, as the settings store writes them.
#include <functional>
#include <string>

#include "seeds.h"
#include "settings/setorra_block.h"
#include "settings_value_fixture.h"

namespace {

// Selector byte: registry type (0 text, 1 integer, 2 binary), scrambled (4), setting (8 * n).
std::string Input(int selector, const std::string& data) { return std::string(1, static_cast<char>(selector)) + data; }

std::string Scrambled(TSetorra* setting) {
  return ScrambleBlock(ScrambleMarker() + setting->PlainData(), setting->UniqueName(), 0x5a);
}

}  // namespace

std::vector<fuzz_seeds::Seed> fuzz_seeds::Seeds() {
  TSettingsValueFixture fixture;
  std::vector<Seed> seeds;
  TSetorra* plain = fixture.Setting(0, false);
  TSetorra* scrambled = fixture.Setting(0, true);
  auto add = [&](const std::string& name, const std::function<void(TSetorra*)>& set) {
    set(plain);
    if (plain->Kind() == skString) seeds.push_back({name + "-text", Input(0, plain->Value().Text)});
    else if (plain->Kind() == skInteger)
      seeds.push_back({name + "-dword", Input(1, plain->PlainData().substr(4))});
    else
      seeds.push_back({name + "-binary", Input(2, plain->PlainData())});
    set(scrambled);
    seeds.push_back({name + "-scrambled", Input(2 | 4, Scrambled(scrambled))});
  };
  add("string", [](TSetorra* s) { s->SetAsString("This is the default question"); });
  add("integer", [](TSetorra* s) { s->SetAsInteger(255); });
  add("float", [](TSetorra* s) { s->SetAsFloat(1.5L); });
  add("boolean", [](TSetorra* s) { s->SetAsBoolean(true); });
  add("datetime", [](TSetorra* s) { s->SetAsDateTime(36526.5L); });
  add("variant", [](TSetorra* s) { s->SetAsVariant(TVariant("ab")); });
  add("strings", [](TSetorra* s) {
    TStringList list;
    list.Add("c:\\one.txt");
    list.Add("c:\\two.txt");
    s->SetAsStrings(&list);
  });
  seeds.push_back({"check-text", Input(8, "True")});
  TSetorra* items = fixture.Setting(2, false);
  seeds.push_back({"collection", Input(16 | 2, items->PlainData())});
  seeds.push_back({"collection-scrambled", Input(16 | 2 | 4, Scrambled(fixture.Setting(2, true)))});
  TSetorra* notes = fixture.Setting(3, false);
  seeds.push_back({"hidden", Input(24 | 2, notes->PlainData())});
  seeds.push_back({"hidden-scrambled", Input(24 | 2 | 4, Scrambled(fixture.Setting(3, true)))});
  return seeds;
}
